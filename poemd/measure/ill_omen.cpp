#include "poemd/measure/ill_omen.h"

namespace miravel::poemd {
namespace {

constexpr std::u16string_view kWords[] = {
    // death and mourning
    u"死", u"亡", u"丧", u"葬", u"墓", u"坟", u"冢", u"殡", u"棺", u"柩", u"尸", u"骸", u"魂",
    u"鬼", u"哭", u"泣", u"泪", u"涕", u"悼", u"挽", u"祭", u"吊", u"殇", u"逝", u"夭",
    // illness and decline
    u"病", u"疾", u"疫", u"疴", u"衰", u"残", u"凋", u"枯", u"朽", u"憔悴", u"羸",
    // grief
    u"悲", u"哀", u"愁", u"恨", u"怨", u"伤心", u"凄", u"惨", u"恸", u"断肠",
    // disaster
    u"灾", u"祸", u"殃", u"凶", u"血", u"囚"};

}  // namespace

bool HasIllOmenWord(std::u16string_view text, int at) {
  for (const std::u16string_view word : kWords) {
    for (size_t found = text.find(word); found != std::u16string_view::npos;
         found = text.find(word, found + 1)) {
      if (word.size() > 1 || static_cast<int>(found) != at) return true;
    }
  }
  return false;
}

bool IsIllOmenByMood(const PackedMoods& moods) {
  constexpr int kSure = 12;  // of kMoodLevels: four in five
  return moods.Level(Mood::kDeath) >= kSure || moods.Level(Mood::kSorrow) >= kSure;
}

}  // namespace miravel::poemd
