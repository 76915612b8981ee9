// The form a browser fills in to ask for a poem, as typed (UTF-8), so that
// a page can show it again: the fields of GET /poem (browser_request.h).
#pragma once

#include <string>

namespace miravel::poemd {

struct BrowserForm {
  std::string xing;
  std::string gender = "5";
  std::string num = "cangtou";
  std::string limit = "100";
  std::string book = "both";
  std::string theme;
  std::string occasion = "auto";      // compose/occasion.h's keys
  std::string script = "simplified";  // script.h's keys
  std::string pinyin = "0";           // "1": each character's reading shown above it
};

// The field a refusal is about, to be marked on the form.
enum class FormField { kNone, kHidden, kTheme };

// The address of the form, filled in as `form`.
std::string FormAddress(const BrowserForm& form);

}  // namespace miravel::poemd
