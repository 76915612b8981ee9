#include "poemd/verse/rhyme_books.h"

namespace miravel::poemd {

std::string_view PingshuiRhymeName(PingshuiRhyme rhyme) {
  static constexpr std::string_view kNames[kPingshuiRhymeCount + 1] = {
      "",           "上平一东",   "上平二冬",  "上平三江", "上平四支",   "上平五微",   "上平六鱼",
      "上平七虞",   "上平八齐",   "上平九佳",  "上平十灰", "上平十一真", "上平十二文", "上平十三元",
      "上平十四寒", "上平十五删", "下平一先",  "下平二萧", "下平三肴",   "下平四豪",   "下平五歌",
      "下平六麻",   "下平七阳",   "下平八庚",  "下平九青", "下平十蒸",   "下平十一尤", "下平十二侵",
      "下平十三覃", "下平十四盐", "下平十五咸"};
  return rhyme <= kPingshuiRhymeCount ? kNames[rhyme] : "";
}

std::string_view XinyunGroupName(RhymeGroup group) {
  static constexpr std::string_view kNames[kRhymeGroupCount + 1] = {
      "",     "一麻", "二波", "三皆",   "四开",   "五微",   "六豪",  "七尤",
      "八寒", "九文", "十唐", "十一庚", "十二齐", "十三支", "十四姑"};
  return group <= kRhymeGroupCount ? kNames[group] : "";
}

std::string_view RhymeBookName(RhymeBook book) {
  switch (book) {
    case RhymeBook::kPingshui:
      return "平水韵";
    case RhymeBook::kXinyun:
      return "中华新韵";
    case RhymeBook::kBoth:
      return "平水韵与中华新韵";
  }
  return "";
}

std::string_view RhymeBookKey(RhymeBook book) {
  switch (book) {
    case RhymeBook::kPingshui:
      return "pingshui";
    case RhymeBook::kXinyun:
      return "xinyun";
    case RhymeBook::kBoth:
      return "both";
  }
  return "";
}

std::string RhymeTitle(RhymeBook book, PingshuiRhyme pingshui, RhymeGroup xinyun) {
  const auto one = [](RhymeBook b, std::string_view rhyme) {
    std::string title(RhymeBookName(b));
    if (!rhyme.empty()) title += " · " + std::string(rhyme);
    return title;
  };
  switch (book) {
    case RhymeBook::kPingshui:
      return one(book, PingshuiRhymeName(pingshui));
    case RhymeBook::kXinyun:
      return one(book, XinyunGroupName(xinyun));
    case RhymeBook::kBoth:
      return one(RhymeBook::kPingshui, PingshuiRhymeName(pingshui)) + "，" +
             one(RhymeBook::kXinyun, XinyunGroupName(xinyun));
  }
  return "";
}

std::optional<RhymeBook> RhymeBookFromKey(std::string_view key) {
  for (const RhymeBook book : {RhymeBook::kPingshui, RhymeBook::kXinyun, RhymeBook::kBoth}) {
    if (key == RhymeBookKey(book)) return book;
  }
  return std::nullopt;
}

}  // namespace miravel::poemd
