#include "poemd/testing/testing_corpus.h"

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
  CorpusIndexBuilder builder;
  builder.AddPoem(Shi("春日", "甲", {"春来山色好，风起白云长。", "花落江南水，月明孤客船。"}));
  builder.AddPoem(Shi("杂咏", "乙", {"春风又绿江南岸，明月何时照我还。"}));
  return builder.Finish();
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
