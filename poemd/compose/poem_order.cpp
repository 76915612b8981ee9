#include "poemd/compose/poem_order.h"

namespace miravel::poemd {
int PoemOrder::PositionAt(size_t line) const {
  const auto wrapped = static_cast<int>(line % static_cast<size_t>(length));
  switch (diagonal) {
    case Diagonal::kRising:
      return wrapped;
    case Diagonal::kFalling:
      return length - 1 - wrapped;
    case Diagonal::kNone:
      break;
  }
  return PositionOf(place, length);
}

const char* PoemOrder::ModeName() const {
  if (diagonal == Diagonal::kRising) return "dizeng";
  if (diagonal == Diagonal::kFalling) return "dijian";
  static const char* const kPlaces[] = {"cangtou", "cangzhong", "cangwei"};
  return kPlaces[static_cast<int>(place)];
}

const char* PoemOrder::ModeTitle() const {
  if (diagonal == Diagonal::kRising) return "递增";
  if (diagonal == Diagonal::kFalling) return "递减";
  static const char* const kPlaces[] = {"藏头", "藏中", "藏尾"};
  return kPlaces[static_cast<int>(place)];
}

const char* PoemOrder::PoemKind() const {
  if (diagonal == Diagonal::kRising) return "递增藏字诗";
  if (diagonal == Diagonal::kFalling) return "递减藏字诗";
  static const char* const kPlaces[] = {"藏头诗", "藏中诗", "藏尾诗"};
  return kPlaces[static_cast<int>(place)];
}

}  // namespace miravel::poemd
