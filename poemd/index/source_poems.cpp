#include "poemd/index/source_poems.h"

#include <algorithm>

namespace miravel::poemd {
namespace {

// Whether `starts` cut `items` whole: from 0 to its end, never backwards.
bool CutsWhole(std::span<const uint32_t> starts, size_t items) {
  return !starts.empty() && starts.front() == 0 && starts.back() == items &&
         std::is_sorted(starts.begin(), starts.end());
}

std::u16string Mapped(std::u16string_view text, std::span<const char16_t> table) {
  std::u16string out(text);
  if (table.size() != 65536) return out;
  for (char16_t& c : out) c = table[c];
  return out;
}

}  // namespace

Status SourcePoems::Check(const SourcePoemArrays& a, size_t poems) {
  const auto damaged = [](const char* what) {
    return Status::Corruption(std::string("damaged: ") + what);
  };
  if (a.starts.size() != poems + 1 || a.converted_starts.size() != poems + 1 ||
      !CutsWhole(a.starts, a.text.size()) || !CutsWhole(a.converted_starts, a.converted.size())) {
    return damaged("the source poems are not whole");
  }
  for (size_t p = 0; p < poems; ++p) {
    const uint32_t converted = a.converted_starts[p + 1] - a.converted_starts[p];
    if (converted != 0 && converted != a.starts[p + 1] - a.starts[p]) {
      return damaged("a source poem's traditional text is not as long as the poem");
    }
  }
  if (a.simplified.size() != 65536 || a.traditional.size() != 65536) {
    return damaged("the scripts' tables do not cover every character");
  }
  return Status::Ok();
}

std::u16string_view SourcePoems::Text(uint32_t poem) const {
  return {a_.text.data() + a_.starts[poem], a_.starts[poem + 1] - a_.starts[poem]};
}

std::u16string_view SourcePoems::Traditional(uint32_t poem) const {
  const uint32_t begin = a_.converted_starts[poem];
  const uint32_t end = a_.converted_starts[poem + 1];
  if (begin == end) return Text(poem);
  return {a_.converted.data() + begin, end - begin};
}

std::u16string SourcePoems::Simplified(uint32_t poem) const { return Simplify(Text(poem)); }

std::u16string SourcePoems::Simplify(std::u16string_view text) const {
  return Mapped(text, a_.simplified);
}

std::u16string SourcePoems::ToTraditional(std::u16string_view text) const {
  return Mapped(text, a_.traditional);
}

}  // namespace miravel::poemd
