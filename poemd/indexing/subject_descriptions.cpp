#include "poemd/indexing/subject_descriptions.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>

#include "poemd/index/subjects.h"
#include "poemd/indexing/subject_words.h"

namespace miravel::poemd {
namespace {

constexpr size_t kNameWords = 3;
constexpr size_t kNameCharacters = 5;
constexpr size_t kNameMarks = 3;
constexpr size_t kMarks = 10;
// A word or character marks a subject when its poems hold it at least
// twice as often as all poems do, and at least this many of them.
constexpr double kLeastLift = 2.0;
constexpr uint32_t kLeastPoems = 3;
// A word of two characters names a subject before one of its characters
// when it marks the subject this much as the character does.
constexpr double kWordOverCharacter = 0.5;
// A subject with fewer titled poems than this has no title classes.
constexpr uint32_t kLeastTitled = 10;
// A subject belongs to a class of this share of its titled poems; or of
// the least share, when that is the lift times the class's share of all.
// Birthday poems are 1% of the titled ones: their subjects of 10-20% are
// birthdays and court wishes, which 寿 poems' lines suit. So the three
// birthday subjects hold 40% of the held-back birthday poems, where the two
// of a quarter or more held 22% (the learners' report).
constexpr double kBelongingShare = 0.25;
constexpr double kLeastBelongingShare = 0.10;
constexpr double kBelongingLift = 5;

uint32_t KeyOf(std::u16string_view word) { return uint32_t{word[0]} << 16 | word[1]; }
std::u16string WordOf(uint32_t key) {
  std::u16string word{static_cast<char16_t>(key >> 16), static_cast<char16_t>(key & 0xFFFF)};
  if (word[1] == u'\0') word.pop_back();
  return word;
}

// How much a thing held by `here` of `size` poems, against `there` of
// `total`, marks them: its share of the divergence; 0 when it does not.
double Marking(uint32_t here, size_t size, uint32_t there, size_t total) {
  if (here < kLeastPoems) return 0;
  const double p = (here + 0.5) / (static_cast<double>(size) + 1);
  const double q = (there + 0.5) / (static_cast<double>(total) + 1);
  return p >= kLeastLift * q ? p * std::log(p / q) : 0;
}

std::u16string Joined(const std::vector<std::u16string>& words) {
  std::u16string out;
  for (const std::u16string& word : words) {
    if (!out.empty()) out += u' ';
    out += word;
  }
  return out;
}

// The best-marking keys of `counts` (key, poems holding it), as words; a
// word that shares a character with one chosen is passed over.
std::vector<std::u16string> MarkingWords(const std::vector<std::pair<uint32_t, uint32_t>>& counts,
                                         size_t size,
                                         const std::unordered_map<uint32_t, uint32_t>& overall,
                                         size_t total, size_t most) {
  std::vector<std::pair<double, uint32_t>> ranked;
  for (const auto& [key, here] : counts) {
    const double score = Marking(here, size, overall.at(key), total);
    if (score > 0) ranked.emplace_back(score, key);
  }
  std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first > b.first : a.second < b.second;
  });
  // A character gives way to a word of two that holds it and marks nearly
  // as much (生日 for 生).
  std::unordered_map<char16_t, std::pair<double, uint32_t>> best_word;
  for (const auto& [score, key] : ranked) {
    if ((key & 0xFFFF) == 0) continue;
    for (const char16_t c : {static_cast<char16_t>(key >> 16), static_cast<char16_t>(key)}) {
      best_word.try_emplace(c, score, key);
    }
  }
  std::vector<std::u16string> chosen;
  std::u16string used;
  const auto free = [&](const std::u16string& word) {
    return std::none_of(word.begin(), word.end(),
                        [&](char16_t c) { return used.find(c) != std::u16string::npos; });
  };
  for (const auto& [score, key] : ranked) {
    std::u16string word = WordOf(key);
    if (word.size() == 1) {
      const auto longer = best_word.find(word[0]);
      if (longer != best_word.end() && longer->second.first >= kWordOverCharacter * score &&
          free(WordOf(longer->second.second))) {
        word = WordOf(longer->second.second);
      }
    }
    if (!free(word)) continue;
    used += word;
    chosen.push_back(word);
    if (chosen.size() == most) break;
  }
  return chosen;
}

// Per subject, how many of its counted poems hold each key `keys_of` gives
// a poem; and overall.
template <typename KeysOf>
void CountKeys(const SubjectPoems& poems, KeysOf keys_of,
               std::vector<std::vector<std::pair<uint32_t, uint32_t>>>* per_subject,
               std::unordered_map<uint32_t, uint32_t>* overall) {
  std::unordered_map<uint64_t, uint32_t> pairs;
  for (size_t p = 0; p < poems.poems; ++p) {
    if (!poems.counted(p)) continue;
    for (const uint32_t key : keys_of(p)) {
      ++(*overall)[key];
      ++pairs[uint64_t{poems.subject(p)} << 32 | key];
    }
  }
  per_subject->assign(poems.subjects, {});
  for (const auto& [pair, count] : pairs) {
    (*per_subject)[pair >> 32].emplace_back(static_cast<uint32_t>(pair), count);
  }
}

// The same of the characters of the poems' texts that may mark a subject,
// each once a poem.
void CountCharacters(const SubjectPoems& poems, std::span<const uint16_t> vocabulary,
                     std::vector<std::vector<std::pair<uint32_t, uint32_t>>>* per_subject,
                     std::unordered_map<uint32_t, uint32_t>* overall) {
  const size_t rows = std::count_if(vocabulary.begin(), vocabulary.end(),
                                    [](uint16_t row) { return row != kNotInVocabulary; });
  std::vector<char16_t> character(rows);
  for (size_t c = 0; c < vocabulary.size(); ++c) {
    if (vocabulary[c] != kNotInVocabulary) character[vocabulary[c]] = static_cast<char16_t>(c);
  }
  std::vector<uint32_t> counts(poems.subjects * rows, 0), all(rows, 0);
  std::vector<size_t> seen(rows, SIZE_MAX);
  for (size_t p = 0; p < poems.poems; ++p) {
    if (!poems.counted(p)) continue;
    uint32_t* row_counts = counts.data() + poems.subject(p) * rows;
    for (const char16_t c : poems.text(p)) {
      const uint16_t row = vocabulary[c];
      if (row == kNotInVocabulary || seen[row] == p) continue;
      seen[row] = p;
      ++row_counts[row];
      ++all[row];
    }
  }
  per_subject->assign(poems.subjects, {});
  for (size_t s = 0; s < poems.subjects; ++s) {
    for (size_t r = 0; r < rows; ++r) {
      if (counts[s * rows + r] > 0) {
        (*per_subject)[s].emplace_back(uint32_t{character[r]} << 16, counts[s * rows + r]);
      }
    }
  }
  for (size_t r = 0; r < rows; ++r) (*overall)[uint32_t{character[r]} << 16] = all[r];
}

}  // namespace

SubjectDescriptions DescribeSubjects(const SubjectPoems& poems,
                                     std::span<const uint16_t> vocabulary) {
  SubjectDescriptions out;
  const size_t subjects = poems.subjects;
  out.sizes.assign(subjects, 0);
  out.title_shares.assign(subjects * kMoodClasses, 0);
  // Title classes are shares of the poems whose titles can say one: a
  // ci's title names its tune.
  std::vector<std::vector<uint32_t>> classes(subjects, std::vector<uint32_t>(kMoodClasses, 0));
  std::vector<uint32_t> titled(subjects, 0);
  size_t total = 0;
  for (size_t p = 0; p < poems.poems; ++p) {
    if (!poems.counted(p)) continue;
    const uint16_t s = poems.subject(p);
    ++total;
    ++out.sizes[s];
    if (poems.title(p).empty()) continue;
    ++titled[s];
    ++classes[s][static_cast<size_t>(poems.title_class(p))];
  }
  std::vector<double> base(kMoodClasses, 0);
  const double all_titled = std::accumulate(titled.begin(), titled.end(), 0.0);
  for (size_t c = 0; c < kMoodClasses && all_titled > 0; ++c) {
    for (size_t s = 0; s < subjects; ++s) base[c] += classes[s][c] / all_titled;
  }
  out.title_classes.assign(subjects, 0);
  for (size_t s = 0; s < subjects; ++s) {
    for (size_t c = 0; c < kMoodClasses && titled[s] >= kLeastTitled; ++c) {
      const double share = static_cast<double>(classes[s][c]) / titled[s];
      out.title_shares[s * kMoodClasses + c] = static_cast<uint8_t>(std::lround(255.0 * share));
      const bool belongs = share >= kBelongingShare ||
                           (share >= kLeastBelongingShare && share >= kBelongingLift * base[c]);
      if (c != static_cast<size_t>(MoodClass::kOther) && belongs) {
        out.title_classes[s] |= static_cast<uint16_t>(1u << c);
      }
    }
  }
  std::vector<std::vector<std::pair<uint32_t, uint32_t>>> title_words, characters;
  std::unordered_map<uint32_t, uint32_t> all_words, all_characters;
  CountKeys(
      poems,
      [&](size_t p) {
        std::vector<uint32_t> keys;
        for (const std::u16string& word : TitleWords(poems.title(p))) {
          if (word[1] == u'\0' || !poems.is_word || poems.is_word(word))
            keys.push_back(KeyOf(word));
        }
        return keys;
      },
      &title_words, &all_words);
  CountCharacters(poems, vocabulary, &characters, &all_characters);
  for (size_t s = 0; s < subjects; ++s) {
    const std::vector<std::u16string> marks =
        MarkingWords(characters[s], out.sizes[s], all_characters, total, kMarks);
    out.marks.push_back(Joined(marks));
    const std::vector<std::u16string> name =
        MarkingWords(title_words[s], out.sizes[s], all_words, total, kNameWords);
    // Named by its title words and what else marks it, or by the
    // characters alone.
    const std::u16string title = Joined(name);
    std::vector<std::u16string> known_by;
    for (const std::u16string& mark : marks) {
      if (known_by.size() == (name.empty() ? kNameCharacters : kNameMarks)) break;
      if (title.find(mark) == std::u16string::npos) known_by.push_back(mark);
    }
    out.names.push_back(name.empty() ? u"字：" + Joined(known_by)
                                     : u"题：" + title + u" · " + Joined(known_by));
  }
  return out;
}

std::vector<uint16_t> NearestSubjects(std::span<const float> centres, int dims) {
  const size_t subjects = centres.size() / dims;
  std::vector<uint16_t> nearest;
  for (size_t s = 0; s < subjects; ++s) {
    std::vector<std::pair<float, uint16_t>> ranked;
    for (size_t t = 0; t < subjects; ++t) {
      if (t == s) continue;
      float dot = 0;
      for (int k = 0; k < dims; ++k) dot += centres[s * dims + k] * centres[t * dims + k];
      ranked.emplace_back(dot, static_cast<uint16_t>(t));
    }
    std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
      return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    for (size_t k = 0; k < kNearestSubjects; ++k) {
      nearest.push_back(k < ranked.size() ? ranked[k].second : static_cast<uint16_t>(s));
    }
  }
  return nearest;
}

const char* TitleClassName(MoodClass title_class) {
  static const char* const kNames[kMoodClasses] = {"",   "挽", "病", "悲", "寿", "婚", "贺",
                                                   "节", "送", "赠", "怀", "老", "贫"};
  const auto k = static_cast<size_t>(title_class);
  return k < kMoodClasses ? kNames[k] : "";
}

}  // namespace miravel::poemd
