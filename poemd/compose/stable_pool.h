// Objects made one at a time that never move while the pool lives, in
// blocks of kBlock, so that making one seldom allocates: the composer
// makes hundreds of line vectors a poem and points to them.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace miravel::poemd {

template <typename T>
class StablePool {
 public:
  static constexpr size_t kBlock = 64;

  // A new T, value-initialised.
  T& Make() {
    if (used_ == kBlock) {
      blocks_.push_back(std::make_unique_for_overwrite<T[]>(kBlock));
      used_ = 0;
    }
    T& made = blocks_.back()[used_++];
    made = T{};
    return made;
  }

 private:
  std::vector<std::unique_ptr<T[]>> blocks_;
  size_t used_ = kBlock;
};

}  // namespace miravel::poemd
