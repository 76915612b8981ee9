#include "poemd/measure/measure_runs.h"

#include <chrono>
#include <cstdio>
#include <random>

#include "poemd/measure/discriminator.h"
#include "poemd/measure/measure_report.h"
#include "poemd/measure/mode_tally.h"
#include "poemd/measure/term_shares.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

constexpr Place kPlaces[] = {Place::kHead, Place::kMiddle, Place::kTail};

double Mean(const std::vector<double>& values) {
  double sum = 0;
  for (double v : values) sum += v;
  return values.empty() ? 0 : sum / static_cast<double>(values.size());
}

// A real poem as the measures take it; the hidden characters at `place`.
std::vector<ReadLineFacts> FactsOf(const RealPoem& poem) {
  std::vector<ReadLineFacts> read;
  for (size_t i = 0; i < poem.lines.size(); ++i) read.push_back({poem.lines[i], poem.readings[i]});
  return read;
}
// A line with each character's tone in `classical` or modern reading:
// 平 ○, 仄 ●, either ◐, neither ·; and its rhymes.
std::string Marked(const ReadLineFacts& line, bool classical) {
  const LineTones tones = classical ? line.reading.classical : line.reading.modern;
  std::u16string marks;
  for (size_t k = 0; k < line.text.size(); ++k) {
    const int i = static_cast<int>(k);
    marks += tones.CanBeLevel(i) ? (tones.CanBeOblique(i) ? u'◐' : u'○')
                                 : (tones.CanBeOblique(i) ? u'●' : u'·');
  }
  std::string rhymes;
  for (int p = 1; p <= kPingshuiRhymeCount; ++p) {
    if (line.reading.pingshui & RhymeBit(static_cast<PingshuiRhyme>(p))) {
      rhymes += std::string(PingshuiRhymeName(static_cast<PingshuiRhyme>(p))) + " ";
    }
  }
  return Utf16ToUtf8(line.text) + " " + Utf16ToUtf8(marks) + " " + rhymes +
         std::string(XinyunGroupName(line.reading.xinyun));
}
PoemSample SampleOf(const std::vector<ReadLineFacts>& read, bool first_line_rhymes) {
  PoemSample sample;
  sample.first_line_rhymes = first_line_rhymes;
  for (const ReadLineFacts& line : read) {
    sample.lines.push_back(line.text);
    sample.readings.push_back(line.reading);
  }
  return sample;
}
}  // namespace

void PrintCoverage(const CorpusIndex& index, const std::vector<char16_t>& frequent) {
  std::printf("coverage of the %zu most frequent characters by a real corpus line:\n",
              frequent.size());
  for (int length : kLengths) {
    for (Place place : kPlaces) {
      size_t covered = 0;
      for (char16_t c : frequent) covered += !index.LinesWith(c, length, place).empty();
      static const char* const kNames[] = {"head", "middle", "tail"};
      std::printf("  %d-character, %-6s %6.2f%%\n", length, kNames[static_cast<int>(place)],
                  100.0 * covered / frequent.size());
    }
  }
}

Calibration Calibrate(const CorpusIndex& index, const Reference& reference) {
  Calibration calibration;
  std::mt19937_64 rng(7);
  for (int slot = 0; slot < 2; ++slot) {
    const int length = kLengths[slot];
    std::vector<double> scores;
    for (int k = 0; k < 4000 && index.LineCount(length) > 0; ++k) {
      std::vector<std::u16string> lines;
      for (int i = 0; i < 4; ++i) {
        lines.emplace_back(index.Text(length, rng() % index.LineCount(length)));
      }
      scores.push_back(reference.judge.Poem(lines));
    }
    calibration.random[slot] = Mean(scores);
    scores.clear();
    for (const RealPoem& quatrain : reference.held_out[slot]) {
      scores.push_back(reference.judge.Poem(quatrain.lines));
    }
    calibration.real[slot] = Mean(scores);
    std::printf("judge, %d-character: random lines %.4f, %zu held-out quatrains %.4f\n", length,
                calibration.random[slot], reference.held_out[slot].size(), calibration.real[slot]);
  }
  return calibration;
}

void PrintRealPoems(const Reference& reference) {
  std::printf("held-out real quatrains, read as the index reads its lines:\n%s\n",
              ReportHeader().c_str());
  for (int slot = 0; slot < 2; ++slot) {
    ModeTally tally;
    for (const RealPoem& poem : reference.held_out[slot]) {
      tally.Ask();
      tally.Add(Examine(FactsOf(poem), OrderOf(poem, Place::kHead, RhymeBook::kBoth)));
    }
    std::printf("%s\n", LabelledRow(std::to_string(kLengths[slot]) + " real", tally, 1.0).c_str());
  }
}

void MeasureMode(const MeasureSetup& setup, RhymeBook book, int length, Place place,
                 bool first_rhymes) {
  ModeTally tally;
  TermTally terms;
  std::vector<double> coherence;
  int shown_broken = 0;
  const LineReader& reader = setup.readers[LengthSlot(length)];
  for (size_t r = 0; r < setup.asked.size(); ++r) {
    const PoemOrder order = OrderFor(setup.asked[r], length, place, first_rhymes, book);
    tally.Ask();
    const auto start = std::chrono::steady_clock::now();
    std::vector<TermShare> shares;
    const std::vector<ReadLineFacts> read =
        setup.source.Get(order, r + 1, reader, setup.terms ? &shares : nullptr);
    tally.AddSeconds(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (read.size() != setup.asked[r].size()) {
      std::fprintf(stderr, "miravel-poemd-measure: no poem for request %zu\n", r);
      continue;
    }
    const PoemFacts facts = Examine(read, order);
    tally.Add(facts);
    const ReadingFacts& first = facts.In(ReadsClassically(book));
    const bool modern_rhyme = book != RhymeBook::kBoth || facts.modern.rhymes;
    if (shown_broken < setup.show_broken &&
        (!first.rhymes || !first.whole_template || !modern_rhyme)) {
      ++shown_broken;
      std::printf("    broken (%s%s%s):\n", first.rhymes ? "" : "rhyme ",
                  first.whole_template ? "" : "template ", modern_rhyme ? "" : "modern rhyme");
      for (const ReadLineFacts& line : read) {
        std::printf("      %s  %s\n", Marked(line, ReadsClassically(book)).c_str(),
                    book == RhymeBook::kBoth ? Marked(line, false).c_str() : "");
      }
    }
    std::vector<std::u16string> texts;
    for (const auto& line : read) texts.push_back(line.text);
    if (setup.reference) coherence.push_back(setup.reference->judge.Poem(texts));
    if (static_cast<int>(r) < setup.show) {
      std::string shown;
      for (const auto& text : texts) shown += Utf16ToUtf8(text) + " ";
      std::printf("    %s\n", shown.c_str());
      if (setup.terms && !shares.empty()) std::printf("%s\n", SharesLine(shares).c_str());
    }
    if (!shares.empty()) terms.Add(shares);
  }
  std::optional<double> judged;
  if (setup.reference) judged = setup.calibration.Normalised(LengthSlot(length), Mean(coherence));
  std::printf("%s\n", ModeRow(length, place, first_rhymes, tally, judged).c_str());
  if (setup.terms) std::printf("%s\n", terms.Line().c_str());
}

void Discriminate(const PoemSource& source, const Reference& reference, RhymeBook book,
                  bool explain) {
  std::printf(
      "discriminator, %s (%s): real held-out quatrains against poems composed for the "
      "same hidden characters and rhyme scheme\n",
      std::string(RhymeBookKey(book)).c_str(), std::string(RhymeBookName(book)).c_str());
  for (int slot = 0; slot < 2; ++slot) {
    const int length = kLengths[slot];
    const LineReader reader(source.index, length);
    for (const Place place : kPlaces) {
      std::vector<std::pair<PoemSample, PoemSample>> pairs;
      uint64_t seed = 1;
      for (const RealPoem& poem : reference.held_out[slot]) {
        const PoemOrder order = OrderOf(poem, place, book);
        const std::vector<ReadLineFacts> read = source.Get(order, seed++, reader);
        if (read.size() != poem.lines.size()) continue;
        pairs.emplace_back(SampleOf(FactsOf(poem), poem.first_line_rhymes),
                           SampleOf(read, poem.first_line_rhymes));
      }
      const DiscriminatorResult result = TrainAndTest(pairs, 2026 + slot);
      static const char* const kNames[] = {"head  ", "middle", "tail  "};
      std::printf("  %d %s  accuracy %.3f  pairwise %.3f  (%zu pairs trained, %zu tested)\n",
                  length, kNames[static_cast<int>(place)], result.accuracy, result.pairwise,
                  result.train_pairs, result.test_pairs);
      if (!explain || place == Place::kTail) continue;
      std::string tells = "    composed:";
      for (const auto& [name, weight] : result.composed_tells) {
        char w[16];
        std::snprintf(w, sizeof w, " %.2f", weight);
        tells += " [" + name + "]" + w;
      }
      tells += "\n    real:";
      for (const auto& [name, weight] : result.real_tells) {
        char w[16];
        std::snprintf(w, sizeof w, " %.2f", weight);
        tells += " [" + name + "]" + w;
      }
      std::printf("%s\n", tells.c_str());
    }
  }
}

}  // namespace miravel::poemd
