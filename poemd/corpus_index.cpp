#include "poemd/corpus_index.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "text/gbk_unicode.h"

namespace miravel::poemd {
namespace {

constexpr char kMagic[] = "MIRAVEL-CORPUS-3\n";
constexpr char16_t kCjkFirst = 0x3400;
constexpr char16_t kCjkLast = 0x9FFF;

bool IsChinese(char16_t c) { return c >= kCjkFirst && c <= kCjkLast; }

// Lines are split at punctuation and blanks only: any other character (a
// "□" for a lost one, say) spoils the piece it stands in.
bool EndsPiece(char16_t c) {
  static constexpr std::u16string_view kBreaks =
      u"，。？！；：、,.?!;:“”‘’「」『』《》〈〉（）()[]【】—…· \t\r\n\u3000";
  return c == u'\0' || kBreaks.find(c) != std::u16string_view::npos;
}

uint8_t PackReading(Reading r) {
  return static_cast<uint8_t>(r.rhyme | static_cast<int>(r.tone) << 4);
}

Reading UnpackReading(uint8_t packed) {
  return {static_cast<Tone>(packed >> 4), static_cast<RhymeGroup>(packed & 0x0F)};
}

// A file of sections, each a byte count and the bytes of one array.
class Writer {
 public:
  explicit Writer(FILE* file) : file_(file) {}
  template <typename T>
  void Put(const T* data, size_t count) {
    const uint64_t bytes = count * sizeof(T);
    ok_ = ok_ && std::fwrite(&bytes, sizeof bytes, 1, file_) == 1 &&
          (bytes == 0 || std::fwrite(data, 1, bytes, file_) == bytes);
  }
  template <typename C>
  void Put(const C& container) {
    Put(container.data(), container.size());
  }
  bool ok() const { return ok_; }

 private:
  FILE* file_;
  bool ok_ = true;
};

class Reader {
 public:
  explicit Reader(FILE* file) : file_(file) {}
  template <typename C>
  void Get(C& container) {
    uint64_t bytes = 0;
    using T = typename C::value_type;
    if (!ok_ || std::fread(&bytes, sizeof bytes, 1, file_) != 1 || bytes % sizeof(T) != 0 ||
        bytes > (uint64_t{1} << 34)) {
      ok_ = false;
      return;
    }
    container.resize(bytes / sizeof(T));
    ok_ = bytes == 0 || std::fread(container.data(), 1, bytes, file_) == bytes;
  }
  bool ok() const { return ok_; }

 private:
  FILE* file_;
  bool ok_ = true;
};

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};

}  // namespace

int PositionOf(Place place, int length) {
  switch (place) {
    case Place::kHead:
      return 0;
    case Place::kMiddle:
      return length / 2;
    case Place::kTail:
      return length - 1;
  }
  return 0;
}

std::u16string_view CorpusIndex::Text(int length, uint32_t line) const {
  return std::u16string_view(Lines(length).texts)
      .substr(static_cast<size_t>(line) * length, length);
}

LineSource CorpusIndex::Source(int length, uint32_t line) const {
  const uint32_t source = Lines(length).sources[line];
  const char* title = source_blob_.data() + source_offsets_[source];
  const char* author = title + std::char_traits<char>::length(title) + 1;
  return {title, author};
}

std::span<const uint32_t> CorpusIndex::LinesWith(char16_t character, int length,
                                                 Place place) const {
  const Postings& p = postings_[LengthSlot(length) * 3 + static_cast<int>(place)];
  const auto it = std::lower_bound(p.characters.begin(), p.characters.end(), character);
  if (it == p.characters.end() || *it != character) return {};
  const size_t k = static_cast<size_t>(it - p.characters.begin());
  return std::span<const uint32_t>(p.lines).subspan(p.starts[k], p.starts[k + 1] - p.starts[k]);
}

Reading CorpusIndex::ReadingOf(char16_t character) const {
  return readings_.empty() ? Reading{} : UnpackReading(readings_[character]);
}

template <typename Self, typename Visit>
void CorpusIndex::VisitSections(Self& self, Visit visit) {
  for (auto& t : self.tables_) {
    visit(t.texts);
    visit(t.sources);
    visit(t.tones);
    visit(t.rhymes);
    visit(t.plain);
  }
  for (auto& p : self.postings_) {
    visit(p.characters);
    visit(p.starts);
    visit(p.lines);
  }
  visit(self.readings_);
  visit(self.source_blob_);
  visit(self.source_offsets_);
}

bool CorpusIndex::Save(const std::string& path) const {
  std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  Writer w(file.get());
  w.Put(kMagic, sizeof kMagic - 1);
  VisitSections(*this, [&w](const auto& section) { w.Put(section); });
  return w.ok() && std::fflush(file.get()) == 0;
}

std::optional<CorpusIndex> CorpusIndex::Load(const std::string& path, std::string* error) {
  std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    *error = "cannot open " + path;
    return std::nullopt;
  }
  Reader r(file.get());
  std::string magic;
  r.Get(magic);
  if (!r.ok() || magic != kMagic) {
    *error = path + " is not a corpus index of this version";
    return std::nullopt;
  }
  CorpusIndex index;
  VisitSections(index, [&r](auto& section) { r.Get(section); });
  bool consistent = r.ok() && index.readings_.size() == 65536;
  for (int slot = 0; consistent && slot < 2; ++slot) {
    const LineTable& t = index.tables_[slot];
    const size_t n = t.texts.size() / (slot == 0 ? 5 : 7);
    consistent =
        t.sources.size() == n && t.tones.size() == n && t.rhymes.size() == n && t.plain.size() == n;
    for (uint32_t s : t.sources) consistent = consistent && s < index.source_offsets_.size();
  }
  // A damaged file must not make lookups read out of bounds.
  for (size_t k = 0; consistent && k < index.postings_.size(); ++k) {
    const Postings& p = index.postings_[k];
    const size_t lines = index.LineCount(k < 3 ? 5 : 7);
    consistent = p.starts.size() == p.characters.size() + 1 && p.starts.front() == 0 &&
                 p.starts.back() == p.lines.size() &&
                 std::is_sorted(p.starts.begin(), p.starts.end()) &&
                 std::all_of(p.lines.begin(), p.lines.end(), [&](uint32_t l) { return l < lines; });
  }
  for (uint32_t offset : index.source_offsets_) {
    consistent = consistent && offset < index.source_blob_.size();
  }
  consistent = consistent && (index.source_blob_.empty() || index.source_blob_.back() == '\0');
  if (!consistent) {
    *error = path + " is damaged";
    return std::nullopt;
  }
  return index;
}

struct CorpusIndexBuilder::State {
  size_t common_characters = kCommonCharacters;
  std::unique_ptr<icu::Transliterator> simplifier;
  std::unordered_map<char16_t, char16_t> simplified;
  std::vector<int8_t> in_gbk = std::vector<int8_t>(65536, -1);
  std::array<std::unordered_set<std::u16string>, 2> seen;
  CorpusIndex index;

  char16_t Simplify(char16_t c) {
    auto [it, inserted] = simplified.try_emplace(c, c);
    if (inserted && simplifier) {
      icu::UnicodeString one(c);
      simplifier->transliterate(one);
      if (one.length() == 1) it->second = one.charAt(0);
    }
    return it->second;
  }

  bool InGbk(char16_t c) {
    if (in_gbk[c] < 0) {
      const std::string gbk = Utf16ToGbk(std::u16string_view(&c, 1));
      in_gbk[c] = gbk.size() == 2 ? 1 : 0;
    }
    return in_gbk[c] == 1;
  }

  uint32_t AddSource(std::string_view title, std::string_view author) {
    const auto gbk = [](std::string_view utf8) {
      const icu::UnicodeString u = icu::UnicodeString::fromUTF8(
          icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
      std::u16string simple;
      for (int32_t i = 0; i < u.length(); ++i) simple.push_back(u.charAt(i));
      return Utf16ToGbk(simple);
    };
    index.source_offsets_.push_back(static_cast<uint32_t>(index.source_blob_.size()));
    index.source_blob_ += gbk(title);
    index.source_blob_ += '\0';
    index.source_blob_ += gbk(author);
    index.source_blob_ += '\0';
    return static_cast<uint32_t>(index.source_offsets_.size() - 1);
  }
};

CorpusIndexBuilder::CorpusIndexBuilder(size_t common_characters)
    : state_(std::make_unique<State>()) {
  state_->common_characters = common_characters;
  UErrorCode status = U_ZERO_ERROR;
  state_->simplifier.reset(
      icu::Transliterator::createInstance("Traditional-Simplified", UTRANS_FORWARD, status));
  if (U_FAILURE(status)) state_->simplifier.reset();
}

CorpusIndexBuilder::~CorpusIndexBuilder() = default;

size_t CorpusIndexBuilder::LinesSoFar() const {
  return state_->index.LineCount(5) + state_->index.LineCount(7);
}

void CorpusIndexBuilder::AddPoem(std::string_view title, std::string_view author,
                                 const std::vector<std::string>& paragraphs) {
  std::optional<uint32_t> source;
  for (const std::string& paragraph : paragraphs) {
    const icu::UnicodeString text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(paragraph.data(), static_cast<int32_t>(paragraph.size())));
    std::u16string piece;
    const auto take = [&] {
      const size_t length = piece.size();
      if ((length == 5 || length == 7) &&
          state_->seen[LengthSlot(static_cast<int>(length))].insert(piece).second) {
        if (!source) source = state_->AddSource(title, author);
        CorpusIndex::LineTable& t = state_->index.tables_[LengthSlot(static_cast<int>(length))];
        t.texts += piece;
        t.sources.push_back(*source);
      }
      piece.clear();
    };
    bool usable = true;
    for (int32_t i = 0; i <= text.length(); ++i) {
      const char16_t c = i < text.length() ? text.charAt(i) : u'\0';
      if (!EndsPiece(c)) {
        const char16_t simple = IsChinese(c) ? state_->Simplify(c) : c;
        usable = usable && IsChinese(c) && state_->InGbk(simple);
        piece.push_back(simple);
        continue;
      }
      if (usable) take();
      piece.clear();
      usable = true;
    }
  }
}

CorpusIndex CorpusIndexBuilder::Build() {
  CorpusIndex& index = state_->index;
  Phonetics phonetics;
  index.readings_.assign(65536, 0);
  for (char32_t c = kCjkFirst; c <= kCjkLast; ++c) {
    index.readings_[c] = PackReading(phonetics.Of(static_cast<char16_t>(c)));
  }
  // The most frequent characters over both lengths.
  std::vector<uint64_t> frequency(65536, 0);
  for (const CorpusIndex::LineTable& t : index.tables_) {
    for (char16_t c : t.texts) ++frequency[c];
  }
  std::vector<char16_t> by_frequency;
  for (size_t c = 0; c < frequency.size(); ++c) {
    if (frequency[c] > 0) by_frequency.push_back(static_cast<char16_t>(c));
  }
  std::stable_sort(by_frequency.begin(), by_frequency.end(),
                   [&](char16_t a, char16_t b) { return frequency[a] > frequency[b]; });
  std::vector<bool> common(65536, false);
  for (size_t k = 0; k < std::min(by_frequency.size(), state_->common_characters); ++k) {
    common[by_frequency[k]] = true;
  }
  for (int slot = 0; slot < 2; ++slot) {
    const int length = slot == 0 ? 5 : 7;
    CorpusIndex::LineTable& t = index.tables_[slot];
    const size_t n = t.texts.size() / length;
    t.plain.assign(n, 1);
    t.tones.assign(n, 0);
    t.rhymes.assign(n, kNoRhymeGroup);
    for (size_t line = 0; line < n; ++line) {
      for (int i = 0; i < length; ++i) {
        const char16_t c = t.texts[line * length + i];
        if (index.ReadingOf(c).tone == Tone::kLevel) t.tones[line] |= 1 << i;
        if (!common[c]) t.plain[line] = 0;
      }
      t.rhymes[line] = index.ReadingOf(t.texts[line * length + length - 1]).rhyme;
    }
    for (int place = 0; place < 3; ++place) {
      const int at = PositionOf(static_cast<Place>(place), length);
      std::vector<std::pair<char16_t, uint32_t>> pairs(n);
      for (size_t line = 0; line < n; ++line) {
        pairs[line] = {t.texts[line * length + at], static_cast<uint32_t>(line)};
      }
      std::stable_sort(pairs.begin(), pairs.end(),
                       [](const auto& a, const auto& b) { return a.first < b.first; });
      CorpusIndex::Postings& p = index.postings_[slot * 3 + place];
      p = {};
      for (size_t k = 0; k < pairs.size(); ++k) {
        if (k == 0 || pairs[k].first != pairs[k - 1].first) {
          p.characters.push_back(pairs[k].first);
          p.starts.push_back(static_cast<uint32_t>(k));
        }
        p.lines.push_back(pairs[k].second);
      }
      p.starts.push_back(static_cast<uint32_t>(pairs.size()));
    }
  }
  state_->seen = {};
  return std::move(index);
}

}  // namespace miravel::poemd
