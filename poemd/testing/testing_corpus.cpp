#include "poemd/testing/testing_corpus.h"

#include "poemd/compose/poem_random.h"
#include "text/utf.h"

namespace miravel::poemd::testing {

PoemOrder OrderFor(std::u16string characters, int length, Place place, bool first_rhymes,
                   RhymeBook book) {
  PoemOrder order;
  order.characters = std::move(characters);
  order.length = length;
  order.place = place;
  order.first_line_rhymes = first_rhymes;
  order.book = book;
  return order;
}

PoemText Shi(std::string_view title, std::string_view author, std::vector<std::string> lines,
             Collection collection) {
  PoemText poem;
  poem.title = title;
  poem.author = author;
  poem.dynasty = Dynasty::kTang;
  poem.collection = collection;
  poem.paragraphs = std::move(lines);
  return poem;
}

CorpusIndex MadeUpCorpus() {
  // Its poems in simplified characters get their traditional text as the
  // real index's do.
  static const TraditionalConverter converter = *TraditionalConverter::Open();
  IndexBuildOptions options;
  options.traditional = &converter;
  CorpusIndexBuilder builder(options);
  builder.AddPoem(Shi("春日", "甲", {"春来山色好，春去水流长。", "春夜听江雨，春光照画堂。"}));
  builder.AddPoem(Shi("风吟", "乙", {"风起白云远，风清照夕阳。", "风吹过草地，风动满池塘。"}));
  builder.AddPoem(Shi("花间", "丙", {"花开三月暖，花落满衣裳。", "花影随人去，花香入客窗。"}));
  builder.AddPoem(Shi("月下", "丁", {"月明千里外，月色映寒山。", "月照孤舟晚，月落满城霜。"}));
  builder.AddPoem(Shi("杂咏", "戊",
                      {"江上春风起，山中有花香。", "云间明月出，天外一风凉。",
                       "远看千山暮，近听一水长。", "夜来闻细雨，独坐看星光。"}));
  builder.AddPoem(
      Shi("长句", "己", {"春风又绿江南岸，明月何时照我还。", "花落花开年复年，风来风去任流连。"}));
  // Traditional, to be simplified.
  builder.AddPoem(Shi("舊文", "庚", {"國破山河在，城春草木深。"}));
  return builder.Build();
}

std::vector<std::byte> SmallIndexFile() {
  // A polyphone that a line reads otherwise than alone, for the pinyin.
  WordReadings words;
  words.Add(u"长", "cháng", 1e-8);
  words.Add(u"云长", "yún zhǎng", 1e-9);
  CorpusIndexBuilder builder({.readings = &words});
  builder.AddPoem(Shi("春日", "甲", {"春来山色好，风起白云长。", "花落江南水，月明孤客船。"}));
  builder.AddPoem(Shi("杂咏", "乙", {"春风又绿江南岸，明月何时照我还。"}));
  return builder.Finish();
}

CorpusIndex VariedCorpus() {
  static constexpr std::u16string_view kCommon =
      u"春风花月山水云天江河日夜秋冬雨雪烟霞松竹梅兰菊柳桃李草木林泉石峰"
      u"人心情意思念家国乡城楼台殿阁门窗酒茶琴书诗画歌舞笑泪愁喜福寿康宁"
      u"生日快乐年华岁时光阴朝暮晨昏红白青黄绿紫金玉珠银龙凤鹤燕雁莺蝶"
      u"马舟车路行来去归还送别逢相见望听看坐卧醉醒梦长短高远近深浅清明"
      u"东西南北中上下前后左右大小多少新旧老少君子臣民父母兄弟儿女夫妻"
      u"千万百一二三四五六七八九十两双孤独半满空无有不未已将欲可能须";
  // Endings that rhyme in the modern reading, the only one this corpus has.
  static constexpr std::u16string_view kRhymes[] = {
      u"长香光阳堂霜塘裳乡方芳茫凉黄张忘", u"山间天烟年前川边关闲还田", u"风中东空红同通重宫鸿",
      u"花家涯霞华沙斜茶", u"心深林金音寻吟今"};
  struct Kind {
    const char* title;
    int weight;
  };
  static constexpr Kind kTitles[] = {
      {"春日", 8},   {"秋夜", 8},   {"山居", 6},   {"咏梅", 4}, {"江行", 6},   {"寿张公", 3},
      {"生日", 2},   {"贺新婚", 2}, {"中秋", 3},   {"元日", 2}, {"送友人", 5}, {"别后", 3},
      {"赠李生", 3}, {"怀古", 4},   {"挽王君", 2}, {"病中", 2}, {"悲秋", 2},   {"无题", 8}};
  int total_weight = 0;
  for (const Kind& kind : kTitles) total_weight += kind.weight;

  static const TraditionalConverter converter = *TraditionalConverter::Open();
  IndexBuildOptions options;
  options.traditional = &converter;
  CorpusIndexBuilder builder(options);
  PoemRandom random(20261210);
  const auto pick = [&](std::u16string_view from) { return from[random.Below(from.size())]; };
  for (int poem = 0; poem < 2000; ++poem) {
    int draw = static_cast<int>(random.Below(static_cast<size_t>(total_weight)));
    const Kind* kind = kTitles;
    while (draw >= kind->weight) draw -= (kind++)->weight;
    const int length = random.Below(3) == 0 ? 7 : 5;
    const int lines = random.Below(4) == 0 ? 8 : 4;
    // The poem's own characters: a stretch of the common ones.
    const size_t start = random.Below(kCommon.size());
    std::u16string own;
    for (size_t k = 0; k < 36; ++k) own += kCommon[(start + k * 7) % kCommon.size()];
    const std::u16string_view rhyme = kRhymes[random.Below(std::size(kRhymes))];
    std::vector<std::string> paragraphs;
    std::u16string paragraph;
    for (int i = 0; i < lines; ++i) {
      std::u16string line;
      for (int k = 0; k + 1 < length; ++k) {
        line += random.Below(10) < 7 ? pick(own) : pick(kCommon);
      }
      line += i % 2 == 1 ? pick(rhyme) : pick(kCommon);
      paragraph += line + (i % 2 == 0 ? u"，" : u"。");
      if (i % 2 == 1) {
        paragraphs.push_back(Utf16ToUtf8(paragraph));
        paragraph.clear();
      }
    }
    builder.AddPoem(Shi(kind->title, "某", std::move(paragraphs)));
  }
  return builder.Build();
}

CorpusIndex EvenChoiceCorpus() {
  CorpusIndexBuilder builder;
  for (const char* line :
       {"春山三夜雨", "春城三月暮", "春泉千树绿", "风柳满江烟", "风叶落长天", "风柳照前川"}) {
    builder.AddPoem(Shi("t", "a", {line}));
  }
  return builder.Build();
}

}  // namespace miravel::poemd::testing
