// A made-up corpus for the pinyin: a few polyphones with their readings in
// a small word dictionary, the dictionaries' readings and the 广韵's:
//   看 kàn alone, kān in 看守; classically 平 and 去
//   骑 qí alone and in 骑马; 騎 jì in the historical dictionary; 平 and 去
//   听 tīng; 聽 tìng in a modern dictionary; the historical 听 yǐn, yí
//        (another word written so); 平 and 去
//   长 cháng alone and in 长安, zhǎng in 生长; 平 上 去
//   行 xíng alone and in 行人, háng in 十二行, xìng and hàng in a modern
//        dictionary; 平 and 去
//   思 sī alone, sī liang in 思量 (a neutral tone); 量 liàng alone
//   风 fēng; 風 fěng (讽) in the historical dictionary; 平 and 去
//   色 of the entering tone only (仄)
//   醒 xǐng; chéng (酲) and jīng in the historical dictionary
// Other characters read as ICU reads them, and have no classical reading.
#pragma once

#include <string>
#include <vector>

#include "poemd/index/corpus_index.h"

namespace miravel::poemd::testing {

// An index of `poems` (each a paragraph of lines, UTF-8, one a source; of
// four lines of one length, a regulated poem).
CorpusIndex PinyinCorpus(const std::vector<std::string>& poems);

}  // namespace miravel::poemd::testing
