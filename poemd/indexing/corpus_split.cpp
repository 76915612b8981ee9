#include "poemd/indexing/corpus_split.h"

#include <algorithm>

namespace miravel::poemd {
namespace {

uint64_t Fnv1a(uint64_t hash, std::string_view text) {
  for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3ull;
  return hash;
}

}  // namespace

bool IsRealQuatrain(const PoemText& poem, const std::vector<std::u16string>& lines) {
  return poem.collection == Collection::kTangSongShi && lines.size() == 4 &&
         std::all_of(lines.begin(), lines.end(), [&](const std::u16string& line) {
           return !line.empty() && line.size() == lines[0].size();
         });
}

SplitPart PartOf(const PoemText& poem, const std::vector<std::u16string>& lines) {
  uint64_t hash = 0xCBF29CE484222325ull;
  hash = Fnv1a(hash, poem.title);
  hash = Fnv1a(hash, "\n");
  hash = Fnv1a(hash, poem.author);
  hash = Fnv1a(hash, "\n");
  if (!poem.paragraphs.empty()) hash = Fnv1a(hash, poem.paragraphs[0]);
  if (IsRealQuatrain(poem, lines) && (hash >> 8) % 10 == 0) return SplitPart::kHeldOut;
  return (hash >> 32) % 4 != 0 ? SplitPart::kIndex : SplitPart::kJudge;
}

}  // namespace miravel::poemd
