#include "poemd/measure/wish_measures.h"

#include <cstdio>
#include <string>

#include "poemd/measure/ill_omen.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

// Wishes as people type them: alone, and after a name or a kinship word.
const char16_t* const kWishes[] = {
    u"新年快乐",     u"生日快乐",     u"福寿安康",     u"万事如意",         u"心想事成",
    u"学业有成",     u"前程似锦",     u"一帆风顺",     u"平安喜乐",         u"花好月圆",
    u"岁岁平安",     u"金榜题名",     u"鹏程万里",     u"永结同心",         u"百年好合",
    u"天长地久",     u"中秋快乐",     u"端午安康",     u"开业大吉",         u"身体健康",
    u"寿比南山",     u"吉祥如意",     u"恭喜发财",     u"国庆快乐",         u"新婚快乐",
    u"早生贵子",     u"生意兴隆",     u"步步高升",     u"大吉大利",         u"喜结良缘",
    u"白头偕老",     u"我爱你",       u"李娜生日快乐", u"张伟生日快乐",     u"王芳新婚快乐",
    u"陈静永远爱你", u"爷爷福寿安康", u"奶奶长命百岁", u"岁岁平安年年有余", u"妈妈节日快乐",
};
constexpr Place kPlaces[] = {Place::kHead, Place::kMiddle, Place::kTail};
constexpr int kSeeds = 3;

struct Count {
  int poems = 0, by_mood = 0, by_words = 0;
};

}  // namespace

void MeasureWishes(const PoemSource& source, const LineReader* readers, RhymeBook book,
                   int examples) {
  Count counts[2];
  int shown = 0;
  for (int slot = 0; slot < 2; ++slot) {
    const int length = kLengths[slot];
    for (const bool first_rhymes : {false, true}) {
      for (const Place place : kPlaces) {
        for (const char16_t* wish : kWishes) {
          for (int seed = 1; seed <= kSeeds; ++seed) {
            const PoemOrder order = OrderFor(wish, length, place, first_rhymes, book);
            const std::vector<ReadLineFacts> read = source.Get(order, seed, readers[slot]);
            if (read.empty()) continue;
            bool by_mood = false, by_words = false;
            for (size_t i = 0; i < read.size(); ++i) {
              const bool mood = IsIllOmenByMood(read[i].moods);
              const bool words = HasIllOmenWord(read[i].text, order.PositionAt(i));
              if ((mood || words) && shown < examples) {
                ++shown;
                std::printf("    ill omen (%s%s) in %s: %s\n", mood ? "mood" : "",
                            words ? (mood ? ", words" : "words") : "", Utf16ToUtf8(wish).c_str(),
                            Utf16ToUtf8(read[i].text).c_str());
              }
              by_mood = by_mood || mood;
              by_words = by_words || words;
            }
            Count& count = counts[slot];
            ++count.poems;
            count.by_mood += by_mood;
            count.by_words += by_words;
          }
        }
      }
    }
  }
  for (int slot = 0; slot < 2; ++slot) {
    const Count& c = counts[slot];
    std::printf(
        "  %d-character wish poems (%d): with a line of ill omen by the learned moods %.1f%%, "
        "by the word list %.1f%%\n",
        kLengths[slot], c.poems, c.poems ? 100.0 * c.by_mood / c.poems : 0.0,
        c.poems ? 100.0 * c.by_words / c.poems : 0.0);
  }
}

}  // namespace miravel::poemd
