#include "poemd/testing/pinyin_corpus.h"

#include "poemd/indexing/corpus_index_builder.h"
#include "poemd/testing/testing_corpus.h"

namespace miravel::poemd::testing {

CorpusIndex PinyinCorpus(const std::vector<std::string>& poems) {
  WordReadings words;
  for (const auto& [word, pinyin] : std::initializer_list<std::pair<std::u16string, const char*>>{
           {u"看", "kàn"},
           {u"看守", "kān shǒu"},
           {u"骑", "qí"},
           {u"骑马", "qí mǎ"},
           {u"听", "tīng"},
           {u"长", "cháng"},
           {u"长安", "cháng ān"},
           {u"生长", "shēng zhǎng"},
           {u"行", "xíng"},
           {u"行人", "xíng rén"},
           {u"十二行", "shí èr háng"},
           {u"思", "sī"},
           {u"量", "liàng"},
           {u"思量", "sī liang"},
           {u"风", "fēng"},
           {u"醒", "xǐng"},
       }) {
    words.Add(word, pinyin, 1e-8);
  }
  const StatusOr<UnihanReadings> dictionaries = UnihanReadings::FromText(
      "# readings\n"
      "U+770B\tkXHC1983\t0632.020:kān 0633.060:kàn\n"
      "U+9A91\tkMandarin\tqí\n"
      "U+9A0E\tkHanyuPinyin\t74560.080:qí,jì\n"
      "U+542C\tkHanyuPinyin\t10591.020:yǐn,yí,tīng\n"
      "U+807D\tkXHC1983\t1145.031:tīng 1145.032:tìng\n"
      "U+884C\tkXHC1983\t0442.080:háng 0443.050:hàng 0460.010:xìng 1290.030:xíng\n"
      "U+98A8\tkHanyuPinyin\t74401.010:fēng,fěng\n"
      "U+9192\tkHanyuPinyin\t63590.010:xǐng,chéng,jīng\n");
  const StatusOr<ClassicalReadings> classical = ClassicalReadings::FromText(
      "看\t寒\t平\n看\t寒\t去\n騎\t支\t平\n騎\t支\t去\n聽\t青\t平\n聽\t青\t去\n"
      "長\t陽\t平\n長\t陽\t上\n長\t陽\t去\n行\t唐\t平\n行\t庚\t平\n行\t庚\t去\n"
      "思\t之\t平\n思\t之\t去\n風\t東\t平\n風\t東\t去\n色\t職\t入\n");
  CorpusIndexBuilder builder(
      {.readings = &words, .classical = &*classical, .dictionaries = &*dictionaries});
  for (const std::string& poem : poems) builder.AddPoem(Shi("诗", "某", {poem}));
  return builder.Build();
}

}  // namespace miravel::poemd::testing
