#include "poemd/testing/titled_poems.h"

#include <random>

#include "text/utf.h"

namespace miravel::poemd::testing {
namespace {

struct Subject {
  std::u16string_view title;
  std::u16string_view words;
};
constexpr Subject kSubjects[kMadeUpSubjects] = {
    {u"咏梅", u"梅雪香枝寒冰疏影暗霜"},
    {u"送友人", u"别酒帆舟离柳亭路远江"},
    {u"寿张公", u"椿龄觞祝鹤松仙桃福康"},
};
// A poem leans on numerals or on function words, and rhymes on one of
// two endings, whatever its subject.
constexpr std::u16string_view kStyles[] = {u"一三千万百", u"不无有之何"};
constexpr std::u16string_view kRhymes[] = {u"长光堂", u"山天年"};
constexpr std::u16string_view kCiWords = u"红翠娇帘莺燕";

}  // namespace

std::vector<TitledPoem> TitledPoems(size_t count, uint64_t seed, bool titled, bool with_ci) {
  std::mt19937_64 rng(seed);
  const auto pick = [&](std::u16string_view from) { return from[rng() % from.size()]; };
  std::vector<TitledPoem> poems;
  for (size_t k = 0; k < count; ++k) {
    TitledPoem poem;
    poem.subject = k % kMadeUpSubjects;
    const Subject& subject = kSubjects[poem.subject];
    if (with_ci && k % 4 == 3) poem.form = Register::kCi;
    const bool ci = poem.form == Register::kCi;
    if (titled && !ci) poem.title = subject.title;
    const std::u16string_view style = kStyles[rng() % 2];
    const std::u16string_view rhyme = kRhymes[rng() % 2];
    for (int i = 0; i < 4; ++i) {
      std::u16string line;
      for (int c = 0; c < 4; ++c) {
        const uint64_t draw = rng() % 10;
        line += ci && draw < 3 ? pick(kCiWords) : draw < 6 ? pick(subject.words) : pick(style);
      }
      line += i % 2 == 1 ? pick(rhyme) : pick(subject.words);
      poem.lines.push_back(line);
    }
    poems.push_back(std::move(poem));
  }
  return poems;
}

PoemText AsShi(const TitledPoem& poem) {
  PoemText text;
  text.title = Utf16ToUtf8(poem.title);
  text.author = "某";
  text.dynasty = Dynasty::kTang;
  if (poem.form == Register::kCi) text.collection = Collection::kCi;
  for (size_t i = 0; i + 1 < poem.lines.size(); i += 2) {
    text.paragraphs.push_back(Utf16ToUtf8(poem.lines[i] + u"，" + poem.lines[i + 1] + u"。"));
  }
  return text;
}

const CorpusIndex& TitledIndex() {
  static const CorpusIndex index = [] {
    CorpusIndexBuilder builder;
    for (const TitledPoem& poem : TitledPoems(120, 7)) builder.AddPoem(AsShi(poem));
    return builder.Build();
  }();
  return index;
}

}  // namespace miravel::poemd::testing
