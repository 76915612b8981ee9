#include "poemd/serve/pages/form_page.h"

#include <array>

#include "poemd/compose/occasion.h"
#include "poemd/serve/pages/browser_page.h"
#include "poemd/serve/pages/page_files.h"
#include "text/hidden_characters.h"

namespace miravel::poemd {
namespace {

// The switch that checks each occasion's choice, by Occasion.
const std::array<const char*, kOccasions>& OccasionSwitches() {
  static const std::array<const char*, kOccasions> kSwitches = {
      "occasion_auto",   "occasion_birthday", "occasion_wedding",     "occasion_festival",
      "occasion_praise", "occasion_farewell", "occasion_remembrance", "occasion_none"};
  return kSwitches;
}

}  // namespace

std::string BrowserFormPage(const BrowserForm& form, const std::string& error, FormField invalid) {
  static const PageTemplate page("form_page.html");
  static const PageTemplate title("form_title.html");
  const bool marked = !error.empty();
  const Script script = ScriptFromKey(form.script).value_or(Script::kSimplified);
  PageValues values;
  values.Flag("refused", marked)
      .Text("error", error)
      .Text("xing", form.xing)
      .Text("theme", form.theme)
      .Text("max", std::to_string(kMaxHiddenCharacters))
      .Flag("xing_invalid", marked && invalid == FormField::kHidden)
      .Flag("theme_invalid", marked && invalid == FormField::kTheme);
  // Each choice is checked by a switch named after its field and value.
  values.Flag("gender_5", form.gender == "5")
      .Flag("gender_7", form.gender == "7")
      .Flag("num_cangtou", form.num == "cangtou")
      .Flag("num_cangzhong", form.num == "cangzhong")
      .Flag("num_cangwei", form.num == "cangwei")
      .Flag("num_dizeng", form.num == "dizeng")
      .Flag("num_dijian", form.num == "dijian")
      .Flag("limit_100", form.limit == "100")
      .Flag("limit_200", form.limit == "200")
      .Flag("book_both", form.book == "both")
      .Flag("book_pingshui", form.book == "pingshui")
      .Flag("book_xinyun", form.book == "xinyun")
      .Flag("script_simplified", form.script != "traditional")
      .Flag("script_traditional", form.script == "traditional")
      .Flag("pinyin", form.pinyin == "1");
  for (int k = 0; k < kOccasions; ++k) {
    const std::string_view key = OccasionKey(static_cast<Occasion>(k));
    values.Flag(OccasionSwitches()[k], form.occasion == key);
  }
  return BrowserPage(script, title.Render(values, script), page.Render(values, script));
}

}  // namespace miravel::poemd
