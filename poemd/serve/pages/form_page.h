// The form a browser fills in to ask for a poem (form_page.html), at GET /
// and again, with what was typed, when the service refuses it.
#pragma once

#include <string>

namespace miravel::poemd {

// What the form holds, as typed (UTF-8), to show it again.
struct BrowserForm {
  std::string xing;
  std::string gender = "5";
  std::string num = "cangtou";
  std::string limit = "100";
  std::string book = "both";
  std::string theme;
  std::string occasion = "auto";      // compose/occasion.h's keys
  std::string script = "simplified";  // shown_poem.h's keys
};

enum class FormField { kNone, kHidden, kTheme };

// The form, filled in as `form`; `error` (UTF-8 text, may be empty) above
// it, about the field `invalid`, which is marked so.
std::string BrowserFormPage(const BrowserForm& form, const std::string& error,
                            FormField invalid = FormField::kNone);

}  // namespace miravel::poemd
