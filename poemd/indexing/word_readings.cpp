#include "poemd/indexing/word_readings.h"

#include <array>
#include <cmath>
#include <nlohmann/json.hpp>
#include <unordered_map>

#include "poemd/index/pinyin_letters.h"
#include "poemd/indexing/file_contents.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

constexpr size_t kMaxWord = 7;
// The log-probability of a character the dictionary does not know: below
// any word it holds, so known words are always preferred.
constexpr double kUnknownLogProbability = -40.0;

struct Word {
  std::array<Reading, kMaxWord> readings{};
  std::array<uint32_t, kMaxWord> syllables{};  // into WordReadings::Impl::names
  double log_probability = 0;
};

struct ViewHash {
  using is_transparent = void;
  size_t operator()(std::u16string_view s) const { return std::hash<std::u16string_view>()(s); }
};
struct ViewEqual {
  using is_transparent = void;
  bool operator()(std::u16string_view a, std::u16string_view b) const { return a == b; }
};

std::vector<std::string_view> Syllables(std::string_view pinyin) {
  std::vector<std::string_view> out;
  size_t from = 0;
  while (from < pinyin.size()) {
    size_t end = pinyin.find(' ', from);
    if (end == std::string_view::npos) end = pinyin.size();
    if (end > from) out.push_back(pinyin.substr(from, end - from));
    from = end + 1;
  }
  return out;
}

// A character that ends a line on its own cannot be an adverb or a
// particle: 还 there is huán (return), not hái (still); 都 dū (capital), not
// dōu (all); and so on. Its syllable there, or nullptr.
const char* AtLineEnd(char16_t c) {
  struct Final {
    char16_t character;
    const char* pinyin;
  };
  static constexpr Final kFinals[] = {{u'还', "huán"}, {u'都', "dū"}, {u'了', "liǎo"},
                                      {u'着', "zhuó"}, {u'得', "dé"}, {u'的', "dì"},
                                      {u'地', "dì"}};
  for (const Final& f : kFinals) {
    if (f.character == c) return f.pinyin;
  }
  return nullptr;
}

// Verse counts 一 and 不 by their citation tones: the syllable, or nullptr
// for any other character.
const char* Citation(char16_t c) {
  if (c == u'一') return "yī";
  if (c == u'不') return "bù";
  return nullptr;
}
Reading Cited(char16_t c, Reading spoken) {
  const char* citation = Citation(c);
  return citation ? ReadingOfPinyin(citation) : spoken;
}
std::string Cited(char16_t c, std::string spoken) {
  const char* citation = Citation(c);
  return citation ? citation : spoken;
}

}  // namespace

struct WordReadings::Impl {
  std::unordered_map<std::u16string, Word, ViewHash, ViewEqual> words;
  // Characters some word reads otherwise than the character alone: only
  // lines holding one need cutting into words.
  std::vector<bool> varies = std::vector<bool>(65536, false);
  bool varies_known = true;
  Phonetics icu;
  std::unordered_map<char16_t, Reading> alone_cache;
  std::unordered_map<char16_t, std::string> pinyin_cache;
  // The distinct syllables the words hold.
  std::vector<std::string> names;
  std::unordered_map<std::string, uint32_t> name_ids;

  uint32_t Intern(std::string_view syllable) {
    const auto [it, added] =
        name_ids.try_emplace(std::string(syllable), static_cast<uint32_t>(names.size()));
    if (added) names.emplace_back(syllable);
    return it->second;
  }

  void KnowVaries() {
    if (varies_known) return;
    varies_known = true;
    varies.assign(varies.size(), false);
    for (const auto& [text, word] : words) {
      if (text.size() < 2) continue;
      for (size_t i = 0; i < text.size(); ++i) {
        const Reading alone = Alone(text[i]);
        const Reading here = Cited(text[i], word.readings[i]);
        if (alone.tone != here.tone || alone.rhyme != here.rhyme) varies[text[i]] = true;
      }
    }
  }

  Reading Alone(char16_t c) {
    const auto word = words.find(std::u16string_view(&c, 1));
    if (word != words.end()) return Cited(c, word->second.readings[0]);
    const auto [it, inserted] = alone_cache.try_emplace(c);
    if (inserted) it->second = Cited(c, icu.Of(c));
    return it->second;
  }

  // Each character's syllables in words of two or more characters, by
  // their summed frequency; built on first use.
  std::unordered_map<char16_t, std::unordered_map<uint32_t, double>> word_syllables;
  bool word_syllables_known = false;

  void KnowWordSyllables() {
    if (word_syllables_known) return;
    word_syllables_known = true;
    for (const auto& [text, word] : words) {
      if (text.size() < 2) continue;
      for (size_t i = 0; i < text.size(); ++i) {
        if (word.readings[i].tone == Tone::kUnknown) continue;
        word_syllables[text[i]][word.syllables[i]] += std::exp(word.log_probability);
      }
    }
  }

  std::string PinyinAlone(char16_t c) {
    const auto word = words.find(std::u16string_view(&c, 1));
    if (word != words.end()) return Cited(c, names[word->second.syllables[0]]);
    const auto [it, inserted] = pinyin_cache.try_emplace(c);
    if (inserted) it->second = Cited(c, icu.Pinyin(c));
    return it->second;
  }

  // The syllable of character `c` in a word, where the word reads it
  // `syllable`: the neutral tone of a weak syllable is the character's own
  // tone when it reads the same syllable alone.
  std::string InWord(char16_t c, uint32_t syllable) {
    const std::string& name = names[syllable];
    if (Citation(c) != nullptr) return Citation(c);
    if (ReadingOfPinyin(name).tone != Tone::kUnknown) return name;
    std::string alone = PinyinAlone(c);
    return SameLetters(alone, name) ? alone : name;
  }
};

WordReadings::WordReadings() : impl_(std::make_unique<Impl>()) {}
WordReadings::~WordReadings() = default;
WordReadings::WordReadings(WordReadings&&) noexcept = default;
WordReadings& WordReadings::operator=(WordReadings&&) noexcept = default;

StatusOr<WordReadings> WordReadings::FromFile(const std::string& path) {
  const StatusOr<std::string> text = FileContents(path);
  if (!text.ok()) return text.status();
  const nlohmann::json data = nlohmann::json::parse(*text, nullptr, false);
  if (!data.is_object()) {
    return Status::Corruption(path + " is not a word dictionary (a JSON object)");
  }
  WordReadings readings;
  for (const auto& [word, entry] : data.items()) {
    if (!entry.is_array() || entry.size() < 2 || !entry[0].is_string() || !entry[1].is_number()) {
      continue;
    }
    readings.Add(Utf8ToUtf16(word), entry[0].get<std::string>(), entry[1].get<double>());
  }
  if (readings.WordCount() == 0) return Status::Corruption(path + " holds no words");
  return readings;
}

void WordReadings::Add(std::u16string_view word, std::string_view pinyin, double frequency) {
  const std::vector<std::string_view> syllables = Syllables(pinyin);
  if (word.empty() || word.size() > kMaxWord || syllables.size() != word.size() ||
      !(frequency > 0)) {
    return;
  }
  Word entry;
  entry.log_probability = std::log(frequency);
  for (size_t i = 0; i < word.size(); ++i) {
    entry.readings[i] = ReadingOfPinyin(syllables[i]);
    entry.syllables[i] = impl_->Intern(syllables[i]);
  }
  impl_->words.insert_or_assign(std::u16string(word), entry);
  impl_->varies_known = false;
  impl_->word_syllables_known = false;
  impl_->word_syllables.clear();
}

size_t WordReadings::WordCount() const { return impl_->words.size(); }

bool WordReadings::Knows(std::u16string_view word) const { return impl_->words.contains(word); }

Reading WordReadings::ReadAlone(char16_t character) { return impl_->Alone(character); }

std::vector<Reading> WordReadings::ReadLine(std::u16string_view line,
                                            std::vector<std::string>* pinyin,
                                            std::vector<bool>* in_word) {
  impl_->KnowVaries();
  const size_t n = line.size();
  std::vector<Reading> out(n);
  bool any_varies = false;
  for (size_t i = 0; i < n; ++i) {
    out[i] = impl_->Alone(line[i]);
    any_varies = any_varies || impl_->varies[line[i]];
  }
  if (pinyin != nullptr) {
    pinyin->resize(n);
    for (size_t i = 0; i < n; ++i) (*pinyin)[i] = impl_->PinyinAlone(line[i]);
  }
  if (in_word != nullptr) in_word->assign(n, false);
  if (n > 0) {
    if (const char* final = AtLineEnd(line.back())) {
      out.back() = ReadingOfPinyin(final);
      if (pinyin != nullptr) pinyin->back() = final;
    }
  }
  // A line none of whose characters a word reads otherwise reads as its
  // characters do alone; only a caller that asks which stand in words needs
  // its cut.
  if (!any_varies && pinyin == nullptr && in_word == nullptr) return out;

  // best[i]: the most probable cut of line[0, i); from[i]: where its last
  // word starts.
  std::vector<double> best(n + 1, -INFINITY);
  std::vector<size_t> from(n + 1, 0);
  std::vector<const Word*> word_at(n + 1, nullptr);
  best[0] = 0;
  for (size_t end = 1; end <= n; ++end) {
    for (size_t length = 1; length <= std::min(end, kMaxWord); ++length) {
      const size_t start = end - length;
      const auto word = impl_->words.find(line.substr(start, length));
      const Word* found = word == impl_->words.end() ? nullptr : &word->second;
      if (found == nullptr && length > 1) continue;
      const double score =
          best[start] + (found != nullptr ? found->log_probability : kUnknownLogProbability);
      if (score > best[end]) {
        best[end] = score;
        from[end] = start;
        word_at[end] = found;
      }
    }
  }
  for (size_t end = n; end > 0; end = from[end]) {
    const size_t start = from[end];
    if (end - start < 2) continue;  // a character alone keeps its own reading
    for (size_t i = start; i < end; ++i) {
      out[i] = Cited(line[i], word_at[end]->readings[i - start]);
      if (pinyin != nullptr) {
        (*pinyin)[i] = impl_->InWord(line[i], word_at[end]->syllables[i - start]);
      }
      if (in_word != nullptr) (*in_word)[i] = true;
    }
  }
  return out;
}

std::string WordReadings::PinyinAlone(char16_t character) { return impl_->PinyinAlone(character); }

std::vector<std::string> WordReadings::PinyinInWords(char16_t character) {
  impl_->KnowWordSyllables();
  std::vector<std::string> out;
  const auto it = impl_->word_syllables.find(character);
  if (it == impl_->word_syllables.end()) return out;
  std::vector<std::pair<double, uint32_t>> by_frequency;
  for (const auto& [syllable, frequency] : it->second)
    by_frequency.emplace_back(-frequency, syllable);
  std::sort(by_frequency.begin(), by_frequency.end());
  for (const auto& [frequency, syllable] : by_frequency) out.push_back(impl_->names[syllable]);
  return out;
}

}  // namespace miravel::poemd
