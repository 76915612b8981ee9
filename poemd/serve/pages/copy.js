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
  // Each line as shown; with pinyin, its readings on a line under it.
  offer('copy', function () {
    var t = [];
    document.querySelectorAll('#poem .text').forEach(function (e) {
      var readings = e.querySelectorAll('rt');
      if (!readings.length) { t.push(e.textContent); return; }
      var line = e.cloneNode(true);
      line.querySelectorAll('rt').forEach(function (r) { r.remove(); });
      t.push(line.textContent);
      t.push(Array.prototype.map.call(readings, function (r) { return r.textContent; }).join(' '));
    });
    return t.join('\n') + '\n';
  });
  offer('copy-link', function () { return document.getElementById('share').textContent; });
})();
