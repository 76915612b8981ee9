// The poem service's corpus: every line of five or seven characters of the
// classical poems, in simplified characters, with
//   - its source poem (title, poet, dynasty) and the rank of its collection;
//   - the tones of its characters in two readings, and the rhymes of its
//     last one: classical (the 广韵 readings of the poem's own text, the
//     entering tone counted 仄; the 平水韵 rhymes) and modern (Mandarin as
//     the line's words read it; the 中华新韵 group);
//   - for each length and position, the lines that hold a character there;
//   - the real couplets (two lines of a regulated poem that belong together),
//     found by the characters at one place in both lines, and which of them
//     are the middle couplets of a 律诗;
//   - the association vectors learned from consecutive lines (association.h);
//   - each line's moods and each mood's images (moods.h);
//   - the model of parallel couplets learned from 律诗 (parallel_model.h);
//   - what each source poem is about, its subject (subjects.h): lines are
//     numbered by their poems' subjects, so that a subject's lines that hold
//     a character at a place are one run of its postings in each rank.
//   - the pinyin of every character and of every line in context
//     (syllables.h).
//
// Built by CorpusIndexBuilder (corpus_index_builder.h), saved to one file
// (index_file.h), and loaded by the service: every count, offset and value
// is checked before the index is handed out, so that no lookup can leave its
// arrays and no line can be served that does not hold its character. Then
// read-only, and safe to share between threads.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/status.h"
#include "poemd/index/association.h"
#include "poemd/index/index_file.h"
#include "poemd/index/moods.h"
#include "poemd/index/parallel_model.h"
#include "poemd/index/source_poems.h"
#include "poemd/index/subjects.h"
#include "poemd/index/syllables.h"
#include "poemd/verse/cjk.h"
#include "poemd/verse/places.h"
#include "poemd/verse/tonal_pattern.h"
#include "poemd/verse/tones.h"

namespace miravel::poemd {

inline constexpr size_t kCommonCharacters = 3500;

// A character's classical reading as the index packs it: its level rhymes
// in bits 0-29, bit 30 when it has a level reading, bit 31 an oblique one.
constexpr uint32_t PackClassical(const ClassicalReading& r) {
  return (r.rhymes & kAllPingshuiRhymes) | (r.level ? 1u << 30 : 0) | (r.oblique ? 1u << 31 : 0);
}
constexpr ClassicalReading UnpackClassical(uint32_t packed) {
  return {(packed >> 30 & 1) != 0, (packed >> 31 & 1) != 0, false, packed & kAllPingshuiRhymes};
}

// How readily a line is taken, best first.
enum class SourceRank : uint8_t {
  kRegulatedShi = 0,  // Tang and Song shi of four or eight lines of one length
  kShi = 1,           // the other Tang and Song shi
  kCiAndOther = 2,    // ci, and the smaller collections of shi
  kDrama = 3,         // drama and colloquial songs: only where nothing else serves
};
inline constexpr int kSourceRanks = 4;

enum class Dynasty : uint8_t { kUnknown, kWei, kTang, kFiveDynasties, kSong, kYuan, kQing };
inline constexpr int kDynasties = 7;
// "唐", "宋", ... in UTF-8; "" for kUnknown.
const char* DynastyName(Dynasty dynasty);

// What the index knows of one line (tonal_pattern.h gives the masks' sense).
struct LineTraits {
  uint32_t source = 0;
  PingshuiRhymes pingshui = 0;        // of the last character, in the classical reading
  LineTones classical;                // a character of both classes in both masks
  LineTones modern;                   // a neutral tone in neither mask
  RhymeGroup xinyun = kNoRhymeGroup;  // of the last character, in the modern reading
  uint8_t flags = 0;                  // kPlainFlag | rank << kRankShift
  PackedMoods moods;                  // what it speaks of (moods.h)

  static constexpr uint8_t kPlainFlag = 1;
  static constexpr int kRankShift = 1;
  // Every character is among the corpus's most frequent: a line a reader
  // takes in at once.
  bool plain() const { return (flags & kPlainFlag) != 0; }
  SourceRank rank() const { return static_cast<SourceRank>(flags >> kRankShift); }
  int mood(Mood m) const { return moods.Level(m); }
};
static_assert(sizeof(LineTraits) == 16);

struct LineSource {
  uint32_t poem = 0;   // its whole text: CorpusIndex::Poems()
  std::string title;   // UTF-8, simplified as the index reads its lines
  std::string author;  // UTF-8, simplified
  Dynasty dynasty = Dynasty::kUnknown;
  std::string traditional_title;   // UTF-8, as the poet wrote it
  std::string traditional_author;  // UTF-8
};

struct Couplet {
  uint32_t first = 0;
  uint32_t second = 0;
};

// A subject's lines that hold a character at a place, by source rank (each
// in line order).
struct SubjectLines {
  std::span<const uint32_t> by_rank[kSourceRanks];

  size_t size() const {
    size_t n = 0;
    for (const auto& lines : by_rank) n += lines.size();
    return n;
  }
};

class CorpusIndex {
 public:
  // The error of IndexFile::Open, or Corruption when the file is no index
  // of this version or is damaged.
  static StatusOr<CorpusIndex> Load(const std::string& path);
  static StatusOr<CorpusIndex> FromFile(IndexFile file);

  size_t LineCount(int length) const { return Slot(length).traits.size(); }
  std::u16string_view Text(int length, uint32_t line) const {
    return {Slot(length).texts.data() + static_cast<size_t>(line) * length,
            static_cast<size_t>(length)};
  }
  const LineTraits& Traits(int length, uint32_t line) const { return Slot(length).traits[line]; }
  LineSource Source(int length, uint32_t line) const;
  // Asks the processor to bring the line's traits and text near before
  // they are read: a caller that reads many scattered lines (the composer
  // reads hundreds a poem, each a miss in memory) issues this a few lines
  // ahead. A hint only; `line` need not be valid. Always inlined: GCC takes
  // a function that only prefetches for one without effect, and drops the
  // calls to it.
  [[gnu::always_inline]] void Prefetch(int length, uint32_t line) const {
    const LengthTables& slot = Slot(length);
    if (line >= slot.traits.size()) return;
    __builtin_prefetch(slot.traits.data() + line);
    __builtin_prefetch(slot.texts.data() + static_cast<size_t>(line) * length);
  }
  // The source poems, whole, in both scripts.
  const SourcePoems& Poems() const { return poems_; }
  // Where the line begins in its source poem's text, and the line as its
  // poem writes it, in traditional characters.
  uint32_t WrittenAt(int length, uint32_t line) const { return Slot(length).written_at[line]; }
  std::u16string_view Written(int length, uint32_t line) const;
  // Lines of `length` that hold `character` at 0-based `position`: by
  // source rank, then in line order (by subject, then in corpus order).
  std::span<const uint32_t> LinesWith(char16_t character, int length, int position) const;
  std::span<const uint32_t> LinesWith(char16_t character, int length, Place place) const {
    return LinesWith(character, length, PositionOf(place, length));
  }

  // What each source poem is about.
  const SubjectModel& Subjects() const { return subjects_; }
  // The line's poem's subject, and how close its poem is to a subject or
  // to another line's poem (SubjectModel::Closeness).
  SubjectId SubjectOf(int length, uint32_t line) const {
    return subjects_.OfPoem(Traits(length, line).source);
  }
  float Closeness(int length, uint32_t line, SubjectId subject) const {
    return subjects_.PoemCloseness(Traits(length, line).source, subject);
  }
  float Closeness(int length, uint32_t line, int other_length, uint32_t other) const {
    return subjects_.PoemsCloseness(Traits(length, line).source,
                                    Traits(other_length, other).source);
  }
  // The lines of `length` whose poems are of `subject`: [first, end).
  // REQUIRES: subject < Subjects().Count().
  std::pair<uint32_t, uint32_t> SubjectLineRange(SubjectId subject, int length) const {
    const auto& starts = Slot(length).subject_starts;
    return {starts[subject], starts[subject + 1]};
  }
  // LinesWith's lines whose poems are of `subject`, by rank: a binary
  // search in each rank's run. REQUIRES: subject < Subjects().Count().
  SubjectLines LinesWith(char16_t character, int length, int position, SubjectId subject) const;

  size_t CoupletCount(int length) const { return Slot(length).couplets.size(); }
  Couplet CoupletAt(int length, uint32_t couplet) const { return Slot(length).couplets[couplet]; }
  // Whether the couplet is a middle couplet of a 律诗 (its lines 3-4 or 5-6),
  // which the form asks to run in parallel.
  bool IsMiddleCouplet(int length, uint32_t couplet) const;
  // Real couplets of `length` whose first line holds `first` at
  // `position` and whose second line holds `second` there; kept for the
  // head, middle and tail positions only (empty for any other).
  std::span<const uint32_t> CoupletsWith(char16_t first, char16_t second, int length,
                                         int position) const;

  // The character's reading on its own, as the index recorded it: modern,
  // and classical (its readings of all the characters that simplify to it).
  Reading ReadingOf(char16_t character) const;
  ClassicalReading ClassicalReadingOf(char16_t character) const;
  const Association& Associations() const { return association_; }
  const ParallelModel& Parallelism() const { return parallel_; }
  // The pinyin of characters and of lines in context.
  const Syllables& Pinyin() const { return syllables_; }
  // The characters that mark `mood` most, its images, most marked first.
  std::u16string_view CharacteristicCharacters(MoodClass mood) const;
  // The file the index lives in (its size, for the log).
  const IndexFile& File() const { return file_; }

 private:
  struct Postings {
    std::span<const char16_t> characters;
    std::span<const uint32_t> starts;  // one more than characters
    std::span<const uint32_t> lines;
  };
  struct CoupletPostings {
    std::span<const uint32_t> keys;  // first << 16 | second, ascending
    std::span<const uint32_t> starts;
    std::span<const uint32_t> couplets;
  };
  struct LengthTables {
    std::span<const char16_t> texts;
    std::span<const LineTraits> traits;
    std::span<const uint32_t> written_at;  // one a line
    std::span<const Couplet> couplets;
    std::span<const uint8_t> couplet_kinds;    // one a couplet
    std::span<const uint32_t> subject_starts;  // one a subject, and one more
    Postings postings[7];                      // by position
    CoupletPostings couplet_postings[3];       // by place
  };
  const LengthTables& Slot(int length) const { return slots_[LengthSlot(length)]; }
  // One check per family of sections.
  Status Check() const;
  Status CheckReadingsAndSources() const;
  Status CheckLines(int slot) const;
  Status CheckPostings(int slot) const;
  Status CheckCouplets(int slot) const;
  // The lines are numbered by subject, as kSubjectLines says.
  Status CheckSubjectLines(int slot) const;

  IndexFile file_;
  LengthTables slots_[2];
  std::span<const uint8_t> readings_;             // 65536 entries: rhyme | tone << 4
  std::span<const uint32_t> classical_readings_;  // 65536 entries: PackClassical
  std::span<const uint32_t> sources_;             // sections::kSourceFields per source
  std::span<const char> source_text_;             // UTF-8 texts, each ending '\0', as written
  std::span<const char16_t> mood_characters_;
  Association association_;
  ParallelModel parallel_;
  SourcePoems poems_;
  SubjectModel subjects_;
  Syllables syllables_;
};

}  // namespace miravel::poemd
