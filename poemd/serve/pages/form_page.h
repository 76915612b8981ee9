// The form a browser fills in to ask for a poem (form_page.html), at GET /
// and again, with what was typed, when the service refuses it; its words in
// the script the form asks for.
#pragma once

#include <string>

#include "poemd/serve/requests/browser_form.h"

namespace miravel::poemd {

// The form, filled in as `form`; `error` (UTF-8 text, may be empty) above
// it, about the field `invalid`, which is marked so.
std::string BrowserFormPage(const BrowserForm& form, const std::string& error,
                            FormField invalid = FormField::kNone);

}  // namespace miravel::poemd
