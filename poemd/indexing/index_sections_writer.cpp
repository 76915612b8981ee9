#include "poemd/indexing/index_sections_writer.h"

#include <algorithm>

#include "poemd/index/index_sections.h"

namespace miravel::poemd {
namespace {

using namespace sections;

// Runs of `items` sorted by key: the distinct keys, where each run starts
// (one more entry closing the last), and the items.
template <typename Key>
void WriteRuns(IndexFileWriter& w, std::vector<std::pair<Key, uint32_t>> items, uint32_t key_id,
               uint32_t starts_id, uint32_t items_id) {
  std::stable_sort(items.begin(), items.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<Key> keys;
  std::vector<uint32_t> starts;
  std::vector<uint32_t> values;
  for (size_t k = 0; k < items.size(); ++k) {
    if (k == 0 || items[k].first != items[k - 1].first) {
      keys.push_back(items[k].first);
      starts.push_back(static_cast<uint32_t>(k));
    }
    values.push_back(items[k].second);
  }
  starts.push_back(static_cast<uint32_t>(items.size()));
  w.AddContainer(key_id, keys);
  w.AddContainer(starts_id, starts);
  w.AddContainer(items_id, values);
}

}  // namespace

using namespace sections;

void WritePostings(IndexFileWriter& w, int slot, std::u16string_view texts,
                   const std::vector<LineTraits>& traits) {
  const int length = kLengths[slot];
  const size_t n = traits.size();
  for (int at = 0; at < length; ++at) {
    std::vector<std::pair<char16_t, uint32_t>> by_character(n);
    for (size_t line = 0; line < n; ++line) {
      by_character[line] = {texts[line * length + at], static_cast<uint32_t>(line)};
    }
    std::stable_sort(by_character.begin(), by_character.end(), [&](const auto& a, const auto& b) {
      return traits[a.second].rank() < traits[b.second].rank();
    });
    WriteRuns(w, std::move(by_character), Id(kPostingCharacters, slot, at),
              Id(kPostingStarts, slot, at), Id(kPostingLines, slot, at));
  }
}

void WriteCouplets(IndexFileWriter& w, int slot, std::u16string_view texts,
                   const std::set<std::pair<uint32_t, uint32_t>>& pairs,
                   const std::set<std::pair<uint32_t, uint32_t>>& middle) {
  const int length = kLengths[slot];
  std::vector<Couplet> couplets;
  std::vector<uint8_t> kinds;
  for (const auto& pair : pairs) {
    couplets.push_back({pair.first, pair.second});
    kinds.push_back(middle.contains(pair) ? kMiddleCouplet : 0);
  }
  w.AddContainer(Id(kCouplets, slot), couplets);
  w.AddContainer(Id(kCoupletKinds, slot), kinds);
  const auto at = [&](uint32_t line, int position) {
    return texts[size_t{line} * length + position];
  };
  for (int place = 0; place < 3; ++place) {
    const int position = PositionOf(static_cast<Place>(place), length);
    std::vector<std::pair<uint32_t, uint32_t>> by_key(couplets.size());
    for (size_t k = 0; k < couplets.size(); ++k) {
      by_key[k] = {
          uint32_t{at(couplets[k].first, position)} << 16 | at(couplets[k].second, position),
          static_cast<uint32_t>(k)};
    }
    WriteRuns(w, std::move(by_key), Id(kCoupletKeys, slot, place), Id(kCoupletStarts, slot, place),
              Id(kCoupletIds, slot, place));
  }
}

void WriteAssociation(IndexFileWriter& w, const LearnedAssociation& learned) {
  w.AddContainer(Id(kVocabulary), learned.vocabulary);
  w.AddContainer(Id(kCohesion), learned.cohesion);
  w.AddContainer(Id(kCohesionSigns), learned.cohesion_signs);
}

void WriteParallel(IndexFileWriter& w, const LearnedParallel& learned) {
  w.AddContainer(Id(kParallelModel), learned.weights);
  w.AddContainer(Id(kParallelCharacterClasses), learned.classes);
}

void WriteSubjects(IndexFileWriter& w, const LearnedSubjects& learned) {
  w.AddContainer(Id(kSubjectVocabulary), learned.vocabulary);
  w.AddContainer(Id(kSubjectCharacters), learned.characters);
  w.AddContainer(Id(kSubjectTitleWords), learned.title_words);
  w.AddContainer(Id(kSubjectTitleWordVectors), learned.title_word_vectors);
  w.AddContainer(Id(kSubjectCentres), learned.centres);
  w.AddContainer(Id(kSubjectNames), learned.names);
  w.AddContainer(Id(kSubjectNameStarts), learned.name_starts);
  w.AddContainer(Id(kSubjectNearest), learned.nearest);
  w.AddContainer(Id(kSubjectTitleShares), learned.title_shares);
  w.AddContainer(Id(kSubjectTitleClasses), learned.title_classes);
  w.AddContainer(Id(kPoemSubjects), learned.poem_subjects);
  w.AddContainer(Id(kPoemTitleClasses), learned.poem_title_classes);
  w.AddContainer(Id(kPoemVectors), learned.poem_vectors);
}

void WriteMoodCharacters(IndexFileWriter& w, const std::vector<std::vector<char16_t>>& characters) {
  std::vector<char16_t> table(size_t{kMoodClasses} * kCharacteristicCharacters, u'\0');
  for (size_t c = 0; c < characters.size() && c < kMoodClasses; ++c) {
    const size_t n = std::min<size_t>(characters[c].size(), kCharacteristicCharacters);
    std::copy_n(characters[c].begin(), n, table.begin() + c * kCharacteristicCharacters);
  }
  w.AddContainer(Id(kMoodCharacters), table);
}

}  // namespace miravel::poemd
