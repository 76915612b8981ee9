// The poem service's corpus: every line of five or seven characters of the
// classical poems, in simplified characters, with its source poem, the tone
// class of each character and the rhyme group of its last one; and, for
// each line length and hiding place, the lines that hold a character there.
//
// Built once by CorpusIndexBuilder (miravel-poemd-index) and saved to one
// file; loaded by the service, then read-only and safe to share between
// threads.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "poemd/phonetics.h"

namespace miravel::poemd {

enum class Place : uint8_t { kHead = 0, kMiddle = 1, kTail = 2 };

inline constexpr size_t kCommonCharacters = 3500;

// The 0-based position of `place` in a line of `length` (5 or 7).
int PositionOf(Place place, int length);
// 0 for five-character lines, 1 for seven.
inline int LengthSlot(int length) { return length == 7 ? 1 : 0; }

struct LineSource {
  std::string title;   // GBK
  std::string author;  // GBK
};

class CorpusIndex {
 public:
  // nullopt, with `error` set, when the file cannot be read or is no index.
  static std::optional<CorpusIndex> Load(const std::string& path, std::string* error);
  bool Save(const std::string& path) const;

  size_t LineCount(int length) const { return Lines(length).texts.size() / length; }
  std::u16string_view Text(int length, uint32_t line) const;
  // Bit i set: character i is 平.
  uint8_t LevelTones(int length, uint32_t line) const { return Lines(length).tones[line]; }
  RhymeGroup LastRhyme(int length, uint32_t line) const { return Lines(length).rhymes[line]; }
  // True when every character of the line is among the corpus's most
  // frequent (kCommonCharacters unless built otherwise): a line a reader
  // takes in at once.
  bool IsPlain(int length, uint32_t line) const { return Lines(length).plain[line] != 0; }
  LineSource Source(int length, uint32_t line) const;
  // Lines of `length` that hold `character` at `place`, in corpus order.
  std::span<const uint32_t> LinesWith(char16_t character, int length, Place place) const;
  // The character's reading as the index recorded it.
  Reading ReadingOf(char16_t character) const;

 private:
  friend class CorpusIndexBuilder;

  struct LineTable {
    std::u16string texts;           // `length` units a line
    std::vector<uint32_t> sources;  // index into source_offsets
    std::vector<uint8_t> tones;
    std::vector<RhymeGroup> rhymes;
    std::vector<uint8_t> plain;
  };
  // For one length and place: the characters present, sorted, with the
  // start of their run in `lines` (one more entry closes the last run).
  struct Postings {
    std::vector<char16_t> characters;
    std::vector<uint32_t> starts;
    std::vector<uint32_t> lines;
  };

  const LineTable& Lines(int length) const { return tables_[LengthSlot(length)]; }
  // Calls `visit` on each stored array in file order; Save and Load share it.
  template <typename Self, typename Visit>
  static void VisitSections(Self& self, Visit visit);

  std::array<LineTable, 2> tables_;
  std::array<Postings, 6> postings_;  // [length slot * 3 + place]
  std::vector<uint8_t> readings_;     // 65536 entries: rhyme | tone << 4
  std::string source_blob_;           // title '\0' author '\0' ...
  std::vector<uint32_t> source_offsets_;
};

// Collects poems and turns them into an index.
class CorpusIndexBuilder {
 public:
  // Lines made only of the `common_characters` most frequent characters
  // count as plain.
  explicit CorpusIndexBuilder(size_t common_characters = kCommonCharacters);
  ~CorpusIndexBuilder();

  // `title`, `author` and `paragraphs` in UTF-8, traditional or simplified.
  // Paragraphs are split at every character that is not a Chinese one; each
  // piece of five or seven characters that GBK can hold becomes a line, once.
  void AddPoem(std::string_view title, std::string_view author,
               const std::vector<std::string>& paragraphs);
  size_t LinesSoFar() const;
  // Also records the reading of every character of the CJK blocks.
  CorpusIndex Build();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace miravel::poemd
