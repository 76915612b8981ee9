#include "poemd/measure/subject_measures.h"

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "poemd/measure/line_pairs.h"

namespace miravel::poemd {
namespace {

constexpr Place kPlaces[] = {Place::kHead, Place::kMiddle};
constexpr int kSeeds = 3;

struct WishOccasion {
  const char* name;
  MoodClass title_class;
  const char16_t* wishes[6];
};
// Wishes as people give them, for each occasion whose poems' titles say it.
constexpr WishOccasion kWishOccasions[] = {
    {"birthday",
     MoodClass::kBirthday,
     {u"生日快乐", u"福寿安康", u"寿比南山", u"长命百岁", u"福如东海", u"松鹤延年"}},
    {"festival",
     MoodClass::kFestival,
     {u"新年快乐", u"中秋快乐", u"端午安康", u"元宵快乐", u"除夕团圆", u"重阳安康"}},
    {"farewell",
     MoodClass::kParting,
     {u"一路平安", u"一路顺风", u"前程似锦", u"送君远行", u"后会有期", u"珍重再见"}},
    {"wedding",
     MoodClass::kWedding,
     {u"新婚快乐", u"百年好合", u"永结同心", u"喜结良缘", u"白头偕老", u"花好月圆"}},
};

std::vector<std::u16string> Texts(const std::vector<ReadLineFacts>& read) {
  std::vector<std::u16string> texts;
  for (const ReadLineFacts& line : read) texts.push_back(line.text);
  return texts;
}

// Four random corpus lines that hold `order`'s hidden characters at its
// place; empty when a character has none.
std::vector<std::u16string> RandomLines(const CorpusIndex& index, const PoemOrder& order,
                                        std::mt19937_64& rng) {
  std::vector<std::u16string> lines;
  for (size_t i = 0; i < order.characters.size(); ++i) {
    const auto found = index.LinesWith(order.characters[i], order.length, order.PositionAt(i));
    if (found.empty()) return {};
    lines.emplace_back(index.Text(order.length, found[rng() % found.size()]));
  }
  return lines;
}

// `scaled`: the far pairs' closeness on the real scale.
void PrintRow(const char* label, const LinePairTally& tally, const double (&scaled)[3]) {
  std::string row = "    " + std::string(label);
  row.resize(17, ' ');
  char figures[160];
  for (int p = 0; p < kLinePairs; ++p) {
    std::snprintf(figures, sizeof figures, " %5.3f%s", tally.Mean(p),
                  p + 1 == kFirstFarPair ? " |" : "");
    row += figures;
  }
  std::snprintf(figures, sizeof figures, " | %5.2f %5.2f %5.2f | %5.1f%% %5.1f%%  (%zu)", scaled[0],
                scaled[1], scaled[2], 100 * tally.InTwoLines(), 100 * tally.InThreeLines(),
                tally.Poems());
  std::printf("%s%s\n", row.c_str(), figures);
}

}  // namespace

void MeasureLinePairs(const PoemSource& source, const LineReader* readers,
                      const Reference& reference, RhymeBook book, size_t most) {
  std::printf(
      "  line pairs by the measure's judge of subjects: 1-2 2-3 3-4 | 1-3 2-4 1-4 | the far "
      "pairs from random lines (0) to real (1) | a character in two lines, in three (poems)\n");
  for (int slot = 0; slot < 2; ++slot) {
    const std::vector<RealPoem>& real = reference.held_out[slot];
    const size_t step = std::max<size_t>(1, real.size() / most);
    for (const Place place : kPlaces) {
      LinePairTally ours, held_out, random;
      std::mt19937_64 rng(2026 + static_cast<uint64_t>(slot));
      uint64_t seed = 1;
      for (size_t k = 0; k < real.size(); k += step) {
        const PoemOrder order = OrderOf(real[k], place, book);
        const std::vector<std::u16string> lines = RandomLines(source.index, order, rng);
        const std::vector<ReadLineFacts> read = source.Get(order, seed++, readers[slot]);
        if (lines.empty() || read.size() != real[k].lines.size()) continue;
        const int at = order.PositionAt(0);
        held_out.Add(reference.subjects, real[k].lines, at);
        ours.Add(reference.subjects, Texts(read), at);
        random.Add(reference.subjects, lines, at);
      }
      std::printf("  %d %s\n", kLengths[slot], place == Place::kHead ? "head" : "middle");
      for (const auto& [label, tally] : {std::pair<const char*, const LinePairTally&>{"ours", ours},
                                         {"real", held_out},
                                         {"random lines", random}}) {
        double scaled[3];
        for (int p = kFirstFarPair; p < kLinePairs; ++p) {
          scaled[p - kFirstFarPair] = OnRealScale(tally.Mean(p), random.Mean(p), held_out.Mean(p));
        }
        PrintRow(label, tally, scaled);
      }
    }
  }
}

void MeasureWishSources(const PoemSource& source, const LineReader* readers, RhymeBook book) {
  std::printf(
      "  wish poems' lines whose poems were written for their occasion by their titles, and "
      "whose poems are of a subject of the occasion:\n");
  const SubjectModel& subjects = source.index.Subjects();
  for (const WishOccasion& occasion : kWishOccasions) {
    int lines = 0, titled = 0, of_subject = 0;
    for (int slot = 0; slot < 2; ++slot) {
      for (const Place place : kPlaces) {
        for (const char16_t* wish : occasion.wishes) {
          for (int seed = 1; seed <= kSeeds; ++seed) {
            const PoemOrder order = OrderFor(wish, kLengths[slot], place, false, book);
            for (const ReadLineFacts& line : source.Get(order, seed, readers[slot])) {
              if (!line.source) continue;
              ++lines;
              titled += subjects.TitleClassOf(*line.source) == occasion.title_class;
              of_subject += subjects.BelongsTo(subjects.OfPoem(*line.source), occasion.title_class);
            }
          }
        }
      }
    }
    std::printf("    %-9s %5d lines: by title %5.1f%%, of a subject of it %5.1f%%\n", occasion.name,
                lines, lines ? 100.0 * titled / lines : 0.0,
                lines ? 100.0 * of_subject / lines : 0.0);
  }
}

}  // namespace miravel::poemd
