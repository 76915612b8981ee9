#include "text/icu_converter.h"

#include <unicode/localpointer.h>

#include <map>
#include <string>

namespace miravel {

UConverter* ThreadConverter(const char* name) {
  thread_local std::map<std::string, icu::LocalUConverterPointer> cache;
  auto [it, inserted] = cache.try_emplace(name);
  if (inserted) {
    UErrorCode status = U_ZERO_ERROR;
    it->second.adoptInstead(ucnv_open(name, &status));
    if (U_FAILURE(status)) {
      it->second.adoptInstead(nullptr);
    } else {
      ucnv_setSubstChars(it->second.getAlias(), "?", 1, &status);
    }
  }
  UConverter* converter = it->second.getAlias();
  if (converter != nullptr) ucnv_reset(converter);
  return converter;
}

}  // namespace miravel
