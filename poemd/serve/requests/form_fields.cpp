#include "poemd/serve/requests/form_fields.h"

#include "poemd/http/form_body.h"

namespace miravel::poemd {

StatusOr<FormFields> FormFields::Read(std::string_view encoded) {
  StatusOr<std::map<std::string, std::string>> fields = DecodeFormBody(encoded);
  if (!fields.ok()) return fields.status();
  return FormFields(std::move(*fields));
}

const std::string* FormFields::Find(const std::string& name) const {
  const auto it = fields_.find(name);
  return it == fields_.end() ? nullptr : &it->second;
}

const std::string& FormFields::Value(const std::string& name) const {
  static const std::string kNone;
  const std::string* value = Find(name);
  return value ? *value : kNone;
}

}  // namespace miravel::poemd
