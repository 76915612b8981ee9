// Markup from templates: what is escaped and what is not, sections, files
// taken in, and templates that cannot be read.
#include "poemd/markup/html_template.h"

#include <gtest/gtest.h>

namespace miravel::poemd {
namespace {

// The files these tests' templates take in.
std::optional<std::string_view> Files(std::string_view name) {
  if (name == "style.css") return "p { color: red; } /* {{not a value}} */";
  if (name == "frame.html") return "<h1>{{heading}}</h1><p>{{message}}</p>";
  if (name == "loop.html") return "{{> loop.html}}";
  return std::nullopt;
}

std::string Render(std::string_view text, const PageValues& values) {
  StatusOr<HtmlTemplate> parsed = HtmlTemplate::Parse(text, Files);
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
  EXPECT_EQ(Render("<style>{{> style.css}}</style>", PageValues().Text("not a value", "x")),
            "<style>" + std::string(*Files("style.css")) + "</style>");
  // A template taken in is a template: its placeholders are filled.
  EXPECT_EQ(
      Render("{{> frame.html}}", PageValues().Text("heading", "找不到").Text("message", "<没有>")),
      "<h1>找不到</h1><p>&lt;没有&gt;</p>");
}

TEST(HtmlTemplate, NamedTemplatesAreReadOnceFromTheirOwnFiles) {
  const HtmlTemplate& frame = HtmlTemplate::Named("frame.html", Files);
  EXPECT_EQ(&frame, &HtmlTemplate::Named("frame.html", Files));
  EXPECT_EQ(frame.Render(PageValues().Text("heading", "a&b").Text("message", "")),
            "<h1>a&amp;b</h1><p></p>");
}

TEST(HtmlTemplate, TemplatesThatCannotBeReadAreRefusedSayingWhy) {
  for (const std::string_view broken : {"{{#a}}open", "{{/a}}", "{{#a}}{{/b}}", "{{name", "{{}}",
                                        "{{#}}", "{{> nowhere.html}}", "{{> loop.html}}"}) {
    const StatusOr<HtmlTemplate> parsed = HtmlTemplate::Parse(broken, Files);
    ASSERT_FALSE(parsed.ok()) << broken;
    EXPECT_EQ(parsed.status().code(), StatusCode::kInvalidArgument) << broken;
  }
}

}  // namespace
}  // namespace miravel::poemd
