#include "poemd/index/corpus_index.h"

#include <algorithm>
#include <thread>

#include "poemd/index/index_sections.h"
#include "poemd/index/parallel_model.h"
#include "poemd/index/sorted_runs.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

Reading UnpackReading(uint8_t packed) {
  return {static_cast<Tone>(packed >> 4), static_cast<RhymeGroup>(packed & 0x0F)};
}

// The section's elements; `missing` names it when it is absent or its
// elements are not of T's size.
template <typename T>
std::span<const T> Required(const IndexFile& file, uint32_t id, std::string* missing) {
  if (!file.HasSectionOf<T>(id)) *missing = "section " + std::to_string(id);
  return file.Section<T>(id);
}

}  // namespace

const char* DynastyName(Dynasty dynasty) {
  static const char* const kNames[kDynasties] = {"", "魏", "唐", "五代", "宋", "元", "清"};
  const auto k = static_cast<size_t>(dynasty);
  return k < kDynasties ? kNames[k] : "";
}

StatusOr<CorpusIndex> CorpusIndex::Load(const std::string& path) {
  StatusOr<IndexFile> file = IndexFile::Open(path);
  if (!file.ok()) return file.status();
  StatusOr<CorpusIndex> index = FromFile(std::move(*file));
  if (!index.ok()) return index.status().Prefixed(path);
  return index;
}

StatusOr<CorpusIndex> CorpusIndex::FromFile(IndexFile file) {
  using namespace sections;
  CorpusIndex index;
  std::string missing;
  for (int slot = 0; slot < 2; ++slot) {
    LengthTables& t = index.slots_[slot];
    t.texts = Required<char16_t>(file, Id(kTexts, slot), &missing);
    t.traits = Required<LineTraits>(file, Id(kTraits, slot), &missing);
    t.written_at = Required<uint32_t>(file, Id(kLineWrittenAt, slot), &missing);
    t.couplets = Required<Couplet>(file, Id(kCouplets, slot), &missing);
    t.couplet_kinds = Required<uint8_t>(file, Id(kCoupletKinds, slot), &missing);
    t.subject_starts = Required<uint32_t>(file, Id(kSubjectLines, slot), &missing);
    for (int at = 0; at < kLengths[slot]; ++at) {
      t.postings[at] = {Required<char16_t>(file, Id(kPostingCharacters, slot, at), &missing),
                        Required<uint32_t>(file, Id(kPostingStarts, slot, at), &missing),
                        Required<uint32_t>(file, Id(kPostingLines, slot, at), &missing)};
    }
    for (int place = 0; place < 3; ++place) {
      t.couplet_postings[place] = {
          Required<uint32_t>(file, Id(kCoupletKeys, slot, place), &missing),
          Required<uint32_t>(file, Id(kCoupletStarts, slot, place), &missing),
          Required<uint32_t>(file, Id(kCoupletIds, slot, place), &missing)};
    }
  }
  index.readings_ = Required<uint8_t>(file, Id(kReadings), &missing);
  index.classical_readings_ = Required<uint32_t>(file, Id(kClassicalReadings), &missing);
  index.sources_ = Required<uint32_t>(file, Id(kSources), &missing);
  index.source_text_ = Required<char>(file, Id(kSourceText), &missing);
  index.mood_characters_ = Required<char16_t>(file, Id(kMoodCharacters), &missing);
  const SourcePoemArrays poems{Required<char16_t>(file, Id(kPoemText), &missing),
                               Required<uint32_t>(file, Id(kPoemStarts), &missing),
                               Required<char16_t>(file, Id(kPoemConverted), &missing),
                               Required<uint32_t>(file, Id(kPoemConvertedStarts), &missing),
                               Required<char16_t>(file, Id(kSimplifiedCharacters), &missing),
                               Required<char16_t>(file, Id(kTraditionalCharacters), &missing)};
  SyllableArrays syllables{Required<char>(file, Id(kSyllableNames), &missing),
                           Required<uint16_t>(file, Id(kAloneSyllables), &missing),
                           Required<char16_t>(file, Id(kPolyphones), &missing),
                           Required<uint32_t>(file, Id(kPolyphoneStarts), &missing),
                           Required<uint16_t>(file, Id(kPolyphoneReadings), &missing),
                           Required<uint8_t>(file, Id(kPolyphoneVerse), &missing)};
  for (int slot = 0; slot < 2; ++slot) {
    syllables.line_keys[slot] = Required<uint32_t>(file, Id(kLineSyllableKeys, slot), &missing);
    syllables.line_values[slot] = Required<uint16_t>(file, Id(kLineSyllableValues, slot), &missing);
  }
  const auto parallel_weights = Required<float>(file, Id(kParallelModel), &missing);
  const auto parallel_classes = Required<uint8_t>(file, Id(kParallelCharacterClasses), &missing);
  const AssociationArrays arrays{Required<uint16_t>(file, Id(kVocabulary), &missing),
                                 Required<float>(file, Id(kCohesion), &missing),
                                 Required<float>(file, Id(kCohesionSigns), &missing)};
  const SubjectArrays subjects{Required<uint16_t>(file, Id(kSubjectVocabulary), &missing),
                               Required<float>(file, Id(kSubjectCharacters), &missing),
                               Required<char16_t>(file, Id(kSubjectTitleWords), &missing),
                               Required<float>(file, Id(kSubjectTitleWordVectors), &missing),
                               Required<float>(file, Id(kSubjectCentres), &missing),
                               Required<char>(file, Id(kSubjectNames), &missing),
                               Required<uint32_t>(file, Id(kSubjectNameStarts), &missing),
                               Required<uint16_t>(file, Id(kSubjectNearest), &missing),
                               Required<uint8_t>(file, Id(kSubjectTitleShares), &missing),
                               Required<uint16_t>(file, Id(kSubjectTitleClasses), &missing),
                               Required<uint16_t>(file, Id(kPoemSubjects), &missing),
                               Required<uint8_t>(file, Id(kPoemTitleClasses), &missing),
                               Required<int8_t>(file, Id(kPoemVectors), &missing)};
  if (!missing.empty()) {
    return Status::Corruption("damaged: " + missing + " is missing or of the wrong kind");
  }
  if (Status checked = Association::Check(arrays); !checked.ok()) return checked;
  index.association_ = Association(arrays);
  if (Status checked = ParallelModel::Check(parallel_weights, parallel_classes); !checked.ok()) {
    return checked;
  }
  index.parallel_ = ParallelModel(parallel_weights, parallel_classes);
  if (Status checked = SourcePoems::Check(poems, index.sources_.size() / kSourceFields);
      !checked.ok()) {
    return checked;
  }
  index.poems_ = SourcePoems(poems);
  if (Status checked = SubjectModel::Check(subjects, index.sources_.size() / kSourceFields);
      !checked.ok()) {
    return checked;
  }
  index.subjects_ = SubjectModel(subjects);
  const size_t lines[2] = {index.slots_[0].traits.size(), index.slots_[1].traits.size()};
  if (Status checked = Syllables::Check(syllables, lines); !checked.ok()) return checked;
  index.syllables_ = Syllables(syllables);
  index.file_ = std::move(file);
  if (Status checked = index.Check(); !checked.ok()) return checked;
  return index;
}

namespace {

Status Damaged(const std::string& what) { return Status::Corruption("damaged: " + what); }

// Scatters the key of each run's items into `claimed`, a slot an item (keys
// are never zero); `what` (plural) names the runs when they are not whole,
// or name an item twice or one that is not there.
template <typename Key>
Status ScatterRuns(std::span<const Key> keys, std::span<const uint32_t> starts,
                   std::span<const uint32_t> items, const std::string& what,
                   std::vector<Key>* claimed) {
  if (items.size() != claimed->size() || !RunsAreWhole(keys, starts, items.size())) {
    return Damaged(what + " are not whole");
  }
  std::fill(claimed->begin(), claimed->end(), Key{0});
  for (size_t k = 0; k < keys.size(); ++k) {
    for (uint32_t i = starts[k]; i < starts[k + 1]; ++i) {
      const uint32_t item = items[i];
      if (item >= claimed->size() || (*claimed)[item] != 0) {
        return Damaged(what + " name one twice or one that is not there");
      }
      (*claimed)[item] = keys[k];
    }
  }
  return Status::Ok();
}

}  // namespace

// Every value a lookup or a page relies on, so that a damaged or made-up
// file is refused rather than served.
Status CorpusIndex::Check() const {
  if (Status status = CheckReadingsAndSources(); !status.ok()) return status;
  // The two lengths' tables are apart: check them side by side.
  const auto check_slot = [this](int slot) {
    Status status = CheckLines(slot);
    if (status.ok()) status = CheckSubjectLines(slot);
    if (status.ok()) status = CheckPostings(slot);
    if (status.ok()) status = CheckCouplets(slot);
    return status;
  };
  Status seven;
  std::thread other([&] { seven = check_slot(1); });
  const Status five = check_slot(0);
  other.join();
  return five.ok() ? seven : five;
}

Status CorpusIndex::CheckReadingsAndSources() const {
  if (readings_.size() != 65536 || classical_readings_.size() != 65536) {
    return Damaged("the readings do not cover every character");
  }
  for (uint8_t packed : readings_) {
    if ((packed & 0x0F) > kRhymeGroupCount || (packed >> 4) > static_cast<int>(Tone::kOblique)) {
      return Damaged("a reading is out of range");
    }
  }
  for (uint32_t packed : classical_readings_) {
    const ClassicalReading r = UnpackClassical(packed);
    if (r.rhymes != 0 && !r.level) return Damaged("a classical reading is out of range");
  }
  if (mood_characters_.size() != size_t{kMoodClasses} * kCharacteristicCharacters) {
    return Damaged("the moods' characters are not whole");
  }
  if (sources_.size() % sections::kSourceFields != 0) {
    return Damaged("the source table is not whole");
  }
  if (!source_text_.empty() && source_text_.back() != '\0') return Damaged("a source text is cut");
  for (size_t s = 0; s < sources_.size(); s += sections::kSourceFields) {
    if (sources_[s] >= source_text_.size() || sources_[s + 1] >= source_text_.size() ||
        sources_[s + 2] >= kDynasties || sources_[s + 3] >= source_text_.size() ||
        sources_[s + 4] >= source_text_.size()) {
      return Damaged("a source points outside its texts");
    }
  }
  return Status::Ok();
}

Status CorpusIndex::CheckLines(int slot) const {
  const int length = kLengths[slot];
  const LengthTables& t = slots_[slot];
  const std::string form = std::to_string(length) + "-character ";
  const size_t n = t.traits.size();
  if (t.texts.size() != n * length || t.written_at.size() != n) {
    return Damaged(form + "texts and traits disagree");
  }
  for (char16_t c : t.texts) {
    if (!IsCjk(c)) return Damaged(form + "line holds a non-Chinese character");
  }
  const size_t source_count = sources_.size() / sections::kSourceFields;
  const uint8_t all = static_cast<uint8_t>((1 << length) - 1);
  for (size_t line = 0; line < n; ++line) {
    const LineTraits& traits = t.traits[line];
    const uint8_t masks = traits.classical.level | traits.classical.oblique | traits.modern.level |
                          traits.modern.oblique;
    if (traits.source >= source_count || (masks & ~all) != 0 ||
        (traits.modern.level & traits.modern.oblique) != 0 ||
        (traits.pingshui & ~kAllPingshuiRhymes) != 0 || traits.xinyun > kRhymeGroupCount ||
        traits.flags >> LineTraits::kRankShift >= kSourceRanks ||
        (traits.pingshui != 0 && !traits.classical.CanBeLevel(length - 1))) {
      return Damaged(form + "line's traits are out of range");
    }
    if (size_t{t.written_at[line]} + length > poems_.Text(traits.source).size()) {
      return Damaged(form + "line is not where its poem has it");
    }
  }
  for (const Couplet& c : t.couplets) {
    if (c.first >= n || c.second >= n) return Damaged(form + "couplet names a missing line");
  }
  if (t.couplet_kinds.size() != t.couplets.size()) {
    return Damaged(form + "couplets and their kinds disagree");
  }
  return Status::Ok();
}

// Each check below scatters what the postings claim into an array the size
// of the lines, then compares it with the texts in order: random reads of
// the texts would cost most of the load.
Status CorpusIndex::CheckPostings(int slot) const {
  const int length = kLengths[slot];
  const LengthTables& t = slots_[slot];
  const std::string form = std::to_string(length) + "-character ";
  const size_t n = t.traits.size();
  std::vector<char16_t> claimed(n);
  std::vector<uint8_t> ranks(n);
  for (size_t line = 0; line < n; ++line)
    ranks[line] = t.traits[line].flags >> LineTraits::kRankShift;
  for (int at = 0; at < length; ++at) {
    const Postings& p = t.postings[at];
    if (Status scattered =
            ScatterRuns(p.characters, p.starts, p.lines, form + "postings", &claimed);
        !scattered.ok()) {
      return scattered;
    }
    // By rank, then by line: a subject's lines are one run of each rank's.
    for (size_t k = 0; k < p.characters.size(); ++k) {
      for (uint32_t i = p.starts[k] + 1; i < p.starts[k + 1]; ++i) {
        const uint32_t before = p.lines[i - 1], line = p.lines[i];
        if (std::pair(ranks[before], before) >= std::pair(ranks[line], line)) {
          return Damaged(form + "postings are out of order");
        }
      }
    }
    for (size_t line = 0; line < n; ++line) {
      if (t.texts[line * length + at] != claimed[line]) {
        return Damaged(form + "posting names a line without its character");
      }
    }
  }
  return Status::Ok();
}

Status CorpusIndex::CheckCouplets(int slot) const {
  const int length = kLengths[slot];
  const LengthTables& t = slots_[slot];
  const std::string form = std::to_string(length) + "-character ";
  std::vector<uint32_t> claimed(t.couplets.size());
  for (int place = 0; place < 3; ++place) {
    const int at = PositionOf(static_cast<Place>(place), length);
    const CoupletPostings& cp = t.couplet_postings[place];
    if (Status scattered =
            ScatterRuns(cp.keys, cp.starts, cp.couplets, form + "couplet postings", &claimed);
        !scattered.ok()) {
      return scattered;
    }
    for (size_t k = 0; k < t.couplets.size(); ++k) {
      const Couplet c = t.couplets[k];
      const uint32_t key = uint32_t{t.texts[size_t{c.first} * length + at]} << 16 |
                           t.texts[size_t{c.second} * length + at];
      if (key != claimed[k]) return Damaged(form + "couplet posting names the wrong couplet");
    }
  }
  return Status::Ok();
}

LineSource CorpusIndex::Source(int length, uint32_t line) const {
  const uint32_t poem = Traits(length, line).source;
  const size_t s = size_t{poem} * sections::kSourceFields;
  const auto simplified = [this](uint32_t at) {
    return Utf16ToUtf8(poems_.Simplify(Utf8ToUtf16(source_text_.data() + at)));
  };
  return {poem,
          simplified(sources_[s]),
          simplified(sources_[s + 1]),
          static_cast<Dynasty>(sources_[s + 2]),
          source_text_.data() + sources_[s + 3],
          source_text_.data() + sources_[s + 4]};
}

std::u16string_view CorpusIndex::Written(int length, uint32_t line) const {
  return poems_.Traditional(Traits(length, line).source).substr(WrittenAt(length, line), length);
}

std::span<const uint32_t> CorpusIndex::LinesWith(char16_t character, int length,
                                                 int position) const {
  if (position < 0 || position >= length) return {};
  const Postings& p = Slot(length).postings[position];
  const auto it = std::lower_bound(p.characters.begin(), p.characters.end(), character);
  if (it == p.characters.end() || *it != character) return {};
  const size_t k = static_cast<size_t>(it - p.characters.begin());
  return p.lines.subspan(p.starts[k], p.starts[k + 1] - p.starts[k]);
}

std::span<const uint32_t> CorpusIndex::CoupletsWith(char16_t first, char16_t second, int length,
                                                    int position) const {
  int place = 0;
  while (place < 3 && PositionOf(static_cast<Place>(place), length) != position) ++place;
  if (place == 3) return {};
  const CoupletPostings& p = Slot(length).couplet_postings[place];
  const uint32_t key = uint32_t{first} << 16 | second;
  const auto it = std::lower_bound(p.keys.begin(), p.keys.end(), key);
  if (it == p.keys.end() || *it != key) return {};
  const size_t k = static_cast<size_t>(it - p.keys.begin());
  return p.couplets.subspan(p.starts[k], p.starts[k + 1] - p.starts[k]);
}

std::u16string_view CorpusIndex::CharacteristicCharacters(MoodClass mood) const {
  const auto k = static_cast<size_t>(mood);
  if (k >= kMoodClasses) return {};
  const std::u16string_view all(mood_characters_.data() + k * kCharacteristicCharacters,
                                kCharacteristicCharacters);
  return all.substr(0, all.find(u'\0'));
}

bool CorpusIndex::IsMiddleCouplet(int length, uint32_t couplet) const {
  return (Slot(length).couplet_kinds[couplet] & sections::kMiddleCouplet) != 0;
}

Reading CorpusIndex::ReadingOf(char16_t character) const {
  return UnpackReading(readings_[character]);
}

ClassicalReading CorpusIndex::ClassicalReadingOf(char16_t character) const {
  return UnpackClassical(classical_readings_[character]);
}

}  // namespace miravel::poemd
