// miravel-poemd-measure: what the poems of an index read like, measured.
//
// Coverage: of the 3,500 most frequent characters of the corpus, the share
// that a real corpus line holds at each place, per form.
// Then, for each rhyme book asked for and each of the twelve modes (form,
// place, rhyme scheme), over one set of requests (random four-character ones
// from those 3,500 characters, or a set of everyday ones): the poems read
// both classically and in modern tones (rhyme, the ends of the other lines,
// 二四六, the whole template, 孤平, 三平尾, every rule at once), repeated
// characters and rhyme characters, made and drama lines, the time per poem.
// With --poetry (an index built with --measure-split): coherence, judged by
// coherence_judge.h on the quarter of the corpus the index left out, scaled
// so that four random corpus lines score 0 and held-out real quatrains 1;
// the held-out real quatrains measured as the poems are; and with
// --discriminate, a judge trained to tell those real quatrains from poems
// composed for the same hidden characters and rhyme scheme, its accuracy on
// others, and what gives the composed poems away; and what lines speak of,
// by a judge of subjects learned from that quarter (subject_measures.h):
// how close each pair of a quatrain's lines is, ours beside the real ones
// and random lines. Of wish poems, how many of their lines come from poems
// written for their occasion.
//
// Poems come from the composer in this process, or with --service from a
// running miravel-poemd, as a client gets them (in the book it serves).
#include <httplib.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "poemd/index/corpus_index.h"
#include "poemd/indexing/reading_files.h"
#include "poemd/measure/blind_pairs.h"
#include "poemd/measure/lushi_measures.h"
#include "poemd/measure/measure_report.h"
#include "poemd/measure/measure_runs.h"
#include "poemd/measure/poem_source.h"
#include "poemd/measure/reference_poems.h"
#include "poemd/measure/subject_measures.h"
#include "poemd/measure/wish_measures.h"
#include "poemd/tools/measure_options.h"

using namespace miravel;
using namespace miravel::poemd;

namespace {

constexpr Place kPlaces[] = {Place::kHead, Place::kMiddle, Place::kTail};

// The real poems to compare with; nullopt without --poetry, or when they
// cannot be read (said on standard error: `failed` is set then).
std::optional<Reference> ReadReal(const MeasureOptions& options, const CorpusIndex& index,
                                  bool* failed) {
  if (options.poetry.empty()) return std::nullopt;
  StatusOr<ReadingFiles> readings = LoadReadingFiles(options.readings, options.classical);
  StatusOr<Reference> read = readings.ok()
                                 ? ReadReference(options.poetry, readings->Classical(),
                                                 readings->Words(), index.Parallelism().Classes())
                                 : StatusOr<Reference>(readings.status());
  if (!read.ok()) {
    std::fprintf(stderr, "miravel-poemd-measure: %s\n", read.status().message().c_str());
    *failed = true;
    return std::nullopt;
  }
  return std::move(*read);
}

int Run(const MeasureOptions& options) {
  const StatusOr<CorpusIndex> index = CorpusIndex::Load(options.index);
  if (!index.ok()) {
    std::fprintf(stderr, "miravel-poemd-measure: %s\n", index.status().message().c_str());
    return 1;
  }
  const std::vector<char16_t> frequent = MostFrequent(*index, kCommonCharacters);
  PrintCoverage(*index, frequent);
  const std::vector<std::u16string> asked = Requests(options.everyday, options.requests, frequent);

  bool failed = false;
  const std::optional<Reference> reference = ReadReal(options, *index, &failed);
  if (failed) return 1;
  std::optional<httplib::Client> client;
  if (!options.service.empty()) client.emplace("http://" + options.service);
  const PoemSource source{*index, client ? &*client : nullptr, options.tuning};
  if (options.blind_pairs > 0) {
    if (!reference) {
      std::fprintf(stderr, "miravel-poemd-measure: --blind-pairs needs --poetry\n");
      return 2;
    }
    PrintBlindPairs(source, *reference, options.books.front(), options.blind_pairs);
    return 0;
  }
  Calibration calibration;
  if (reference) {
    calibration = Calibrate(*index, *reference);
    PrintRealPoems(*reference);
  }
  const LineReader readers[2] = {LineReader(*index, 5), LineReader(*index, 7)};
  const MeasureSetup setup{source,
                           asked,
                           readers,
                           reference ? &*reference : nullptr,
                           calibration,
                           options.show,
                           options.show_broken,
                           options.terms};
  for (const RhymeBook book : options.books) {
    std::printf("%s (%s), %zu %s requests per mode%s:\n%s\n",
                std::string(RhymeBookKey(book)).c_str(), std::string(RhymeBookName(book)).c_str(),
                asked.size(), options.everyday ? "everyday" : "random",
                client ? (" from " + options.service + ", in the book it serves").c_str() : "",
                ReportHeader().c_str());
    for (const bool first_rhymes : {false, true}) {
      for (const int length : kLengths) {
        for (const Place place : kPlaces) MeasureMode(setup, book, length, place, first_rhymes);
      }
    }
  }
  // Eight-character requests, as many as of four, for the 律诗.
  std::vector<std::u16string> eights;
  for (const std::u16string& four : Requests(false, 2 * options.requests, frequent)) {
    if (eights.empty() || eights.back().size() == 8) {
      eights.push_back(four);
    } else {
      eights.back() += four;
    }
  }
  if (eights.size() > 1 && eights.back().size() != 8) eights.pop_back();
  for (const RhymeBook book : options.books) {
    std::printf("%s (%s), poems of eight lines, %zu requests per form and place:\n",
                std::string(RhymeBookKey(book)).c_str(), std::string(RhymeBookName(book)).c_str(),
                eights.size());
    MeasureLushi(setup, eights, book);
    std::printf("%s (%s), wish poems in every mode, three seeds each:\n",
                std::string(RhymeBookKey(book)).c_str(), std::string(RhymeBookName(book)).c_str());
    MeasureWishes(source, readers, book, options.show);
    MeasureWishSources(source, readers, book);
    if (reference) MeasureLinePairs(source, readers, *reference, book);
  }
  if (options.discriminate && reference) {
    for (const RhymeBook book : options.books) {
      Discriminate(source, *reference, book, options.explain);
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const CommandLine<MeasureOptions> parsed = ParseMeasureOptions(argc, argv);
  if (const auto* answer = std::get_if<CommandLineAnswer>(&parsed)) return Give(*answer);
  return Run(std::get<MeasureOptions>(parsed));
}
