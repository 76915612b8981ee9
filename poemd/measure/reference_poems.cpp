#include "poemd/measure/reference_poems.h"

#include <algorithm>

#include "poemd/indexing/classical_line.h"
#include "poemd/indexing/corpus_split.h"
#include "poemd/indexing/line_splitter.h"
#include "poemd/indexing/poetry_package.h"
#include "poemd/measure/poem_source.h"

namespace miravel::poemd {
namespace {

LineReading ReadLine(const SplitPiece& piece, bool simplified_script,
                     const ClassicalReadings* classical, WordReadings& words) {
  LineReading reading;
  std::vector<Reading> alone;
  for (char16_t c : piece.line) alone.push_back(words.ReadAlone(c));
  const std::vector<Reading> read = words.ReadLine(piece.line);
  for (size_t i = 0; i < read.size(); ++i) {
    if (read[i].tone == Tone::kLevel) reading.modern.level |= 1 << i;
    if (read[i].tone == Tone::kOblique) reading.modern.oblique |= 1 << i;
  }
  reading.xinyun = read.back().rhyme;
  if (classical == nullptr) {
    reading.classical = reading.modern;
    return reading;
  }
  const ClassicalLine line =
      ReadClassically(*classical, piece.written, simplified_script, read, alone);
  reading.classical = line.tones;
  reading.pingshui = line.rhymes;
  return reading;
}

RealPoem ReadPoem(const std::vector<SplitPiece>& pieces, const ClassicalReadings* classical,
                  WordReadings& words) {
  RealPoem poem;
  const bool simplified_script = std::none_of(
      pieces.begin(), pieces.end(), [](const SplitPiece& p) { return p.line != p.written; });
  for (const SplitPiece& piece : pieces) {
    poem.lines.push_back(piece.line);
    poem.readings.push_back(ReadLine(piece, simplified_script, classical, words));
  }
  const int length = static_cast<int>(poem.lines[0].size());
  const LineReading& first = poem.readings[0];
  poem.first_line_rhymes =
      first.classical.CanBeLevel(length - 1) && (first.pingshui & poem.readings[1].pingshui) != 0;
  return poem;
}

}  // namespace

PoemOrder OrderOf(const RealPoem& poem, Place place, RhymeBook book) {
  const int length = static_cast<int>(poem.lines[0].size());
  std::u16string hidden;
  for (const std::u16string& line : poem.lines) hidden += line[PositionOf(place, length)];
  return OrderFor(hidden, length, place, poem.first_line_rhymes, book);
}

StatusOr<Reference> ReadReference(const std::string& poetry, const ClassicalReadings* classical,
                                  WordReadings* words, std::span<const uint8_t> classes) {
  Reference reference;
  LineSplitter splitter;
  WordReadings alone;
  WordReadings& readings = words != nullptr ? *words : alone;
  std::vector<std::vector<std::u16string>> judged;
  ParallelLearner lushi[2];
  for (const VerseFile& file : VerseFiles(poetry)) {
    const Status read = ReadPoems(file, [&](const PoemText& poem) {
      const std::vector<SplitPiece> pieces = splitter.Split(poem.paragraphs);
      std::vector<std::u16string> lines;
      for (const SplitPiece& piece : pieces) lines.push_back(piece.line);
      switch (PartOf(poem, lines)) {
        case SplitPart::kHeldOut:
          reference.held_out[LengthSlot(static_cast<int>(lines[0].size()))].push_back(
              ReadPoem(pieces, classical, readings));
          break;
        case SplitPart::kJudge:
          if (poem.collection != Collection::kDrama) {
            reference.subjects.AddPoem(lines, poem.collection == Collection::kCi);
          }
          if (lines.size() == 8 && !lines[0].empty() &&
              (poem.collection == Collection::kTangSongShi ||
               poem.collection == Collection::kOtherShi)) {
            lushi[LengthSlot(static_cast<int>(lines[0].size()))].AddPoem(lines);
          }
          judged.push_back(std::move(lines));
          break;
        case SplitPart::kIndex:
          break;
      }
    });
    // A file of another kind (a list of names) holds no poems; one that
    // cannot be read would leave the reference short.
    if (!read.ok() && read.code() != StatusCode::kCorruption) return read;
  }
  if (judged.empty()) return Status::NotFound("no poems of the judge's quarter under " + poetry);
  for (int slot = 0; slot < 2; ++slot) {
    reference.lushi[slot] = lushi[slot].Poems();
    reference.parallel[slot] =
        lushi[slot].Learn(std::vector<uint8_t>(classes.begin(), classes.end()), 2026 + slot);
    reference.real_middle_parallel[slot] = lushi[slot].HeldOutMiddleParallel();
    reference.real_outer_parallel[slot] = lushi[slot].HeldOutOuterParallel();
  }
  reference.subjects.Learn();
  for (const auto& lines : judged) {
    for (const auto& line : lines) reference.judge.SeeLine(line);
  }
  for (const auto& lines : judged) {
    for (size_t k = 0; k + 1 < lines.size(); ++k) {
      if (!lines[k].empty() && lines[k].size() == lines[k + 1].size()) {
        reference.judge.SeePair(lines[k], lines[k + 1]);
      }
    }
  }
  return reference;
}

}  // namespace miravel::poemd
