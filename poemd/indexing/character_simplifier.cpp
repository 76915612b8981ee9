#include "poemd/indexing/character_simplifier.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

namespace miravel::poemd {

struct CharacterSimplifier::Impl {
  std::unique_ptr<icu::Transliterator> simplifier;
};

CharacterSimplifier::CharacterSimplifier() : impl_(std::make_unique<Impl>()) {
  UErrorCode status = U_ZERO_ERROR;
  impl_->simplifier.reset(
      icu::Transliterator::createInstance("Traditional-Simplified", UTRANS_FORWARD, status));
  if (U_FAILURE(status)) impl_->simplifier.reset();
}

CharacterSimplifier::~CharacterSimplifier() = default;

char16_t CharacterSimplifier::Of(char16_t character) {
  if (!impl_->simplifier) return character;
  icu::UnicodeString one(character);
  impl_->simplifier->transliterate(one);
  return one.length() == 1 ? one.charAt(0) : character;
}

}  // namespace miravel::poemd
