// The sections of the poem index file (index_file.h) and what each holds;
// the builder writes them and CorpusIndex reads them.
//
// Per line length (slot 0 for five characters, 1 for seven):
//   kTexts               char16_t  `length` characters a line
//   kTraits              LineTraits, one a line
//   kLineWrittenAt       uint32_t  one a line: where it begins in its source poem's text
//   kCouplets            Couplet, one a real couplet
//   kCoupletKinds        uint8_t   one a couplet: kMiddleCouplet when it is a
//                                  middle couplet of a 律诗
//   kSubjectLines        uint32_t  where each subject's lines start (one more entry):
//                                  lines are numbered by their poems' subjects
// per length and position (0 to length - 1):
//   kPostingCharacters   char16_t  the characters found there, ascending
//   kPostingStarts       uint32_t  where each character's lines start (one more entry)
//   kPostingLines        uint32_t  the lines, by character
// and per length and place (0 head, 1 middle, 2 tail):
//   kCoupletKeys         uint32_t  first << 16 | second, ascending
//   kCoupletStarts       uint32_t  where each key's couplets start (one more entry)
//   kCoupletIds          uint32_t  the couplets, by key
// Once:
//   kReadings            uint8_t   65536: a character's own reading, rhyme | tone << 4
//   kClassicalReadings   uint32_t  65536: its classical readings, PackClassical
//   kSources             uint32_t  kSourceFields per source: the offsets of its title and
//                                  poet as the corpus writes them, its dynasty, and the
//                                  offsets of its title and poet in traditional characters
//   kSourceText          char      UTF-8 texts, each ending '\0'
//   kPoemText, kPoemStarts, kPoemConverted, kPoemConvertedStarts,
//   kSimplifiedCharacters, kTraditionalCharacters: the source poems whole
//                                  (source_poems.h), one for each source
//   kVocabulary, kCohesion, kCohesionSigns: the association arrays (association.h)
//   kParallelModel       float     kParallelWeights: the parallel model (parallel_model.h)
//   kParallelCharacterClasses uint8_t 65536: each character's class for it
//   kMoodCharacters      char16_t  kMoodClasses * kCharacteristicCharacters:
//                                  each mood class's images (moods.h), '\0' after the last
//   kSubjectVocabulary, kSubjectCharacters, kSubjectTitleWords, kSubjectTitleWordVectors,
//   kSubjectCentres, kSubjectNames, kSubjectNameStarts, kSubjectNearest,
//   kSubjectTitleShares, kSubjectTitleClasses, kPoemSubjects, kPoemTitleClasses,
//   kPoemVectors: what each
//                                  source poem is about (subjects.h), one a subject or a source
//   kSyllableNames, kAloneSyllables, kPolyphones, kPolyphoneStarts, kPolyphoneReadings,
//   kPolyphoneVerse,
//   and per line length kLineSyllableKeys, kLineSyllableValues: the pinyin (syllables.h)
#pragma once

#include <cstdint>

namespace miravel::poemd::sections {

enum Kind : uint32_t {
  kTexts = 1,
  kTraits,
  kLineWrittenAt,
  kCouplets,
  kCoupletKinds,
  kPostingCharacters,
  kPostingStarts,
  kPostingLines,
  kCoupletKeys,
  kCoupletStarts,
  kCoupletIds,
  kSubjectLines,
  kReadings = 32,
  kSources,
  kSourceText,
  kVocabulary,
  kCohesion,
  kCohesionSigns,
  kClassicalReadings,
  kParallelModel,
  kParallelCharacterClasses,
  kMoodCharacters,
  kPoemText,
  kPoemStarts,
  kPoemConverted,
  kPoemConvertedStarts,
  kSimplifiedCharacters,
  kTraditionalCharacters,
  kSubjectVocabulary,
  kSubjectCharacters,
  kSubjectTitleWords,
  kSubjectTitleWordVectors,
  kSubjectCentres,
  kSubjectNames,
  kSubjectNameStarts,
  kSubjectNearest,
  kSubjectTitleShares,
  kSubjectTitleClasses,
  kPoemSubjects,
  kPoemTitleClasses,
  kPoemVectors,
  // The pinyin, numbered apart from the rest.
  kLineSyllableKeys = 16,
  kLineSyllableValues,
  kSyllableNames = 64,
  kAloneSyllables,
  kPolyphones,
  kPolyphoneStarts,
  kPolyphoneReadings,
  kPolyphoneVerse,
};

// A source's entries in kSources.
inline constexpr size_t kSourceFields = 5;

// A couplet's kind (kCoupletKinds).
inline constexpr uint8_t kMiddleCouplet = 1;

constexpr uint32_t Id(Kind kind, int slot = 0, int place = 0) {
  return static_cast<uint32_t>(kind) << 8 | static_cast<uint32_t>(slot) << 4 |
         static_cast<uint32_t>(place);
}

}  // namespace miravel::poemd::sections
