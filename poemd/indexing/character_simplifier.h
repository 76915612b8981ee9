// One traditional character in simplified script, by ICU's
// Traditional-Simplified transliterator, for the tables of readings that
// hold traditional characters and are asked about simplified text. Not
// thread-safe; each thread needs its own.
#pragma once

#include <memory>

namespace miravel::poemd {

class CharacterSimplifier {
 public:
  CharacterSimplifier();
  ~CharacterSimplifier();
  CharacterSimplifier(const CharacterSimplifier&) = delete;
  CharacterSimplifier& operator=(const CharacterSimplifier&) = delete;

  // The character simplified; itself when it is simplified already, when
  // it becomes more than one character, or when ICU's transliterator is
  // missing.
  char16_t Of(char16_t character);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace miravel::poemd
