#include "poemd/serve/browser_pages.h"

#include "poemd/serve/citation.h"
#include "poemd/serve/html_escape.h"
#include "poemd/serve/metre_view.h"
#include "poemd/serve/short_address.h"
#include "text/gbk_unicode.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

const char* const kStyle = R"CSS(
:root { --ink: #2a2420; --paper: #fbf7ef; --seal: #b22222; --quiet: #6f655c; --line: #e6dccb;
  --field: #fff; --field-line: #c9bca7; --on-seal: #fff; --error-paper: #fff3f0; color-scheme: light; }
@media (prefers-color-scheme: dark) {
  :root { --ink: #ece4d8; --paper: #1b1714; --seal: #ff7a6b; --quiet: #b5a99b; --line: #3d342d;
    --field: #26201c; --field-line: #5a4e44; --on-seal: #1b1714; --error-paper: #33201c;
    color-scheme: dark; }
}
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
  border-radius: 999px; padding: .25rem .6rem; min-width: 2.75rem; text-align: center; background: var(--field); }
.swap:hover, .swap:focus { color: var(--seal); border-color: var(--seal); }
.made-mark { font-size: .8rem; color: var(--seal); }
.actions { display: flex; flex-wrap: wrap; justify-content: center; gap: .6rem; margin: 1rem 0; }
.button, button { font: inherit; font-size: 1rem; min-height: 2.75rem; padding: .5rem 1.1rem;
  border-radius: .5rem; border: 1px solid var(--seal); background: var(--seal); color: var(--on-seal);
  text-decoration: none; cursor: pointer; display: inline-flex; align-items: center; }
.button.quiet { background: var(--field); color: var(--seal); }
.share { margin: 1.5rem 0 0; text-align: center; font-size: .9rem; color: var(--quiet); }
.share h2 { font-size: .95rem; font-weight: normal; margin: 0 0 .4rem; }
.link { display: flex; gap: .5rem; align-items: center; justify-content: center; flex-wrap: wrap; }
.link a { color: var(--ink); word-break: break-all; }
.link button, .downloads a { font-size: .9rem; min-height: 2.75rem; }
.downloads { display: flex; flex-wrap: wrap; align-items: center; gap: 0 .8rem; justify-content: center;
  margin: .6rem 0 0; }
.downloads span { flex-basis: auto; }
.downloads a { color: var(--seal); display: inline-flex; align-items: center; }
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
input[type=text] { font: inherit; font-size: 1.25rem; padding: .6rem .75rem; border: 1px solid var(--field-line);
  border-radius: .5rem; background: var(--field); color: var(--ink); width: 100%; }
input[aria-invalid=true] { border-color: var(--seal); }
input[type=text]:focus { outline: 2px solid var(--seal); border-color: var(--seal); }
fieldset { border: 1px solid var(--line); border-radius: .6rem; padding: .6rem .8rem .8rem; margin: 0; }
legend { padding: 0 .3rem; font-size: 1.05rem; }
.choice { display: flex; gap: .6rem; align-items: flex-start; padding: .45rem .2rem; cursor: pointer; }
.choice input { margin-top: .35rem; width: 1.1rem; height: 1.1rem; accent-color: var(--seal); flex: none; }
.choice b { font-weight: normal; }
.hint { display: block; font-size: .85rem; color: var(--quiet); }
.error { border: 1px solid var(--seal); background: var(--error-paper); color: var(--seal); border-radius: .5rem;
  padding: .7rem .9rem; margin: 1rem 0 0; }
@media (min-width: 40rem) { .choices { display: grid; grid-template-columns: 1fr 1fr; column-gap: 1rem; } }
.lost { text-align: center; }
.heading { text-align: center; font-size: 1.5rem; color: var(--ink); margin: 1.25rem 0 .5rem; }
/* On paper: the poem and its sources, nothing to press. */
@media print {
  :root { --ink: #000; --paper: #fff; --seal: #b22222; --quiet: #333; --line: #999; }
  header, .swap, .actions, .share, .metre, .rhyme, script { display: none !important; }
  main { max-width: none; padding: 0; }
  .poem .text { font-size: 22pt; }
  .made-mark { text-decoration: none; }
  .sources { break-inside: avoid; font-size: 10pt; }
}
)CSS";

std::string Page(const std::string& title, const std::string& body, const std::string& head = {}) {
  return "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
         "<meta name=\"color-scheme\" content=\"light dark\">"
         "<title>" +
         EscapeHtml(title) +
         "</title><link rel=\"icon\" href=\"/favicon.ico\" sizes=\"16x16 32x32\">" + head +
         "<style>" + kStyle + "</style></head>\n<body><main>\n" +
         "<header><a class=\"brand\" href=\"/\">Miravel 藏头诗</a>"
         "<span class=\"tagline\">每个字成一句</span></header>\n" +
         body + "</main></body></html>\n";
}

std::string Meta(const char* attribute, const char* name, const std::string& content) {
  return std::string("<meta ") + attribute + "=\"" + name + "\" content=\"" + EscapeHtml(content) +
         "\">";
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

std::string BrowserFormPage(const BrowserForm& form, const std::string& error, FormField invalid) {
  std::string body = "<h1 class=\"heading\">作一首藏头诗</h1>\n";
  if (!error.empty()) {
    body += "<p class=\"error\" role=\"alert\" id=\"error\">" + EscapeHtml(error) + "</p>\n";
  }
  // The field the message is about says so, and names the message.
  const auto marked = [&](FormField field, const char* hint) {
    return !error.empty() && invalid == field
               ? std::string(" aria-invalid=\"true\" aria-describedby=\"error ") + hint + "\""
               : std::string(" aria-describedby=\"") + hint + "\"";
  };
  // No `required`: an empty box is refused by the service, in Chinese, as
  // every other mistake is, not by the browser's own bubble.
  body += "<form method=\"get\" action=\"/poem\" novalidate>\n";
  body +=
      "<label class=\"field\" for=\"xing\">要藏的字"
      "<input type=\"text\" id=\"xing\" name=\"xing\" value=\"" +
      EscapeHtml(form.xing) + "\" placeholder=\"例如：春风花月\" autocomplete=\"off\"" +
      marked(FormField::kHidden, "xing-hint") +
      "><span class=\"hint\" id=\"xing-hint\">只收汉字，最多 " +
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
      EscapeHtml(form.theme) + "\" placeholder=\"例如：思乡、友情、春\" autocomplete=\"off\"" +
      marked(FormField::kTheme, "theme-hint") +
      "><span class=\"hint\" "
      "id=\"theme-hint\">写几个字，诗句会偏向这个意思；不填就由所藏的字定。</span>"
      "</label>\n";
  body += "<p><button type=\"submit\">开始作诗</button></p>\n</form>\n";
  return Page(error.empty() ? "Miravel 藏头诗" : "请修改 · Miravel 藏头诗", body);
}

std::string BrowserPoemPage(const CorpusIndex& index, const BrowserRequest& request,
                            const BrowserPoem& result, const PoemLinks& links) {
  const PoemOrder& order = *request.order;
  const Poem& poem = result.poem;
  const std::string title = std::string(order.PoemKind()) + " · " + Utf16ToUtf8(order.Hidden());

  std::string body =
      "<h1>" + std::string(order.PoemKind()) + " · " + (order.length == 5 ? "五言" : "七言") +
      " · " + (order.first_line_rhymes ? "首句入韵" : "双句押韵") +
      (order.theme.empty() ? "" : " · 主题：" + EscapeHtml(Utf16ToUtf8(order.theme))) +
      "</h1>\n<ol class=\"poem\" id=\"poem\">\n";
  bool any_made = false;
  std::string said;  // the poem as one text, for previews: 春风……，风引……。
  for (size_t i = 0; i < poem.lines.size(); ++i) {
    const ComposedLine& line = poem.lines[i];
    const int at = order.PositionAt(i);
    const std::u16string_view text(line.text);
    said += Utf16ToUtf8(text) + (i % 2 == 0 ? "，" : "。");
    body += "<li><span class=\"text\">" + EscapeHtml(Utf16ToUtf8(text.substr(0, at))) + "<em>" +
            EscapeHtml(Utf16ToUtf8(text.substr(at, 1))) + "</em>" +
            EscapeHtml(Utf16ToUtf8(text.substr(at + 1))) + "</span>";
    if (line.made) {
      body += "<a class=\"made-mark\" href=\"#made\" title=\"改字：见下方说明\">改字</a>";
      any_made = true;
    }
    body += "<a class=\"swap\" href=\"" + EscapeHtml(EncodeIri(links.swap + std::to_string(i))) +
            "\" aria-label=\"换掉第 " + std::to_string(i + 1) + " 句\">换</a></li>\n";
  }
  if (!said.empty() && said.ends_with("，")) said.replace(said.size() - 3, 3, "。");
  body += "</ol>\n<p class=\"rhyme\">" +
          EscapeHtml(RhymeTitle(poem.book, poem.rhyme.pingshui, poem.rhyme.xinyun)) + "</p>\n" +
          MetreView(index, order, poem) +
          "<div class=\"actions\">"
          "<button type=\"button\" id=\"copy\" hidden>复制全诗</button>"
          "<a class=\"button quiet\" href=\"" +
          EscapeHtml(EncodeIri(FormAddress(request.form).replace(0, 1, "/poem"))) +
          "\">再作一首</a>"
          "<a class=\"button quiet\" href=\"" +
          EscapeHtml(EncodeIri(FormAddress(request.form))) + "\">修改</a></div>\n";

  body +=
      "<section class=\"share\" aria-labelledby=\"share-title\"><h2 "
      "id=\"share-title\">分享这首诗</h2>"
      "<p class=\"link\"><a id=\"share\" href=\"" +
      EscapeHtml(EncodeIri(links.page)) + "\">" + EscapeHtml(links.page) +
      "</a><button type=\"button\" class=\"button quiet\" id=\"copy-link\" hidden>复制链接</button>"
      "</p>\n<p class=\"downloads\">";
  const std::string file = "藏头诗-" + Utf16ToUtf8(order.Hidden()).substr(0, 3 * 20);
  for (size_t page = 0; page < links.pngs.size(); ++page) {
    const std::string which =
        links.pngs.size() == 1 ? "" : "第 " + std::to_string(page + 1) + " 页";
    const std::string name = file + (links.pngs.size() == 1 ? "" : "-" + std::to_string(page + 1));
    body += "<span>下载图片" + which + "：</span><a id=\"picture-" + std::to_string(page + 1) +
            "\" href=\"" + EscapeHtml(EncodeIri(links.pngs[page])) + "\" download=\"" +
            EscapeHtml(name) + ".png\" aria-label=\"下载图片" + which +
            "（PNG）\">PNG</a><a href=\"" + EscapeHtml(EncodeIri(links.svgs[page])) +
            "\" download=\"" + EscapeHtml(name) + ".svg\" aria-label=\"下载图片" + which +
            "（SVG）\">SVG</a>";
  }
  body += "</p></section>\n";

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
  // Copying needs a script; without one the buttons stay hidden.
  body +=
      "<script>(function(){if(!navigator.clipboard)return;"
      "function offer(id,text){var b=document.getElementById(id),was=b.textContent;b.hidden=false;"
      "b.addEventListener('click',function(){navigator.clipboard.writeText(text()).then(function(){"
      "b.textContent='已复制';setTimeout(function(){b.textContent=was;},1500);});});}"
      "offer('copy',function(){var t=[];document.querySelectorAll('#poem .text').forEach("
      "function(e){t.push(e.textContent);});return t.join('\\n')+'\\n';});"
      "offer('copy-link',function(){return document.getElementById('share').textContent;});"
      "})();</script>\n";

  // What a chat app shows of a shared link: the title, the poem, its picture.
  const std::string alt = "竖排的" + title + "：" + said;
  std::string head =
      "<link rel=\"canonical\" href=\"" + EscapeHtml(EncodeIri(links.page)) + "\">" +
      Meta("property", "og:type", "article") + Meta("property", "og:site_name", "Miravel 藏头诗") +
      Meta("property", "og:title", title) + Meta("property", "og:description", said) +
      Meta("property", "og:url", EncodeIri(links.page)) +
      Meta("property", "og:image", EncodeIri(links.pngs.front())) +
      Meta("property", "og:image:type", "image/png") +
      Meta("property", "og:image:width", std::to_string(links.width)) +
      Meta("property", "og:image:height", std::to_string(links.height)) +
      Meta("property", "og:image:alt", alt) + Meta("name", "twitter:card", "summary_large_image") +
      Meta("name", "twitter:title", title) + Meta("name", "twitter:description", said) +
      Meta("name", "twitter:image", EncodeIri(links.pngs.front())) +
      Meta("name", "twitter:image:alt", alt) + Meta("name", "description", said);
  return Page(title, body, head);
}

std::string ErrorPage(const std::string& heading, const std::string& message) {
  return Page(
      heading + " · Miravel 藏头诗",
      "<h1 class=\"heading\">" + EscapeHtml(heading) + "</h1>\n<p class=\"lost\">" +
          EscapeHtml(message) +
          "</p>\n<p class=\"actions\"><a class=\"button\" href=\"/\">去作一首藏头诗</a></p>\n");
}

}  // namespace miravel::poemd
