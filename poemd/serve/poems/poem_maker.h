// Where the routes get their poems: the one door between them and the
// composer, so that what a request costs in compositions is seen in one
// place (and counted in tests, through a PoemMaker of their own).
#pragma once

#include <cstdint>

#include "poemd/compose/poem_composer.h"
#include "poemd/compose/poem_order.h"
#include "poemd/compose/poem_recompose.h"
#include "poemd/index/corpus_index.h"

namespace miravel::poemd {

class PoemMaker {
 public:
  virtual ~PoemMaker() = default;

  // The poem `seed` gives: one composition.
  virtual Poem Compose(const PoemOrder& order, uint64_t seed) const = 0;
  // The poem an address asks for (compose/poem_recompose.h): one
  // composition, and one more when `seeded` comes back.
  virtual Recomposed Recompose(const PoemOrder& order, const Recomposing& asked) const = 0;
};

// The composer over a corpus index. Thread-safe.
class IndexPoemMaker : public PoemMaker {
 public:
  // `index` must outlive the maker.
  explicit IndexPoemMaker(const CorpusIndex& index) : index_(index) {}

  Poem Compose(const PoemOrder& order, uint64_t seed) const override;
  Recomposed Recompose(const PoemOrder& order, const Recomposing& asked) const override;

 private:
  const CorpusIndex& index_;
};

}  // namespace miravel::poemd
