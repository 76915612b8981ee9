// A poem brought back from its address and changed there: composed from its
// seed; exactly the lines the address names when it names them; and with
// one line swapped when asked, for another line of the same character,
// place, tonal template and rhyme that goes with the lines kept; under the
// subject the address names, when it names one. The same order, index and
// request always give the same poem.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "poemd/compose/poem_composer.h"
#include "poemd/compose/poem_order.h"
#include "poemd/index/corpus_index.h"

namespace miravel::poemd {

struct Recomposing {
  uint64_t seed = 0;
  // The lines the address names, one per hidden character; empty when it
  // names none (a line that cannot be read: nullopt, composed anew).
  std::vector<std::optional<KeptLine>> lines;
  // The line (from 0) to change; one past the poem's lines is no swap.
  std::optional<size_t> swap;
  // The subject the reader chose (ComposeOptions::subject): every poem
  // composed here, the seeded one too, is composed under it.
  std::optional<SubjectId> subject;
};

struct Recomposed {
  Poem poem;
  // Whether `poem` is what the seed alone gives: nothing named, nothing
  // swapped.
  bool seeded_alone = false;
  // The poem the seed alone gives, when it was composed besides `poem` (a
  // swap of an address that names no lines takes its lines, and any swap
  // its template and rhyme); nullopt when it was not.
  std::optional<Poem> seeded;
};

// REQUIRES: asked.lines is empty or holds one entry per hidden character.
Recomposed Recompose(const CorpusIndex& index, const PoemOrder& order, const Recomposing& asked);

}  // namespace miravel::poemd
