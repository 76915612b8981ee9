// Collects poems and turns them into a poem index (corpus_index.h).
//
// A poem's paragraphs are split into lines (line_splitter.h: editors' notes
// and quoted prose left out); each line enters once, in simplified
// characters. A line found in several poems keeps the best-ranked one as its
// source, and is read (both readings, classical_line.h) as that poem writes it. Consecutive pieces
// of one length are consecutive lines (for the association vectors); in a poem of shi whose lines
// are all of one length, lines 1-2, 3-4, ... are its couplets. Each source
// poem gets a subject (subject_learner.h), and the lines are numbered by
// their poems' subjects, then in the order they came.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "poemd/index/corpus_index.h"
#include "poemd/indexing/classical_readings.h"
#include "poemd/indexing/line_splitter.h"
#include "poemd/indexing/traditional_converter.h"
#include "poemd/indexing/unihan_readings.h"
#include "poemd/indexing/word_readings.h"

namespace miravel::poemd {

enum class Collection : uint8_t {
  kTangSongShi,  // the Tang and Song shi
  kOtherShi,     // the smaller collections of shi
  kCi,
  kDrama,  // drama and colloquial songs
};

struct PoemText {
  std::string title;   // UTF-8, traditional or simplified
  std::string author;  // UTF-8
  Dynasty dynasty = Dynasty::kUnknown;
  Collection collection = Collection::kTangSongShi;
  std::vector<std::string> paragraphs;  // UTF-8
};

struct IndexBuildOptions {
  // Lines made only of this many of the most frequent characters are plain.
  size_t common_characters = kCommonCharacters;
  // Readings in context; without it every character reads as ICU reads it
  // alone. Not owned; must outlive the builder.
  WordReadings* readings = nullptr;
  // Classical readings; without them the modern reading stands in for the
  // classical one (and no line has a 平水韵 rhyme). Not owned.
  const ClassicalReadings* classical = nullptr;
  // The readings dictionaries give each character, for the readings a
  // polyphone may have; without them, only those of the words. Not owned.
  const UnihanReadings* dictionaries = nullptr;
  // Converts the poems the corpus keeps only in simplified characters to
  // traditional ones; without it they stand as they are. Not owned.
  const TraditionalConverter* traditional = nullptr;
  uint64_t seed = 2026;
  // How many characters get association vectors (the most frequent).
  size_t cohesion_characters = 6000;
  size_t parallel_characters = 3000;
  // At most this many subjects (a small corpus gets fewer).
  size_t subjects = 256;
};

class CorpusIndexBuilder {
 public:
  explicit CorpusIndexBuilder(IndexBuildOptions options = {});
  ~CorpusIndexBuilder();

  // REQUIRES: Finish() has not been called (else std::logic_error).
  void AddPoem(const PoemText& poem);
  // 0 once the builder is spent.
  size_t LinesSoFar() const;
  // The lines the splitter left out so far (line_splitter.h).
  LeftOut LinesLeftOut() const;

  // The index file's bytes. REQUIRES: called once (a second call throws
  // std::logic_error); the builder is spent afterwards.
  std::vector<std::byte> Finish();
  // After Finish: what the learners of moods, of parallel couplets and of
  // subjects say of how well they learned (mood_learner.h,
  // parallel_learner.h, subject_learner.h).
  const std::string& LearnersReport() const { return report_; }
  // The index itself, through the same checks a loaded file passes; the
  // same REQUIRES as Finish.
  CorpusIndex Build();

 private:
  struct State;
  std::unique_ptr<State> state_;
  std::string report_;
};

}  // namespace miravel::poemd
