// Pages from their templates: what is escaped and what is not, sections,
// files taken in, and templates that cannot be read.
#include "poemd/serve/pages/html_template.h"

#include <gtest/gtest.h>

#include "poemd/serve/pages/browser_page.h"
#include "poemd/serve/pages/form_page.h"
#include "poemd/serve/pages/page_files.h"

namespace miravel::poemd {
namespace {

std::string Render(std::string_view text, const PageValues& values) {
  StatusOr<HtmlTemplate> parsed = HtmlTemplate::Parse(text);
  EXPECT_TRUE(parsed.ok()) << parsed.status().ToString();
  return parsed.ok() ? parsed->Render(values) : "";
}

TEST(HtmlTemplate, TextIsEscapedAndMarkupIsNot) {
  EXPECT_EQ(
      Render("<p title=\"{{t}}\">{{t}}</p>{{m}}",
             PageValues().Text("t", "<a href=\"x\">&'").Html("m", "<b>粗</b>")),
      "<p title=\"&lt;a href=&quot;x&quot;&gt;&amp;&#39;\">&lt;a href=&quot;x&quot;&gt;&amp;&#39;"
      "</p><b>粗</b>");
}

TEST(HtmlTemplate, SectionsShowForValuesThatAreNotEmpty) {
  const std::string_view text = "{{#a}}[a {{a}}]{{/a}}{{^a}}[no a]{{/a}}";
  EXPECT_EQ(Render(text, PageValues().Text("a", "1")), "[a 1]");
  EXPECT_EQ(Render(text, PageValues().Text("a", "")), "[no a]");
  EXPECT_EQ(Render(text, PageValues()), "[no a]");
  EXPECT_EQ(Render(text, PageValues().Flag("a", false)), "[no a]");
  EXPECT_EQ(Render("{{#a}}{{#b}}ab{{/b}}{{^b}}a{{/b}}{{/a}}", PageValues().Flag("a", true)), "a");
}

TEST(HtmlTemplate, AValueForgottenShowsAsWritten) {
  EXPECT_EQ(Render("<p>{{said}}</p>", PageValues().Text("other", "x")), "<p>{{said}}</p>");
}

TEST(HtmlTemplate, ACommentAtALineEndJoinsTheLines) {
  EXPECT_EQ(Render("{{! note }}\n<a>{{!}}\n    <b>\n<c>", PageValues()), "<a><b>\n<c>");
  EXPECT_EQ(Render("<a>{{! inline }}<b>", PageValues()), "<a><b>");
}

TEST(HtmlTemplate, FilesAreTakenInStylesheetsAsTheyStand) {
  const std::string css(*EmbeddedPageFile("pages.css"));
  const std::string page = Render("<style>{{> pages.css}}</style>", PageValues());
  EXPECT_EQ(page, "<style>" + css + "</style>");
  // A template taken in is a template: its placeholders are filled.
  const std::string framed = Render(
      "{{> error_page.html}}", PageValues().Text("heading", "找不到").Text("message", "<没有>"));
  EXPECT_NE(framed.find("<h1 class=\"heading\">找不到</h1>"), std::string::npos) << framed;
  EXPECT_NE(framed.find("&lt;没有&gt;"), std::string::npos) << framed;
}

TEST(HtmlTemplate, TemplatesThatCannotBeReadAreRefusedSayingWhy) {
  for (const std::string_view broken :
       {"{{#a}}open", "{{/a}}", "{{#a}}{{/b}}", "{{name", "{{}}", "{{#}}", "{{> nowhere.html}}"}) {
    const StatusOr<HtmlTemplate> parsed = HtmlTemplate::Parse(broken);
    ASSERT_FALSE(parsed.ok()) << broken;
    EXPECT_EQ(parsed.status().code(), StatusCode::kInvalidArgument) << broken;
  }
}

TEST(HtmlTemplate, EveryPageFileReads) {
  const std::vector<std::string_view> names = EmbeddedPageFileNames();
  EXPECT_GE(names.size(), 10u);
  for (const std::string_view name : names) {
    if (!name.ends_with(".html")) continue;
    const StatusOr<HtmlTemplate> parsed = HtmlTemplate::Parse(*EmbeddedPageFile(name));
    EXPECT_TRUE(parsed.ok()) << name << ": " << parsed.status().ToString();
  }
}

TEST(PagesFromTemplates, APageEscapesWhatItIsGiven) {
  const std::string error = ErrorPage("<script>alert(1)</script>", "\"><img src=x onerror=y>");
  EXPECT_EQ(error.find("<script>alert"), std::string::npos);
  EXPECT_EQ(error.find("<img"), std::string::npos);
  EXPECT_NE(error.find("&lt;script&gt;alert(1)&lt;/script&gt; · Miravel 藏头诗</title>"),
            std::string::npos);
  EXPECT_EQ(error.find("{{"), std::string::npos);

  BrowserForm form;
  form.xing = "春\"><script>x</script>";
  form.theme = "'onfocus='y";
  const std::string page = BrowserFormPage(form, "<b>改</b>", FormField::kHidden);
  EXPECT_NE(page.find("value=\"春&quot;&gt;&lt;script&gt;x&lt;/script&gt;\""), std::string::npos);
  EXPECT_NE(page.find("value=\"&#39;onfocus=&#39;y\""), std::string::npos);
  EXPECT_NE(page.find("role=\"alert\" id=\"error\">&lt;b&gt;改&lt;/b&gt;</p>"), std::string::npos);
  EXPECT_EQ(page.find("{{"), std::string::npos);
}

}  // namespace
}  // namespace miravel::poemd
