#include "poemd/compose/occasion.h"

#include <array>
#include <vector>

namespace miravel::poemd {
namespace {

struct Named {
  Occasion occasion;
  std::string_view key;
  std::string_view name;
};

constexpr std::array<Named, kOccasions> kNames{{
    {Occasion::kAutomatic, "auto", "自动"},
    {Occasion::kBirthday, "birthday", "祝寿"},
    {Occasion::kWedding, "wedding", "新婚"},
    {Occasion::kFestival, "festival", "节庆"},
    {Occasion::kPraise, "praise", "赠人"},
    {Occasion::kFarewell, "farewell", "送别"},
    {Occasion::kRemembrance, "remembrance", "怀念"},
    {Occasion::kNone, "none", "不限"},
}};

struct Wishes {
  Occasion occasion;
  std::u16string_view words[40];
};

// Tried in this order: 一路平安 is a parting before it is a wish for peace,
// and 妈妈我爱你 a gift to a mother before it is love.
constexpr Wishes kWishes[] = {
    {Occasion::kRemembrance,
     {u"怀念", u"悼念", u"缅怀", u"追思", u"追悼", u"纪念", u"安息", u"千古", u"永别", u"哀悼",
      u"祭", u"思念", u"永远怀念", u"冥"}},
    {Occasion::kBirthday,
     {u"生日", u"寿", u"诞", u"期颐", u"松鹤", u"南山", u"长命", u"百岁", u"生辰", u"周岁",
      u"满月"}},
    {Occasion::kWedding,
     {u"新婚",     u"结婚",     u"婚",       u"喜结", u"良缘",     u"同心", u"好合",
      u"鸳鸯",     u"连理",     u"偕老",     u"嫁",   u"娶",       u"囍",   u"佳偶",
      u"白头",     u"天作之合", u"琴瑟",     u"比翼", u"新郎",     u"新娘", u"花好月圆",
      u"天长地久", u"地久天长", u"海誓山盟", u"相守", u"执子之手", u"永结"}},
    {Occasion::kFarewell,
     {u"送别", u"一路顺风", u"一路平安", u"珍重", u"再会", u"后会", u"离别", u"惜别", u"告别",
      u"远行", u"毕业", u"饯行", u"别"}},
    {Occasion::kFestival,
     {u"新年", u"春节", u"元旦", u"中秋",     u"国庆", u"端午", u"除夕", u"元宵", u"七夕",
      u"重阳", u"快乐", u"安康", u"平安",     u"如意", u"吉祥", u"大吉", u"福",   u"喜",
      u"吉",   u"兴隆", u"发财", u"心想事成", u"岁岁", u"顺",   u"健康", u"贵子", u"康",
      u"健",   u"祥",   u"瑞",   u"禄",       u"财",   u"贵"}},
    {Occasion::kPraise, {u"高升", u"金榜", u"题名", u"有成", u"前程", u"鹏程", u"似锦", u"成功",
                         u"加油", u"老师", u"恩师", u"师恩", u"爷爷", u"奶奶", u"爸爸", u"妈妈",
                         u"父亲", u"母亲", u"外婆", u"兄弟", u"朋友", u"友谊", u"开业", u"乔迁"}},
    {Occasion::kWedding, {u"爱你", u"我爱", u"相爱", u"想你", u"喜欢你", u"爱"}},
};

// The commonest surnames: hidden characters that begin with one, two to
// four in all, are a person's name, and the poem a gift.
constexpr std::u16string_view kSurnames =
    u"王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘于蒋蔡余杜叶程"
    u"苏魏吕丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛闫段雷侯龙史陶黎贺顾毛郝龚"
    u"邵万钱严覃武戴莫孔向汤常温康施文牛樊葛邢安齐易乔伍庞颜倪庄聂章鲁岳翟殷詹申欧耿关兰焦俞左柳"
    u"甘祝包宁尚符舒阮柯纪梅童凌毕单季裴霍涂成苗谷盛曲翁冉骆蓝路游辛靳管柴蒙鲍华喻祁蒲房滕屈饶解"
    u"牟艾尤阳时穆农司卓古吉缪简车项连芦麦褚娄窦戚岑景党宫费卜冷晏席卫米柏宗瞿桂全佟应臧闵苟邬边"
    u"卞姬师和仇栾隋商刁沙荣巫寇桑郎甄丛仲虞敖巩明佘池查麻苑迟邝";
constexpr std::u16string_view kDoubleSurnames[] = {u"欧阳", u"司马", u"诸葛", u"上官", u"慕容",
                                                   u"司徒", u"东方", u"皇甫", u"令狐", u"夏侯"};

bool IsName(std::u16string_view hidden) {
  for (const std::u16string_view surname : kDoubleSurnames) {
    if (hidden.starts_with(surname)) return hidden.size() >= 3 && hidden.size() <= 4;
  }
  return hidden.size() >= 2 && hidden.size() <= 3 &&
         kSurnames.find(hidden[0]) != std::u16string_view::npos;
}

// Words no gift may hold: death (a monk's too) and burial, illness and disaster, blood,
// ghosts and the world below, tears and wailing, withering and decline. A
// guard for the worst cases only; the moods the index learned decide the
// rest (grief, sorrow, the words of elegies).
constexpr std::u16string_view kGuardWords[] = {
    u"死",   u"亡",   u"丧",   u"葬",   u"墓",   u"坟",   u"冢",   u"殡",   u"柩",   u"棺",
    u"尸",   u"骸",   u"哭",   u"悼",   u"祭",   u"殇",   u"病",   u"疾",   u"疫",   u"灾",
    u"祸",   u"殃",   u"凶",   u"血",   u"鬼",   u"孀",   u"寡",   u"白骨", u"黄泉", u"九泉",
    u"泉下", u"夜台", u"长逝", u"永诀", u"断肠", u"哀",   u"恸",   u"泣",   u"泪",   u"啼",
    u"衰",   u"凋",   u"枯",   u"朽",   u"残",   u"圆寂", u"坐化", u"涅槃"};

// The plain words of grief, which no happy occasion's poem may hold (a
// parting may). No mood can learn them: poets say 愁 in every kind of poem,
// festival poems too, so a line of 客愁 is no more sorrowful by its moods
// than an ordinary one; once poems drew their lines from the occasion's own
// poems, one five-character wish poem in seventy held such a line (岁晚浓愁
// 催白发 for 岁岁平安).
constexpr std::u16string_view kGriefCharacters = u"愁恨悲凄怨";

bool HoldsGrief(std::u16string_view text, int at) {
  for (size_t k = 0; k < text.size(); ++k) {
    if (static_cast<int>(k) != at && kGriefCharacters.find(text[k]) != std::u16string_view::npos) {
      return true;
    }
  }
  return false;
}

// The first characters of the guard's words, for a quick look first.
const std::vector<bool>& GuardStarts() {
  static const std::vector<bool> starts = [] {
    std::vector<bool> marked(65536, false);
    for (const std::u16string_view word : kGuardWords) marked[word[0]] = true;
    return marked;
  }();
  return starts;
}

bool HoldsGuardWord(std::u16string_view text, int at) {
  const std::vector<bool>& starts = GuardStarts();
  for (size_t k = 0; k < text.size(); ++k) {
    if (!starts[text[k]]) continue;
    for (const std::u16string_view word : kGuardWords) {
      if (text.substr(k).starts_with(word) &&
          // The hidden character itself is the asker's, not ours to refuse.
          (word.size() > 1 || static_cast<int>(k) != at)) {
        return true;
      }
    }
  }
  return false;
}

// The moods a line may have at most for a happy occasion (of kMoodLevels).
// The shares are odds against ordinary lines (mood_learner.h): about one
// line in six or seven is past the death limit. Sorrow is held one level
// closer: lines of 愁, 怨 and 凄 are common in poems and spoil a gift, and
// at 9 one wish poem of seven characters in seventy still held one.
constexpr int kHappyDeathLimit = 9;
constexpr int kHappySorrowLimit = 8;
constexpr int kFarewellDeathLimit = 10;
constexpr int kRemembranceJoyLimit = 11;

float Share(const LineTraits& traits, Mood mood) {
  return static_cast<float>(traits.mood(mood)) / kMoodLevels;
}

}  // namespace

std::string_view OccasionKey(Occasion occasion) {
  return kNames[static_cast<size_t>(occasion)].key;
}

std::optional<Occasion> OccasionFromKey(std::string_view key) {
  for (const Named& named : kNames) {
    if (named.key == key) return named.occasion;
  }
  return std::nullopt;
}

std::string_view OccasionName(Occasion occasion) {
  return kNames[static_cast<size_t>(occasion)].name;
}

Occasion OccasionOf(std::u16string_view hidden, std::u16string_view theme) {
  for (const std::u16string_view text : {hidden, theme}) {
    for (const Wishes& wishes : kWishes) {
      for (const std::u16string_view word : wishes.words) {
        if (!word.empty() && text.find(word) != std::u16string_view::npos) return wishes.occasion;
      }
    }
  }
  return IsName(hidden) ? Occasion::kPraise : Occasion::kNone;
}

Occasion Resolve(Occasion asked, std::u16string_view hidden, std::u16string_view theme) {
  return asked == Occasion::kAutomatic ? OccasionOf(hidden, theme) : asked;
}

bool IsHappy(Occasion occasion) {
  return occasion == Occasion::kBirthday || occasion == Occasion::kWedding ||
         occasion == Occasion::kFestival || occasion == Occasion::kPraise;
}

std::vector<MoodClass> ClassesOf(Occasion occasion) {
  switch (occasion) {
    case Occasion::kBirthday:
      return {MoodClass::kBirthday, MoodClass::kHappy};
    case Occasion::kWedding:
      return {MoodClass::kWedding, MoodClass::kHappy};
    case Occasion::kFestival:
      return {MoodClass::kFestival, MoodClass::kHappy};
    case Occasion::kPraise:
      return {MoodClass::kPraise};
    case Occasion::kFarewell:
      return {MoodClass::kParting};
    case Occasion::kRemembrance:
      return {MoodClass::kLonging, MoodClass::kMourning};
    case Occasion::kAutomatic:
    case Occasion::kNone:
      break;
  }
  return {};
}

OccasionFit FitOf(Occasion occasion, const LineTraits& traits, std::u16string_view text, int at) {
  OccasionFit fit;
  const float death = Share(traits, Mood::kDeath);
  const float sorrow = Share(traits, Mood::kSorrow);
  const float joy = Share(traits, Mood::kJoy);
  const float bond = Share(traits, Mood::kBond);
  if (IsHappy(occasion)) {
    fit.refused = traits.mood(Mood::kDeath) > kHappyDeathLimit ||
                  traits.mood(Mood::kSorrow) > kHappySorrowLimit || HoldsGuardWord(text, at) ||
                  HoldsGrief(text, at);
    const float keeping = occasion == Occasion::kPraise ? joy + bond : joy;
    fit.keeping = keeping;
    fit.avoiding = death + sorrow;
  } else if (occasion == Occasion::kFarewell) {
    fit.refused = traits.mood(Mood::kDeath) > kFarewellDeathLimit || HoldsGuardWord(text, at);
    fit.keeping = bond;
    fit.avoiding = death;
  } else if (occasion == Occasion::kRemembrance) {
    fit.refused = traits.mood(Mood::kJoy) > kRemembranceJoyLimit;
    fit.keeping = death + sorrow + bond;
    fit.avoiding = joy;
  }
  return fit;
}

}  // namespace miravel::poemd
