#include "poemd/serve/requests/browser_form.h"

#include "poemd/http/form_body.h"

namespace miravel::poemd {

std::string FormAddress(const BrowserForm& form) {
  std::string address = "/?xing=" + PercentEncode(form.xing) + "&gender=" + form.gender +
                        "&num=" + form.num + "&limit=" + form.limit + "&book=" + form.book;
  if (!form.theme.empty()) address += "&theme=" + PercentEncode(form.theme);
  if (form.occasion != "auto") address += "&occasion=" + form.occasion;
  if (form.script != "simplified") address += "&script=" + form.script;
  if (form.pinyin == "1") address += "&pinyin=1";
  return address;
}

}  // namespace miravel::poemd
