(function () {
  if (!navigator.clipboard) return;
  // Shows the button and copies what text() gives when it is pressed.
  function offer(id, text) {
    var b = document.getElementById(id), was = b.textContent;
    b.hidden = false;
    b.addEventListener('click', function () {
      navigator.clipboard.writeText(text()).then(function () {
        b.textContent = '已复制';
        setTimeout(function () { b.textContent = was; }, 1500);
      });
    });
  }
  offer('copy', function () {
    var t = [];
    document.querySelectorAll('#poem .text').forEach(function (e) { t.push(e.textContent); });
    return t.join('\n') + '\n';
  });
  offer('copy-link', function () { return document.getElementById('share').textContent; });
})();
