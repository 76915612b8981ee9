// The real corpus index the benchmarks read: MIRAVEL_INDEX, or
// build/corpus/poems.idx (scripts/corpus.sh makes it). Loaded once; null
// when it cannot be (the benchmark then skips with that said).
#pragma once

#include <cstdlib>

#include "poemd/index/corpus_index.h"

namespace miravel::bench {

inline const poemd::CorpusIndex* RealIndex() {
  static const StatusOr<poemd::CorpusIndex> index = [] {
    const char* path = std::getenv("MIRAVEL_INDEX");
    return poemd::CorpusIndex::Load(path ? path : "build/corpus/poems.idx");
  }();
  return index.ok() ? &*index : nullptr;
}

}  // namespace miravel::bench
