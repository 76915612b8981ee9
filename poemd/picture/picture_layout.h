// A poem laid out as a picture in vertical script: each line a column, read
// top to bottom, the columns from right to left; the title in a column of
// its own at the right, each line's source in small print under it (two
// small columns where one is too short, as notes are set in old books), the
// rhyme and a seal in the last column at the left. Lines go in blocks of at
// most kColumnsPerBlock columns, the blocks one under another, and pages of
// at most kLinesPerPage lines. The geometry is in pixels of the PNG; the SVG
// uses the same numbers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace miravel::poemd {

struct PictureLine {
  std::u16string text;
  size_t hidden_at = 0;   // the hidden character's place in `text`
  bool made = false;      // a character put in by us (改字): marked
  std::u16string source;  // small print under the line; may be empty
  // Each character's reading (pinyin, UTF-8), one a character, the ones the
  // metre chose marked; empty for none.
  std::vector<std::string> readings;
  std::vector<bool> chosen_by_metre;
};

// The glyph shapes a picture's characters are drawn in: those of mainland
// China's standard for simplified text, those of the traditional standard
// (Taiwan's) for text in traditional characters. Many characters are one
// code point in both scripts with shapes that differ (骨, 直, 具).
enum class GlyphShapes : uint8_t { kSimplified, kTraditional };

struct PoemPicture {
  std::u16string title;     // 藏头诗 · 春江花月
  std::u16string colophon;  // 平水韵 · 下平七阳
  std::vector<PictureLine> lines;
  GlyphShapes shapes = GlyphShapes::kSimplified;
};

inline constexpr size_t kColumnsPerBlock = 8;
inline constexpr size_t kLinesPerPage = 16;

enum class Ink { kText, kSeal, kQuiet, kPaper };

struct PlacedGlyph {
  double x = 0, y = 0;  // the centre of its cell
  double size = 0;      // the font's size (em) in pixels
  char16_t c = 0;
  Ink ink = Ink::kText;
};

// A run of small print set left to right: a character's reading.
struct PlacedText {
  double x = 0, y = 0;  // the centre of its run
  double size = 0;
  std::string text;  // UTF-8
  Ink ink = Ink::kQuiet;
};

struct PlacedBox {
  double x = 0, y = 0, width = 0, height = 0;
  Ink ink = Ink::kQuiet;
  bool filled = false;  // else a thin outline
};

struct PictureLayout {
  double width = 0, height = 0;
  // In reading order: the title, then each line's characters and its
  // source, then the colophon and the seal's character.
  std::vector<PlacedGlyph> glyphs;
  std::vector<PlacedText> texts;  // the readings, in the order of their characters
  std::vector<PlacedBox> boxes;   // frames, column rules and the seal, under the glyphs
  GlyphShapes shapes = GlyphShapes::kSimplified;
};

// How many pages `picture` takes: at least 1.
size_t PicturePages(const PoemPicture& picture);

// Page `page` (from 0) of the picture. REQUIRES: page < PicturePages(picture),
// every line of the same length (5 or 7, or any length from 1 to 12).
PictureLayout LayOutPicture(const PoemPicture& picture, size_t page);

}  // namespace miravel::poemd
