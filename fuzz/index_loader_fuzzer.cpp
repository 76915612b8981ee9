// libFuzzer target: the poem index loader on damaged and forged files. The
// first byte chooses what the rest of the input is:
//   even: the file itself;
//   odd:  edits (a 4-byte offset and a byte each) to a valid index built
//         from a made-up corpus; with bit 1 set the checksum is then made to
//         match again, so that the damage reaches the checks behind it.
// Whatever loads is used as the service would use it: lookups and a poem.
#include <xxhash.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "poemd/compose/poem_composer.h"
#include "poemd/index/corpus_index.h"
#include "poemd/indexing/corpus_index_builder.h"
#include "poemd/testing/testing_corpus.h"

using namespace miravel;
using namespace miravel::poemd;

namespace {

const std::vector<std::byte>& Valid() {
  static const std::vector<std::byte> bytes = testing::SmallIndexFile();
  return bytes;
}

void Use(const CorpusIndex& index) {
  for (int length : {5, 7}) {
    for (uint32_t line = 0; line < index.LineCount(length); ++line) {
      (void)index.Source(length, line);
      (void)index.Text(length, line);
    }
    for (const Place place : {Place::kHead, Place::kMiddle, Place::kTail}) {
      PoemOrder order;
      order.length = length;
      order.place = place;
      order.characters = u"春风花月";
      (void)ComposePoem(index, order, {.seed = 1});
    }
    for (const Diagonal diagonal : {Diagonal::kRising, Diagonal::kFalling}) {
      PoemOrder order;
      order.length = length;
      order.diagonal = diagonal;
      order.characters = u"春风花月雪夜";
      (void)ComposePoem(index, order, {.seed = 1});
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::vector<std::byte> bytes;
  if ((data[0] & 1) == 0) {
    bytes.assign(reinterpret_cast<const std::byte*>(data + 1),
                 reinterpret_cast<const std::byte*>(data + size));
  } else {
    bytes = Valid();
    for (size_t at = 1; at + 5 <= size; at += 5) {
      uint32_t offset;
      std::memcpy(&offset, data + at, sizeof offset);
      bytes[offset % bytes.size()] = std::byte{data[at + 4]};
    }
    if ((data[0] & 2) != 0 && bytes.size() >= kIndexHeaderBytes) {
      const uint64_t checksum =
          XXH3_64bits(bytes.data() + kIndexHeaderBytes, bytes.size() - kIndexHeaderBytes);
      std::memcpy(bytes.data() + 40, &checksum, sizeof checksum);
    }
  }
  StatusOr<IndexFile> file = IndexFile::FromBytes(std::move(bytes));
  if (!file.ok()) return 0;
  const StatusOr<CorpusIndex> index = CorpusIndex::FromFile(std::move(*file));
  if (index.ok()) Use(*index);
  return 0;
}
