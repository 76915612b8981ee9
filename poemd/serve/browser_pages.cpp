#include "poemd/serve/browser_pages.h"

#include "poemd/serve/citation.h"
#include "poemd/serve/html_escape.h"
#include "poemd/serve/metre_view.h"
#include "text/gbk_unicode.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

const char* const kStyle = R"CSS(
:root { --ink: #2a2420; --paper: #fbf7ef; --seal: #b22222; --quiet: #6f655c; --line: #e6dccb; }
* { box-sizing: border-box; }
[hidden] { display: none !important; }
body { margin: 0; background: var(--paper); color: var(--ink);
  font-family: "Noto Serif CJK SC", "Source Han Serif SC", "Songti SC", SimSun, serif;
  line-height: 1.6; }
main { max-width: 38rem; margin: 0 auto; padding: 1.25rem 1rem 3rem; }
header { display: flex; justify-content: space-between; align-items: baseline; gap: 1rem; }
.brand { color: var(--seal); text-decoration: none; font-size: 1.35rem; letter-spacing: .15em; }
.tagline { color: var(--quiet); font-size: .9rem; }
h1 { font-size: 1.1rem; font-weight: normal; color: var(--quiet); text-align: center; margin: 1.5rem 0 .5rem; }
.poem { list-style: none; padding: 0; margin: 1rem 0 1.5rem; text-align: center; }
.poem li { display: flex; justify-content: center; align-items: center; gap: .6rem; margin: .35rem 0; }
.poem .text { font-size: clamp(1.7rem, 8vw, 2.6rem); letter-spacing: .18em; white-space: nowrap; }
.poem em { color: var(--seal); font-style: normal; }
.swap { font-size: .85rem; color: var(--quiet); text-decoration: none; border: 1px solid var(--line);
  border-radius: 999px; padding: .25rem .6rem; min-width: 2.75rem; text-align: center; background: #fff; }
.swap:hover, .swap:focus { color: var(--seal); border-color: var(--seal); }
.made-mark { font-size: .8rem; color: var(--seal); }
.actions { display: flex; flex-wrap: wrap; justify-content: center; gap: .6rem; margin: 1rem 0; }
.button, button { font: inherit; font-size: 1rem; min-height: 2.75rem; padding: .5rem 1.1rem;
  border-radius: .5rem; border: 1px solid var(--seal); background: var(--seal); color: #fff;
  text-decoration: none; cursor: pointer; display: inline-flex; align-items: center; }
.button.quiet { background: #fff; color: var(--seal); }
.share { text-align: center; font-size: .85rem; color: var(--quiet); word-break: break-all; }
.share a { color: var(--quiet); }
.sources { margin-top: 2rem; border-top: 1px solid var(--line); padding-top: .75rem;
  color: var(--quiet); font-size: .9rem; }
.sources h2 { font-size: .95rem; font-weight: normal; margin: 0 0 .4rem; }
.sources ol { margin: 0; padding-left: 1.4rem; }
.sources li { margin: .2rem 0; }
.note { font-size: .85rem; color: var(--quiet); }
.rhyme { text-align: center; color: var(--quiet); font-size: .9rem; margin: 0 0 .5rem; }
.metre { margin: .5rem auto 1rem; max-width: 30rem; }
.metre summary { cursor: pointer; text-align: center; color: var(--seal); min-height: 2.75rem;
  display: flex; align-items: center; justify-content: center; }
.tones { margin: .5rem auto; border-collapse: collapse; }
.tones td { text-align: center; padding: .1rem .35rem; }
.tones .char { display: block; font-size: 1.3rem; }
.tones .tone { display: block; font-size: .8rem; color: var(--quiet); line-height: 1.2; }
.rules { list-style: none; padding: 0; margin: .3rem 0; display: flex; flex-wrap: wrap;
  gap: .3rem .9rem; justify-content: center; font-size: .9rem; }
.rules .broken { color: var(--seal); }
form { display: grid; gap: 1rem; margin-top: 1.25rem; }
label.field { display: grid; gap: .35rem; font-size: 1.05rem; }
input[type=text] { font: inherit; font-size: 1.25rem; padding: .6rem .75rem; border: 1px solid #c9bca7;
  border-radius: .5rem; background: #fff; width: 100%; }
input[type=text]:focus { outline: 2px solid var(--seal); border-color: var(--seal); }
fieldset { border: 1px solid var(--line); border-radius: .6rem; padding: .6rem .8rem .8rem; margin: 0; }
legend { padding: 0 .3rem; font-size: 1.05rem; }
.choice { display: flex; gap: .6rem; align-items: flex-start; padding: .45rem .2rem; cursor: pointer; }
.choice input { margin-top: .35rem; width: 1.1rem; height: 1.1rem; accent-color: var(--seal); flex: none; }
.choice b { font-weight: normal; }
.hint { display: block; font-size: .85rem; color: var(--quiet); }
.error { border: 1px solid var(--seal); background: #fff3f0; color: var(--seal); border-radius: .5rem;
  padding: .7rem .9rem; margin: 1rem 0 0; }
@media (min-width: 40rem) { .choices { display: grid; grid-template-columns: 1fr 1fr; column-gap: 1rem; } }
)CSS";

std::string Page(const std::string& title, const std::string& body) {
  return "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
         "<title>" +
         EscapeHtml(title) + "</title><style>" + kStyle + "</style></head>\n<body><main>\n" +
         "<header><a class=\"brand\" href=\"/\">Miravel 藏头诗</a>"
         "<span class=\"tagline\">每个字成一句</span></header>\n" +
         body + "</main></body></html>\n";
}

struct Choice {
  const char* value;
  const char* name;
  const char* hint;
};

std::string Radios(const char* field, const char* legend, const std::string& chosen,
                   std::initializer_list<Choice> choices) {
  std::string html =
      "<fieldset><legend>" + std::string(legend) + "</legend><div class=\"choices\">";
  for (const Choice& c : choices) {
    html += std::string("<label class=\"choice\"><input type=\"radio\" name=\"") + field +
            "\" value=\"" + c.value + "\"" + (chosen == c.value ? " checked" : "") + "><span><b>" +
            c.name + "</b><span class=\"hint\">" + c.hint + "</span></span></label>";
  }
  return html + "</div></fieldset>\n";
}

}  // namespace

std::string BrowserFormPage(const BrowserForm& form, const std::string& error) {
  std::string body;
  if (!error.empty()) {
    body += "<p class=\"error\" role=\"alert\" id=\"error\">" + EscapeHtml(error) + "</p>\n";
  }
  body += "<form method=\"get\" action=\"/poem\">\n";
  body +=
      "<label class=\"field\" for=\"xing\">要藏的字"
      "<input type=\"text\" id=\"xing\" name=\"xing\" value=\"" +
      EscapeHtml(form.xing) +
      "\" placeholder=\"例如：春风花月\" autocomplete=\"off\" required>"
      "<span class=\"hint\">只收汉字，最多 " +
      std::to_string(kMaxHiddenCharacters) + " 个；每个字成一句诗。</span></label>\n";
  body += Radios("gender", "诗体", form.gender,
                 {{"5", "五言", "每句五个字"}, {"7", "七言", "每句七个字"}});
  body += Radios("num", "藏在哪里", form.num,
                 {{"cangtou", "藏头", "每句的第一个字"},
                  {"cangzhong", "藏中", "每句正中的字（五言第三字，七言第四字）"},
                  {"cangwei", "藏尾", "每句的最后一个字，它也定下了韵脚"},
                  {"dizeng", "递增", "第一句藏在第一个字，第二句第二个字，依次后移"},
                  {"dijian", "递减", "第一句藏在最后一个字，第二句倒数第二个字，依次前移"}});
  body += Radios("limit", "押韵", form.limit,
                 {{"100", "双句押韵", "第二、四……句押韵，单句收仄声"},
                  {"200", "首句入韵", "第一、二、四……句都押韵"}});
  body += Radios("book", "韵书", form.book,
                 {{"both", "平水韵与中华新韵", "古音今音都合律；两者不能兼顾时从古音"},
                  {"pingshui", "平水韵", "按古音，唐宋诗人依的韵书；入声字算仄声"},
                  {"xinyun", "中华新韵", "按普通话读音押韵、分平仄"}});
  body +=
      "<label class=\"field\" for=\"theme\">主题（可不填）"
      "<input type=\"text\" id=\"theme\" name=\"theme\" value=\"" +
      EscapeHtml(form.theme) +
      "\" placeholder=\"例如：思乡、友情、春\" autocomplete=\"off\">"
      "<span class=\"hint\">写几个字，诗句会偏向这个意思；不填就由所藏的字定。</span>"
      "</label>\n";
  body += "<p><button type=\"submit\">开始作诗</button></p>\n</form>\n";
  return Page(error.empty() ? "Miravel 藏头诗" : "请修改 · Miravel 藏头诗", body);
}

std::string BrowserPoemPage(const CorpusIndex& index, const BrowserRequest& request,
                            const BrowserPoem& result) {
  const PoemOrder& order = *request.order;
  const Poem& poem = result.poem;
  const std::string address = PoemAddress(request.form, result.seed, poem);

  std::string body =
      "<h1>" + std::string(order.PoemKind()) + " · " + (order.length == 5 ? "五言" : "七言") +
      " · " + (order.first_line_rhymes ? "首句入韵" : "双句押韵") +
      (order.theme.empty() ? "" : " · 主题：" + EscapeHtml(Utf16ToUtf8(order.theme))) +
      "</h1>\n<ol class=\"poem\" id=\"poem\">\n";
  bool any_made = false;
  for (size_t i = 0; i < poem.lines.size(); ++i) {
    const ComposedLine& line = poem.lines[i];
    const int at = order.PositionAt(i);
    const std::u16string_view text(line.text);
    body += "<li><span class=\"text\">" + EscapeHtml(Utf16ToUtf8(text.substr(0, at))) + "<em>" +
            EscapeHtml(Utf16ToUtf8(text.substr(at, 1))) + "</em>" +
            EscapeHtml(Utf16ToUtf8(text.substr(at + 1))) + "</span>";
    if (line.made) {
      body += "<a class=\"made-mark\" href=\"#made\" title=\"改字：见下方说明\">改字</a>";
      any_made = true;
    }
    body += "<a class=\"swap\" href=\"" + EscapeHtml(address) + "&amp;swap=" + std::to_string(i) +
            "\" aria-label=\"换掉第 " + std::to_string(i + 1) + " 句\">换</a></li>\n";
  }
  body += "</ol>\n<p class=\"rhyme\">" +
          EscapeHtml(RhymeTitle(poem.book, poem.rhyme.pingshui, poem.rhyme.xinyun)) + "</p>\n" +
          MetreView(index, order, poem) +
          "<div class=\"actions\">"
          "<button type=\"button\" id=\"copy\" hidden>复制全诗</button>"
          "<a class=\"button quiet\" href=\"" +
          EscapeHtml(FormAddress(request.form)).replace(0, 1, "/poem") +
          "\">再作一首</a>"
          "<a class=\"button quiet\" href=\"" +
          EscapeHtml(FormAddress(request.form)) + "\">修改</a></div>\n";
  body += "<p class=\"share\">这首诗的地址，可分享：<a id=\"share\" href=\"" + EscapeHtml(address) +
          "\">" + EscapeHtml(address) + "</a></p>\n";
  body += "<section class=\"sources\"><h2>出处</h2><ol>\n";
  for (const ComposedLine& line : poem.lines) {
    body += "<li>";
    if (line.has_source) {
      body += EscapeHtml(Utf16ToUtf8(index.Text(order.length, line.corpus_line))) + " —— " +
              EscapeHtml(Citation(index.Source(order.length, line.corpus_line)));
      if (line.made) body += " <span class=\"made-mark\">改字</span>";
    } else {
      body += "（诗库里没有这样长的诗句）";
    }
    body += "</li>\n";
  }
  body += "</ol>\n";
  if (any_made) {
    body +=
        "<p class=\"note\" id=\"made\">改字：诗库里没有在这个位置含有所藏之字的诗句，"
        "于是取了一句声调相合的诗句，把那个位置的字换成了所藏的字；出处是原句的。</p>\n";
  }
  body += "</section>\n";
  // Copying needs a script; without one the button stays hidden.
  body +=
      "<script>(function(){var b=document.getElementById('copy');if(!navigator.clipboard)return;"
      "b.hidden=false;b.addEventListener('click',function(){var t=[];"
      "document.querySelectorAll('#poem .text').forEach(function(e){t.push(e.textContent);});"
      "navigator.clipboard.writeText(t.join('\\n')+'\\n').then(function(){b.textContent='已复制';"
      "setTimeout(function(){b.textContent='复制全诗';},1500);});});})();</script>\n";
  return Page(std::string(order.PoemKind()) + " · " + Utf16ToUtf8(order.Hidden()), body);
}

}  // namespace miravel::poemd
