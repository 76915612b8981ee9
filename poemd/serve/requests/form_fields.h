// The fields of a form-encoded text (form_body.h), read once and then asked
// for by name: the one reader of the client's body, the browser's query
// and a source page's query.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "common/status.h"

namespace miravel::poemd {

class FormFields {
 public:
  // InvalidArgument for a "%" not followed by two hex digits.
  static StatusOr<FormFields> Read(std::string_view encoded);

  // The field's value (its first, when repeated); nullptr when it is not
  // there at all.
  const std::string* Find(const std::string& name) const;
  // The field's value; "" when it is not there.
  const std::string& Value(const std::string& name) const;

 private:
  explicit FormFields(std::map<std::string, std::string> fields) : fields_(std::move(fields)) {}

  std::map<std::string, std::string> fields_;
};

}  // namespace miravel::poemd
