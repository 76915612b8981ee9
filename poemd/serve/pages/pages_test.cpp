// The pages' own files read as templates in both scripts, and pages escape
// what they are given.
#include <gtest/gtest.h>

#include <algorithm>

#include "poemd/serve/pages/browser_page.h"
#include "poemd/serve/pages/form_page.h"
#include "poemd/serve/pages/page_files.h"

namespace miravel::poemd {
namespace {

TEST(PageFiles, EveryTemplateReadsInBothScripts) {
  std::vector<std::string_view> names = EmbeddedPageFileNames();
  std::vector<std::string_view> traditional = EmbeddedTraditionalPageFileNames();
  EXPECT_GE(names.size(), 10u);
  std::sort(names.begin(), names.end());
  std::sort(traditional.begin(), traditional.end());
  EXPECT_EQ(names, traditional);
  for (const Script script : {Script::kSimplified, Script::kTraditional}) {
    for (const std::string_view name : names) {
      if (!name.ends_with(".html")) continue;
      const StatusOr<HtmlTemplate> parsed =
          HtmlTemplate::Parse(*PageFiles(script)(name), PageFiles(script));
      EXPECT_TRUE(parsed.ok()) << name << ": " << parsed.status().ToString();
    }
  }
}

TEST(PageFiles, TheTraditionalFilesAreTheSameWordsConverted) {
  const std::string_view written = *EmbeddedPageFile("poem_page.html");
  const std::string_view converted = *EmbeddedTraditionalPageFile("poem_page.html");
  EXPECT_NE(written.find("复制全诗"), std::string_view::npos);
  EXPECT_NE(converted.find("複製全詩"), std::string_view::npos);
  EXPECT_EQ(converted.find("复制"), std::string_view::npos);
  // The markup is the same: only the words change.
  EXPECT_EQ(std::count(written.begin(), written.end(), '<'),
            std::count(converted.begin(), converted.end(), '<'));
  EXPECT_EQ(std::count(written.begin(), written.end(), '{'),
            std::count(converted.begin(), converted.end(), '{'));
}

TEST(PagesFromTemplates, APageEscapesWhatItIsGiven) {
  const std::string error = ErrorPage(405, Script::kSimplified, "<script>alert(1)</script>");
  EXPECT_EQ(error.find("<script>alert"), std::string::npos);
  EXPECT_NE(error.find("只接受 &lt;script&gt;alert(1)&lt;/script&gt; 请求"), std::string::npos);
  EXPECT_NE(error.find("<title>不能这样打开这一页 · Miravel 藏头诗</title>"), std::string::npos);
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

TEST(ErrorPages, SayWhatWentWrongInTheScriptOfThePageThatLedThere) {
  const std::string simplified = ErrorPage(404);
  EXPECT_NE(simplified.find("<h1 class=\"heading\">找不到这一页</h1>"), std::string::npos);
  EXPECT_NE(simplified.find("<html lang=\"zh-CN\">"), std::string::npos);
  const std::string traditional = ErrorPage(404, Script::kTraditional);
  EXPECT_NE(traditional.find("<h1 class=\"heading\">找不到這一頁</h1>"), std::string::npos);
  EXPECT_NE(traditional.find("<title>找不到這一頁 · Miravel 藏頭詩</title>"), std::string::npos);
  EXPECT_NE(traditional.find("<html lang=\"zh-Hant\">"), std::string::npos);
  EXPECT_NE(traditional.find("href=\"/?script=traditional\">去作一首藏頭詩"), std::string::npos);
  // A status of no words of its own says what a failure says.
  EXPECT_NE(ErrorPage(418).find("出了差错"), std::string::npos);
}

}  // namespace
}  // namespace miravel::poemd
