// miravel-poemd-measure: what the corpus index allows the service to do.
// Usage: miravel-poemd-measure --index PATH [--requests N]
//   Coverage: of the 3,500 most frequent characters of the corpus, the share
//   that a real corpus line holds at each place, per form.
//   Rhyme: of N random four-character requests per rhyme scheme, hidden at
//   the head and in the middle, the share of poems whose rhyming lines all
//   end in one rhyme group.
#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "poemd/corpus_index.h"
#include "poemd/poem_composer.h"

using namespace miravel::poemd;

namespace {

std::vector<char16_t> MostFrequent(const CorpusIndex& index, size_t count) {
  std::vector<uint64_t> seen(65536, 0);
  for (int length : {5, 7}) {
    for (uint32_t line = 0; line < index.LineCount(length); ++line) {
      for (char16_t c : index.Text(length, line)) ++seen[c];
    }
  }
  std::vector<char16_t> characters;
  for (size_t c = 0; c < seen.size(); ++c) {
    if (seen[c] > 0) characters.push_back(static_cast<char16_t>(c));
  }
  std::stable_sort(characters.begin(), characters.end(),
                   [&](char16_t a, char16_t b) { return seen[a] > seen[b]; });
  characters.resize(std::min(count, characters.size()));
  return characters;
}

// Rhyming lines ending on 平, and all rhyming lines, of `poem`.
std::pair<int, int> LevelEndings(const CorpusIndex& index, const PoemOrder& order,
                                 const Poem& poem) {
  int level = 0, rhyming = 0;
  for (size_t i = 0; i < poem.lines.size(); ++i) {
    if (i % 2 == 0 && !(i == 0 && order.first_line_rhymes)) continue;
    ++rhyming;
    level += index.ReadingOf(poem.lines[i].text.back()).tone == Tone::kLevel;
  }
  return {level, rhyming};
}

bool RhymesHold(const CorpusIndex& index, const PoemOrder& order, const Poem& poem) {
  RhymeGroup group = kNoRhymeGroup;
  for (size_t i = 0; i < poem.lines.size(); ++i) {
    if (i % 2 == 0 && !(i == 0 && order.first_line_rhymes)) continue;
    const Reading last = index.ReadingOf(poem.lines[i].text.back());
    if (last.rhyme == kNoRhymeGroup) return false;
    if (group == kNoRhymeGroup) group = last.rhyme;
    if (last.rhyme != group) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string path;
  int requests = 1000;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::string(argv[i]) == "--index") path = argv[i + 1];
    if (std::string(argv[i]) == "--requests") requests = std::atoi(argv[i + 1]);
  }
  std::string error;
  const auto index = CorpusIndex::Load(path, &error);
  if (!index) {
    std::fprintf(stderr, "miravel-poemd-measure: %s\n",
                 error.empty() ? "usage: --index PATH" : error.c_str());
    return 2;
  }
  const std::vector<char16_t> frequent = MostFrequent(*index, 3500);
  std::printf("coverage of the %zu most frequent characters by a real corpus line:\n",
              frequent.size());
  for (int length : {5, 7}) {
    for (Place place : {Place::kHead, Place::kMiddle, Place::kTail}) {
      size_t covered = 0;
      for (char16_t c : frequent) covered += !index->LinesWith(c, length, place).empty();
      static const char* const kPlaces[] = {"head", "middle", "tail"};
      std::printf("  %d-character, %-6s %6.2f%%\n", length, kPlaces[static_cast<int>(place)],
                  100.0 * covered / frequent.size());
    }
  }
  std::mt19937_64 rng(2026);
  std::printf("rhyme: share of poems whose rhyming lines share one group (%d requests each):\n",
              requests);
  for (bool first_rhymes : {false, true}) {
    for (Place place : {Place::kHead, Place::kMiddle}) {
      for (int length : {5, 7}) {
        int held = 0, level = 0, rhyming = 0;
        for (int r = 0; r < requests; ++r) {
          PoemOrder order;
          order.length = length;
          order.place = place;
          order.first_line_rhymes = first_rhymes;
          for (int k = 0; k < 4; ++k) {
            order.characters.push_back({"", frequent[rng() % frequent.size()]});
          }
          const Poem poem = ComposePoem(*index, order, rng);
          held += RhymesHold(*index, order, poem);
          const auto [l, n] = LevelEndings(*index, order, poem);
          level += l;
          rhyming += n;
        }
        std::printf("  limit %s, %s, %d-character: %6.2f%% (rhyming lines on 平: %.1f%%)\n",
                    first_rhymes ? "200" : "100", place == Place::kHead ? "head  " : "middle",
                    length, 100.0 * held / requests, 100.0 * level / rhyming);
      }
    }
  }
  return 0;
}
