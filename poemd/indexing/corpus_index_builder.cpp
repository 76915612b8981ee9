#include "poemd/indexing/corpus_index_builder.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <set>
#include <stdexcept>
#include <thread>
#include <unordered_map>

#include "poemd/index/index_sections.h"
#include "poemd/indexing/association_learner.h"
#include "poemd/indexing/character_syllables.h"
#include "poemd/indexing/classical_line.h"
#include "poemd/indexing/index_sections_writer.h"
#include "poemd/indexing/line_splitter.h"
#include "poemd/indexing/mood_learner.h"
#include "poemd/indexing/parallel_learner.h"
#include "poemd/indexing/source_table.h"
#include "poemd/indexing/subject_learner.h"
#include "poemd/verse/character_frequency.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

uint8_t PackReading(Reading r) {
  return static_cast<uint8_t>(r.rhyme | static_cast<int>(r.tone) << 4);
}

SourceRank RankOf(Collection collection, bool regulated) {
  switch (collection) {
    case Collection::kTangSongShi:
      return regulated ? SourceRank::kRegulatedShi : SourceRank::kShi;
    case Collection::kOtherShi:
    case Collection::kCi:
      return SourceRank::kCiAndOther;
    case Collection::kDrama:
      return SourceRank::kDrama;
  }
  return SourceRank::kDrama;
}

Register RegisterOf(Collection collection) {
  switch (collection) {
    case Collection::kTangSongShi:
    case Collection::kOtherShi:
      return Register::kShi;
    case Collection::kCi:
      return Register::kCi;
    case Collection::kDrama:
      return Register::kDrama;
  }
  return Register::kDrama;
}

}  // namespace

struct CorpusIndexBuilder::State {
  explicit State(IndexBuildOptions o)
      : options(o),
        subjects({.subjects = o.subjects, .dictionary = o.readings}),
        syllables(o.readings, o.dictionaries, o.classical) {}

  IndexBuildOptions options;
  LineSplitter splitter;
  Phonetics icu;

  struct Lines {
    std::u16string texts;
    std::vector<LineTraits> traits;
    std::vector<uint32_t> written_at;  // where each begins in its source's text
    std::vector<uint16_t> syllables;   // CharacterSyllables::ReadLine's, `length` a line
    std::unordered_map<std::u16string, uint32_t> ids;
    std::vector<std::pair<uint32_t, uint32_t>> consecutive;
    std::set<std::pair<uint32_t, uint32_t>> couplets;
    std::set<std::pair<uint32_t, uint32_t>> middle_couplets;  // of 律诗
  };
  Lines lines[2];
  SourceTable sources{splitter, options.traditional};
  LeftOut left_out;
  MoodLearner moods;
  ParallelLearner parallel;
  SubjectLearner subjects;
  CharacterSyllables syllables;
  size_t poems = 0;
  std::string report;  // what the learners say

  // The line's tones and rhymes, both readings, and its pinyin
  // (`syllables`, one a character). `text`: simplified; `piece` as its poem
  // writes it.
  void ReadLine(const SplitPiece& piece, bool simplified_script, LineTraits& traits,
                std::span<uint16_t> line_syllables) {
    const std::u16string_view text = piece.line;
    const std::vector<Reading> alone = ReadAlone(text);
    std::vector<std::string> pinyin;
    std::vector<bool> in_word;
    const std::vector<Reading> read =
        options.readings ? options.readings->ReadLine(text, &pinyin, &in_word) : alone;
    syllables.ReadLine(text, pinyin, in_word, line_syllables);
    traits.modern = {};
    for (size_t i = 0; i < read.size(); ++i) {
      if (read[i].tone == Tone::kLevel) traits.modern.level |= 1 << i;
      if (read[i].tone == Tone::kOblique) traits.modern.oblique |= 1 << i;
    }
    traits.xinyun = read.back().rhyme;
    if (options.classical == nullptr) {
      // No classical readings: the modern reading stands in for them.
      traits.classical = traits.modern;
      traits.pingshui = 0;
      return;
    }
    const ClassicalLine classical =
        ReadClassically(*options.classical, piece.written, simplified_script, read, alone);
    traits.classical = classical.tones;
    traits.pingshui = classical.rhymes;
  }

  std::vector<Reading> ReadAlone(std::u16string_view text) {
    std::vector<Reading> out;
    for (char16_t c : text) out.push_back(ReadingAlone(c));
    return out;
  }

  Reading ReadingAlone(char16_t c) {
    return options.readings ? options.readings->ReadAlone(c) : icu.Of(c);
  }

  // A poem's pieces (simplified) to the learners of moods and of parallel
  // couplets (a poem of shi in lines of one length when `shi`).
  void LearnFrom(const std::vector<std::u16string>& texts, MoodClass title, bool shi);
  // Each line's moods, from its words and its source's title.
  void MarkMoods();
  std::vector<char16_t> ByFrequencyOverBothLengths() const;
  // Flags the lines made only of the most frequent characters.
  void MarkPlainLines(const std::vector<char16_t>& by_frequency);
  LearnedAssociation LearnAssociation(const std::vector<char16_t>& by_frequency) const;
  // Numbers the lines of `slot` anew by their poems' subjects (in the order
  // they came within one); the couplets and consecutive lines follow.
  // Returns where each subject's lines start, and one more entry.
  std::vector<uint32_t> NumberBySubject(int slot, const LearnedSubjects& learned);
};

CorpusIndexBuilder::CorpusIndexBuilder(IndexBuildOptions options)
    : state_(std::make_unique<State>(options)) {}

CorpusIndexBuilder::~CorpusIndexBuilder() = default;

size_t CorpusIndexBuilder::LinesSoFar() const {
  if (!state_) return 0;
  return state_->lines[0].traits.size() + state_->lines[1].traits.size();
}

void CorpusIndexBuilder::AddPoem(const PoemText& poem) {
  if (!state_) throw std::logic_error("CorpusIndexBuilder::AddPoem called after Finish");
  State& s = *state_;
  const std::vector<SplitPiece> pieces = s.splitter.Split(poem.paragraphs, &s.left_out);
  const auto is_line = [](const SplitPiece& p) { return !p.line.empty(); };
  const bool uniform =
      !pieces.empty() && std::all_of(pieces.begin(), pieces.end(), [&](const SplitPiece& p) {
        return is_line(p) && p.line.size() == pieces[0].line.size();
      });
  const bool shi =
      poem.collection == Collection::kTangSongShi || poem.collection == Collection::kOtherShi;
  const bool regulated = uniform && (pieces.size() == 4 || pieces.size() == 8);
  const SourceRank rank = RankOf(poem.collection, regulated);
  // Written in simplified characters unless some line changes when simplified.
  const bool simplified_script =
      std::none_of(pieces.begin(), pieces.end(),
                   [](const SplitPiece& p) { return !p.line.empty() && p.line != p.written; });

  const std::u16string title = s.splitter.Simplified(poem.title);
  // A ci's or a song's title names its tune, not what it is about.
  const MoodClass title_mood = shi ? MoodOfTitle(title) : MoodClass::kOther;
  std::vector<std::u16string> texts;
  for (const SplitPiece& piece : pieces) {
    texts.push_back(piece.line.empty() ? s.splitter.Simplified(piece.written) : piece.line);
  }
  // Drama speaks a tongue of its own: it would teach moods its words.
  const bool drama = poem.collection == Collection::kDrama;
  if (!drama) s.LearnFrom(texts, title_mood, shi && uniform);

  std::optional<uint32_t> source;
  std::vector<std::optional<uint32_t>> ids;
  for (const SplitPiece& piece : pieces) {
    if (!is_line(piece)) {
      ids.emplace_back();
      continue;
    }
    State::Lines& table = s.lines[LengthSlot(static_cast<int>(piece.line.size()))];
    const auto [it, added] =
        table.ids.try_emplace(piece.line, static_cast<uint32_t>(table.traits.size()));
    ids.emplace_back(it->second);
    if (added) {
      table.texts += piece.line;
      table.traits.emplace_back();
      table.written_at.emplace_back();
      table.syllables.resize(table.syllables.size() + piece.line.size());
    } else if (table.traits[it->second].rank() <= rank) {
      continue;
    }
    // The line as its best source writes it, read in that source's script.
    if (!source) {
      source = s.sources.Add(poem, simplified_script, title_mood);
      s.subjects.AddPoem(shi ? title : u"", title_mood, texts, RegisterOf(poem.collection));
    }
    LineTraits& traits = table.traits[it->second];
    s.ReadLine(piece, simplified_script, traits,
               std::span(table.syllables)
                   .subspan(size_t{it->second} * piece.line.size(), piece.line.size()));
    traits.source = *source;
    table.written_at[it->second] = static_cast<uint32_t>(piece.at);
    traits.flags = static_cast<uint8_t>(static_cast<int>(rank) << LineTraits::kRankShift);
  }
  for (size_t k = 0; k + 1 < pieces.size(); ++k) {
    if (ids[k] && ids[k + 1] && pieces[k].line.size() == pieces[k + 1].line.size()) {
      s.lines[LengthSlot(static_cast<int>(pieces[k].line.size()))].consecutive.emplace_back(
          *ids[k], *ids[k + 1]);
    }
  }
  if (shi && regulated) {
    for (size_t k = 0; k < pieces.size(); ++k) {
      const State::Lines& table = s.lines[LengthSlot(static_cast<int>(pieces[k].line.size()))];
      s.syllables.CountInVerse(pieces[k].line, table.traits[*ids[k]].classical, k);
    }
  }
  if (shi && uniform && pieces.size() % 2 == 0) {
    State::Lines& table = s.lines[LengthSlot(static_cast<int>(pieces[0].line.size()))];
    for (size_t k = 0; k + 1 < pieces.size(); k += 2) {
      table.couplets.emplace(*ids[k], *ids[k + 1]);
      // Lines 3-4 and 5-6 of a 律诗, which run in parallel.
      if (pieces.size() == 8 && (k == 2 || k == 4)) {
        table.middle_couplets.emplace(*ids[k], *ids[k + 1]);
      }
    }
  }
}

LeftOut CorpusIndexBuilder::LinesLeftOut() const { return state_ ? state_->left_out : LeftOut{}; }

void CorpusIndexBuilder::State::LearnFrom(const std::vector<std::u16string>& texts, MoodClass title,
                                          bool shi) {
  // Every tenth poem is held back, to tell how well moods are found.
  moods.AddPoem(title, texts, poems++ % 10 == 9);
  if (shi) parallel.AddPoem(texts);
}

void CorpusIndexBuilder::State::MarkMoods() {
  moods.Learn(options.seed);
  report += moods.Report();
  for (int slot = 0; slot < 2; ++slot) {
    const int length = kLengths[slot];
    Lines& t = lines[slot];
    for (size_t line = 0; line < t.traits.size(); ++line) {
      LineTraits& traits = t.traits[line];
      traits.moods = moods.LineMoods(std::u16string_view(t.texts).substr(line * length, length),
                                     sources.MoodOf(traits.source));
    }
  }
}

std::vector<char16_t> CorpusIndexBuilder::State::ByFrequencyOverBothLengths() const {
  std::vector<uint64_t> frequency(65536, 0);
  for (const Lines& t : lines) {
    for (char16_t c : t.texts) ++frequency[c];
  }
  return ByFrequency(frequency);
}

void CorpusIndexBuilder::State::MarkPlainLines(const std::vector<char16_t>& by_frequency) {
  std::vector<bool> common(65536, false);
  for (size_t k = 0; k < std::min(by_frequency.size(), options.common_characters); ++k) {
    common[by_frequency[k]] = true;
  }
  for (int slot = 0; slot < 2; ++slot) {
    const int length = kLengths[slot];
    Lines& t = lines[slot];
    for (size_t line = 0; line < t.traits.size(); ++line) {
      const std::u16string_view chars = std::u16string_view(t.texts).substr(line * length, length);
      if (std::all_of(chars.begin(), chars.end(), [&](char16_t c) { return common[c]; })) {
        t.traits[line].flags |= LineTraits::kPlainFlag;
      }
    }
  }
}

LearnedAssociation CorpusIndexBuilder::State::LearnAssociation(
    const std::vector<char16_t>& by_frequency) const {
  AssociationLearner learner(by_frequency, options.cohesion_characters,
                             options.parallel_characters);
  for (int slot = 0; slot < 2; ++slot) {
    const int length = kLengths[slot];
    const Lines& t = lines[slot];
    const auto text = [&](uint32_t line) {
      return std::u16string_view(t.texts).substr(size_t{line} * length, length);
    };
    for (const auto& [a, b] : t.consecutive) learner.AddConsecutive(text(a), text(b));
    for (const auto& [a, b] : t.couplets) learner.AddCouplet(text(a), text(b));
  }
  return learner.Learn(options.seed);
}

std::vector<uint32_t> CorpusIndexBuilder::State::NumberBySubject(int slot,
                                                                 const LearnedSubjects& learned) {
  Lines& t = lines[slot];
  const size_t length = static_cast<size_t>(kLengths[slot]);
  const size_t n = t.traits.size();
  const auto subject = [&](uint32_t line) { return learned.poem_subjects[t.traits[line].source]; };
  std::vector<uint32_t> order(n);  // the new numbers' old ones
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](uint32_t a, uint32_t b) { return subject(a) < subject(b); });
  std::vector<uint32_t> renumbered(n);
  std::u16string texts(n * length, u'\0');
  std::vector<uint16_t> syllables(t.syllables.size());
  std::vector<LineTraits> traits(n);
  std::vector<uint32_t> written_at(n);
  std::vector<uint32_t> starts(learned.name_starts.size() + 1, 0);
  for (uint32_t k = 0; k < n; ++k) {
    renumbered[order[k]] = k;
    std::copy_n(t.texts.begin() + static_cast<std::ptrdiff_t>(order[k] * length), length,
                texts.begin() + static_cast<std::ptrdiff_t>(k * length));
    if (!syllables.empty()) {
      std::copy_n(t.syllables.begin() + static_cast<std::ptrdiff_t>(order[k] * length), length,
                  syllables.begin() + static_cast<std::ptrdiff_t>(k * length));
    }
    traits[k] = t.traits[order[k]];
    written_at[k] = t.written_at[order[k]];
    ++starts[subject(order[k]) + 1];
  }
  std::partial_sum(starts.begin(), starts.end(), starts.begin());
  t.texts = std::move(texts);
  t.syllables = std::move(syllables);
  t.traits = std::move(traits);
  t.written_at = std::move(written_at);
  t.ids.clear();
  for (auto& [first, second] : t.consecutive) {
    first = renumbered[first];
    second = renumbered[second];
  }
  const auto renumber = [&](const std::set<std::pair<uint32_t, uint32_t>>& pairs) {
    std::set<std::pair<uint32_t, uint32_t>> out;
    for (const auto& [first, second] : pairs) out.emplace(renumbered[first], renumbered[second]);
    return out;
  };
  t.couplets = renumber(t.couplets);
  t.middle_couplets = renumber(t.middle_couplets);
  return starts;
}

std::vector<std::byte> CorpusIndexBuilder::Finish() {
  using namespace sections;
  if (!state_) throw std::logic_error("CorpusIndexBuilder::Finish called twice");
  State& s = *state_;
  IndexFileWriter w;
  std::vector<uint8_t> readings(65536, 0);
  std::vector<uint32_t> classical(65536, 0);
  for (char32_t c = kCjkFirst; c <= kCjkLast; ++c) {
    const Reading modern = s.ReadingAlone(static_cast<char16_t>(c));
    readings[c] = PackReading(modern);
    classical[c] =
        s.options.classical != nullptr
            ? PackClassical(s.options.classical->OfSimplified(static_cast<char16_t>(c)))
            : PackClassical({modern.tone == Tone::kLevel, modern.tone == Tone::kOblique});
  }
  w.AddContainer(Id(kReadings), readings);
  w.AddContainer(Id(kClassicalReadings), classical);
  const std::vector<char16_t> by_frequency = s.ByFrequencyOverBothLengths();
  // The subjects are learned on a thread of their own while the lines'
  // moods are.
  LearnedSubjects subjects;
  {
    std::jthread learning([&] { subjects = s.subjects.Learn(s.options.seed); });
    s.MarkPlainLines(by_frequency);
    s.MarkMoods();
  }
  std::vector<std::vector<char16_t>> images;
  for (int c = 0; c < kMoodClasses; ++c) {
    images.push_back(s.moods.Characteristic(static_cast<MoodClass>(c), kCharacteristicCharacters));
  }
  WriteMoodCharacters(w, images);
  s.report += s.subjects.Report();
  WriteSubjects(w, subjects);
  for (int slot = 0; slot < 2; ++slot) {
    w.AddContainer(Id(kSubjectLines, slot), s.NumberBySubject(slot, subjects));
    const State::Lines& t = s.lines[slot];
    w.AddContainer(Id(kTexts, slot), t.texts);
    w.AddContainer(Id(kTraits, slot), t.traits);
    w.AddContainer(Id(kLineWrittenAt, slot), t.written_at);
    WriteCouplets(w, slot, t.texts, t.couplets, t.middle_couplets);
    WritePostings(w, slot, t.texts, t.traits);
  }
  s.sources.Write(w);
  const std::u16string_view texts[2] = {s.lines[0].texts, s.lines[1].texts};
  const std::span<const uint16_t> line_syllables[2] = {s.lines[0].syllables, s.lines[1].syllables};
  s.syllables.Write(w, texts, line_syllables);
  const LearnedAssociation association = s.LearnAssociation(by_frequency);
  WriteAssociation(w, association);
  const size_t regulated = s.parallel.Poems();
  WriteParallel(w, s.parallel.Learn(ParallelClasses(association, s.options.seed), s.options.seed));
  char parallel[200];
  std::snprintf(parallel, sizeof parallel,
                "parallel couplets, learned from %zu 律诗: of those held back, middle couplets "
                "judged parallel %.1f%%, first and last %.1f%%\n",
                regulated, 100 * s.parallel.HeldOutMiddleParallel(),
                100 * s.parallel.HeldOutOuterParallel());
  report_ = s.report + parallel;
  state_.reset();
  return w.Finish();
}

CorpusIndex CorpusIndexBuilder::Build() {
  StatusOr<IndexFile> file = IndexFile::FromBytes(Finish());
  // What the builder writes, the loader accepts; anything else is a bug here.
  if (!file.ok())
    throw std::logic_error("the index built does not load: " + file.status().ToString());
  StatusOr<CorpusIndex> index = CorpusIndex::FromFile(std::move(*file));
  if (!index.ok())
    throw std::logic_error("the index built does not load: " + index.status().ToString());
  return std::move(*index);
}

}  // namespace miravel::poemd
