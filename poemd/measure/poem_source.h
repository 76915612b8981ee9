// Where miravel-poemd-measure's poems come from, and what it asks for: the
// composer in this process, or a running miravel-poemd asked as the desktop
// client asks it (in the book it serves); random requests from the commonest
// characters, or everyday ones (blessings, seasons, names).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "poemd/compose/compose_options.h"
#include "poemd/compose/poem.h"
#include "poemd/compose/poem_order.h"
#include "poemd/index/corpus_index.h"
#include "poemd/measure/poem_measures.h"

namespace httplib {
class Client;
}

namespace miravel::poemd {

struct PoemSource {
  const CorpusIndex& index;
  httplib::Client* client = nullptr;  // set: ask the service there
  // What the composer in this process weighs and how widely it looks; its
  // seed is each request's.
  ComposeOptions tuning;

  // The poem for `order`, read by `reader`; empty when none came. `shares`,
  // when given, gets each scoring term's share of the poem's score (none
  // from a service).
  std::vector<ReadLineFacts> Get(const PoemOrder& order, uint64_t seed, const LineReader& reader,
                                 std::vector<TermShare>* shares = nullptr) const;
};

PoemOrder OrderFor(std::u16string_view hidden, int length, Place place, bool first_rhymes,
                   RhymeBook book);

// The `count` most frequent characters of the index's lines, commonest first.
std::vector<char16_t> MostFrequent(const CorpusIndex& index, size_t count);

// The everyday requests, or `count` random four-character ones from
// `frequent`.
std::vector<std::u16string> Requests(bool everyday, int count,
                                     const std::vector<char16_t>& frequent);

}  // namespace miravel::poemd
