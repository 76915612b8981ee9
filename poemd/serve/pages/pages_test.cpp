// The pages' own files read as templates, and pages escape what they are
// given.
#include <gtest/gtest.h>

#include "poemd/serve/pages/browser_page.h"
#include "poemd/serve/pages/form_page.h"
#include "poemd/serve/pages/page_files.h"

namespace miravel::poemd {
namespace {

TEST(PageFiles, EveryTemplateReads) {
  const std::vector<std::string_view> names = EmbeddedPageFileNames();
  EXPECT_GE(names.size(), 10u);
  for (const std::string_view name : names) {
    if (!name.ends_with(".html")) continue;
    const StatusOr<HtmlTemplate> parsed =
        HtmlTemplate::Parse(*EmbeddedPageFile(name), EmbeddedPageFile);
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
