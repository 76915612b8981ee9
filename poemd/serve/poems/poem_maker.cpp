#include "poemd/serve/poems/poem_maker.h"

namespace miravel::poemd {

Poem IndexPoemMaker::Compose(const PoemOrder& order, uint64_t seed) const {
  return ComposePoem(index_, order, {.seed = seed});
}

Recomposed IndexPoemMaker::Recompose(const PoemOrder& order, const Recomposing& asked) const {
  return miravel::poemd::Recompose(index_, order, asked);
}

}  // namespace miravel::poemd
