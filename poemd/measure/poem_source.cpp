#include "poemd/measure/poem_source.h"

#include <httplib.h>

#include <random>

#include "common/list_items.h"
#include "poemd/compose/poem_composer.h"
#include "poemd/http/form_body.h"
#include "poemd/verse/character_frequency.h"
#include "text/gbk_unicode.h"

namespace miravel::poemd {
namespace {

// Blessings, seasons and names, as people ask for them.
const char16_t* const kEverydayRequests[] = {
    u"春夏秋冬", u"福寿安康", u"生日快乐", u"新年快乐", u"万事如意", u"心想事成", u"学业有成",
    u"前程似锦", u"一帆风顺", u"家和万事", u"平安喜乐", u"花好月圆", u"岁岁平安", u"金榜题名",
    u"鹏程万里", u"春风得意", u"我爱你",   u"永结同心", u"百年好合", u"天长地久", u"春暖花开",
    u"秋高气爽", u"冬雪梅香", u"夏日荷风", u"中秋快乐", u"国庆",     u"清明时节", u"端午安康",
    u"张伟",     u"李娜",     u"王芳",     u"刘洋",     u"陈静",     u"杨帆",     u"赵敏",
    u"黄磊",     u"周杰",     u"李思远",   u"张雨欣",   u"王子涵",   u"刘浩然",   u"陈佳怡",
    u"杨梓轩",   u"赵欣怡",   u"吴宇航",   u"林语堂",   u"相思",     u"故乡明月", u"山水清音",
    u"江南好",
};

// The body the desktop client posts for `order`.
std::string FormBody(const PoemOrder& order) {
  return "xing=" + PercentEncode(Utf16ToGbk(order.Hidden())) +
         "&gender=" + std::to_string(order.length) +
         "&type_str=&classid=0&num=" + order.ModeName() +
         "&limit=" + (order.first_line_rhymes ? "200" : "100");
}

}  // namespace

PoemOrder OrderFor(std::u16string_view hidden, int length, Place place, bool first_rhymes,
                   RhymeBook book) {
  PoemOrder order;
  order.length = length;
  order.place = place;
  order.first_line_rhymes = first_rhymes;
  order.book = book;
  order.characters = hidden;
  return order;
}

std::vector<ReadLineFacts> PoemSource::Get(const PoemOrder& order, uint64_t seed,
                                           const LineReader& reader,
                                           std::vector<TermShare>* shares) const {
  std::vector<ReadLineFacts> read;
  if (client != nullptr) {
    const auto res =
        client->Post("/qm/cts.php", FormBody(order), "application/x-www-form-urlencoded");
    if (res && res->status == 200) {
      for (const std::string& item : ListItemTexts(res->body)) {
        read.push_back(reader.Read(GbkToUtf16(item)));
      }
    }
    return read;
  }
  ComposeOptions options = tuning;
  options.seed = seed;
  const Poem poem = ComposePoem(index, order, options);
  if (shares != nullptr) *shares = poem.shares;
  for (size_t i = 0; i < poem.lines.size(); ++i) {
    read.push_back(reader.Read(poem.lines[i], order.PositionAt(i)));
  }
  return read;
}

std::vector<char16_t> MostFrequent(const CorpusIndex& index, size_t count) {
  std::vector<uint64_t> seen(65536, 0);
  for (int length : kLengths) {
    for (uint32_t line = 0; line < index.LineCount(length); ++line) {
      for (char16_t c : index.Text(length, line)) ++seen[c];
    }
  }
  std::vector<char16_t> characters = ByFrequency(seen);
  characters.resize(std::min(count, characters.size()));
  return characters;
}

// The everyday requests, or `count` random four-character ones.
std::vector<std::u16string> Requests(bool everyday, int count,
                                     const std::vector<char16_t>& frequent) {
  std::vector<std::u16string> asked;
  if (everyday) {
    for (const char16_t* r : kEverydayRequests) asked.emplace_back(r);
    return asked;
  }
  std::mt19937_64 rng(2026);
  for (int r = 0; r < count; ++r) {
    std::u16string hidden;
    for (int k = 0; k < 4; ++k) hidden += frequent[rng() % frequent.size()];
    asked.push_back(hidden);
  }
  return asked;
}

}  // namespace miravel::poemd
