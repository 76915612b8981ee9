#include "poemd/measure/blind_pairs.h"

#include <cstdio>

#include "poemd/verse/places.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

std::string Joined(const std::vector<std::u16string>& lines) {
  std::string joined;
  for (const std::u16string& line : lines) {
    if (!joined.empty()) joined += ' ';
    joined += Utf16ToUtf8(line);
  }
  return joined;
}

}  // namespace

void PrintBlindPairs(const PoemSource& source, const Reference& reference, RhymeBook book,
                     int per_mode) {
  int number = 0;
  for (int slot = 0; slot < 2; ++slot) {
    const int length = kLengths[slot];
    const LineReader reader(source.index, length);
    const std::vector<RealPoem>& real = reference.held_out[slot];
    if (real.empty() || per_mode <= 0) continue;
    for (const Place place : {Place::kHead, Place::kMiddle}) {
      const char* mode = place == Place::kHead ? "head" : "middle";
      const size_t stride = std::max<size_t>(1, real.size() / static_cast<size_t>(per_mode));
      int printed = 0;
      // Middle pairs start half a stride on from head pairs: no real poem
      // stands in two pairs, where the reader could match them.
      const size_t first = place == Place::kHead ? 0 : stride / 2;
      for (size_t k = first; k < real.size() && printed < per_mode; k += stride) {
        const std::vector<ReadLineFacts> read =
            source.Get(OrderOf(real[k], place, book), 1000 + k, reader);
        if (read.size() != real[k].lines.size()) continue;
        std::vector<std::u16string> composed;
        for (const ReadLineFacts& line : read) composed.push_back(line.text);
        ++number;
        ++printed;
        std::printf("real\t%d %s\t%d\t%s\n", length, mode, number, Joined(real[k].lines).c_str());
        std::printf("composed\t%d %s\t%d\t%s\n", length, mode, number, Joined(composed).c_str());
      }
    }
  }
}

}  // namespace miravel::poemd
