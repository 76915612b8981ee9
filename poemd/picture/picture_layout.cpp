#include "poemd/picture/picture_layout.h"

#include <algorithm>
#include <cmath>

namespace miravel::poemd {
namespace {

// Pixels. A line's characters are large and closely set; the small print
// is a little over a third of their size.
constexpr double kMargin = 48;
constexpr double kColumn = 96;  // one column's width
constexpr double kPad = 28;     // inside a block, above and below the columns
constexpr double kBlockGap = 40;
constexpr double kBig = 60, kCell = 72;
constexpr double kTitle = 34, kTitleCell = 40;
constexpr double kSmall = 23, kSmallCell = 26;
constexpr double kNoteOffset = 17;  // two small columns this far either side of the centre
constexpr double kLineToNote = 18;
constexpr double kSeal = 52, kSealCharacter = 38;
// With readings, every column widens to set each character's reading right
// of it in small print, upright, as vertical text sets its annotations.
constexpr double kReading = 17, kReadingWidth = 58;

// Punctuation turned as vertical script sets it; the rest stands as it is.
char16_t Vertical(char16_t c) {
  switch (c) {
    case u'《':
      return u'\uFE3D';
    case u'》':
      return u'\uFE3E';
    case u'〈':
      return u'\uFE3F';
    case u'〉':
      return u'\uFE40';
    case u'（':
      return u'\uFE35';
    case u'）':
      return u'\uFE36';
    case u'〔':
      return u'\uFE39';
    case u'〕':
      return u'\uFE3A';
    case u'【':
      return u'\uFE3B';
    case u'】':
      return u'\uFE3C';
    case u'「':
      return u'\uFE41';
    case u'」':
      return u'\uFE42';
    case u'『':
      return u'\uFE43';
    case u'』':
      return u'\uFE44';
    case u'，':
      return u'\uFE10';
    case u'、':
      return u'\uFE11';
    case u'。':
      return u'\uFE12';
    case u'：':
      return u'\uFE13';
    case u'；':
      return u'\uFE14';
    case u'！':
      return u'\uFE15';
    case u'？':
      return u'\uFE16';
    case u'…':
      return u'\uFE19';
    case u'—':
      return u'\uFE31';
    default:
      return c;
  }
}

constexpr char16_t kMore = u'\uFE19';  // ︙: cut short

std::u16string ChineseNumber(size_t n) {
  static constexpr char16_t kDigits[] = u"〇一二三四五六七八九";
  if (n < 10) return {kDigits[n]};
  std::u16string out;
  if (n >= 20) out += kDigits[n / 10];
  out += u'十';
  if (n % 10) out += kDigits[n % 10];
  return out;
}

struct Styled {
  char16_t c;
  Ink ink;
};

// Places `text` down from `top` at `x`, at most `rows` cells; cut short with
// ︙ when longer. A space takes no cell; an ideographic space takes one.
void Column(std::vector<Styled> text, double x, double top, double size, double cell, size_t rows,
            std::vector<PlacedGlyph>* out) {
  std::erase_if(text, [](const Styled& s) { return s.c == u' '; });
  if (text.size() > rows) {
    text.resize(rows);
    text.back() = {kMore, text.back().ink};
  }
  for (size_t i = 0; i < text.size(); ++i) {
    out->push_back(
        {x, top + cell * (static_cast<double>(i) + 0.5), size, Vertical(text[i].c), text[i].ink});
  }
}

std::vector<Styled> Plain(const std::u16string& text, Ink ink) {
  std::vector<Styled> out;
  for (char16_t c : text) out.push_back({c, ink});
  return out;
}

}  // namespace

size_t PicturePages(const PoemPicture& picture) {
  return std::max<size_t>(1, (picture.lines.size() + kLinesPerPage - 1) / kLinesPerPage);
}

PictureLayout LayOutPicture(const PoemPicture& picture, size_t page) {
  const size_t pages = PicturePages(picture);
  const size_t first = page * kLinesPerPage;
  const size_t count =
      std::min(kLinesPerPage, picture.lines.size() - std::min(first, picture.lines.size()));
  const size_t length = picture.lines.empty() ? 5 : picture.lines[0].text.size();
  const size_t blocks = std::max<size_t>(1, (count + kColumnsPerBlock - 1) / kColumnsPerBlock);
  // The lines spread evenly over the blocks: ten lines are two blocks of five.
  const size_t columns = std::max<size_t>(1, (count + blocks - 1) / blocks);
  const size_t note_rows =
      static_cast<size_t>(std::lround(static_cast<double>(length) * kCell * 0.9 / kSmallCell));
  const double block_height =
      2 * kPad + static_cast<double>(length) * kCell + kLineToNote + note_rows * kSmallCell;
  const size_t slots = columns + 2;  // the title's, the lines', the colophon's
  const bool read = std::any_of(picture.lines.begin(), picture.lines.end(),
                                [](const PictureLine& line) { return !line.readings.empty(); });
  const double column = kColumn + (read ? kReadingWidth : 0);

  PictureLayout layout;
  layout.shapes = picture.shapes;
  layout.width = 2 * kMargin + static_cast<double>(slots) * column;
  layout.height = 2 * kMargin + static_cast<double>(blocks) * block_height +
                  static_cast<double>(blocks - 1) * kBlockGap;
  const auto slot_x = [&](size_t slot) {  // the centre of a slot, counted from the right
    return layout.width - kMargin - column * (static_cast<double>(slot) + 0.5);
  };

  for (size_t b = 0; b < blocks; ++b) {
    const double top = kMargin + static_cast<double>(b) * (block_height + kBlockGap);
    const double inner = top + kPad;
    layout.boxes.push_back({kMargin, top, layout.width - 2 * kMargin, block_height, Ink::kSeal});
    for (size_t s = 1; s < slots; ++s) {
      layout.boxes.push_back({layout.width - kMargin - column * static_cast<double>(s), top, 0,
                              block_height, Ink::kSeal});
    }
    if (b == 0) {
      const size_t rows = static_cast<size_t>((block_height - 2 * kPad) / kTitleCell);
      Column(Plain(picture.title, Ink::kText), slot_x(0), inner, kTitle, kTitleCell, rows,
             &layout.glyphs);
    }
    for (size_t c = 0; c < columns; ++c) {
      const size_t i = first + b * columns + c;
      if (i >= first + count) break;
      const PictureLine& line = picture.lines[i];
      std::vector<Styled> text = Plain(line.text, Ink::kText);
      if (line.hidden_at < text.size()) text[line.hidden_at].ink = Ink::kSeal;
      const double x = slot_x(c + 1) - (read ? kReadingWidth / 2 : 0);
      Column(text, x, inner, kBig, kCell, length, &layout.glyphs);
      for (size_t k = 0; k < line.readings.size() && k < length; ++k) {
        const bool chosen = k < line.chosen_by_metre.size() && line.chosen_by_metre[k];
        layout.texts.push_back({x + kBig / 2 + 6 + kReadingWidth / 2,
                                inner + kCell * (static_cast<double>(k) + 0.5), kReading,
                                line.readings[k], chosen ? Ink::kSeal : Ink::kQuiet});
      }

      std::vector<Styled> note;
      if (line.made) note = {{u'改', Ink::kSeal}, {u'字', Ink::kSeal}};
      for (const Styled& s : Plain(line.source, Ink::kQuiet)) note.push_back(s);
      const double note_top = inner + static_cast<double>(length) * kCell + kLineToNote;
      if (note.size() <= note_rows) {
        Column(note, x, note_top, kSmall, kSmallCell, note_rows, &layout.glyphs);
      } else {
        // Two small columns, the right one first, as notes under a line are set.
        const std::vector<Styled> rest(note.begin() + static_cast<long>(note_rows), note.end());
        note.resize(note_rows);
        Column(note, x + kNoteOffset, note_top, kSmall, kSmallCell, note_rows, &layout.glyphs);
        Column(rest, x - kNoteOffset, note_top, kSmall, kSmallCell, note_rows, &layout.glyphs);
      }
    }
    if (b + 1 == blocks) {
      std::u16string colophon = picture.colophon;
      if (pages > 1) {
        colophon += u"　第" + ChineseNumber(page + 1) + u"页共" + ChineseNumber(pages) + u"页";
      }
      const double x = slot_x(slots - 1);
      const double seal_top = top + block_height - kPad - kSeal;
      const size_t rows = static_cast<size_t>((seal_top - 12 - inner) / kSmallCell);
      Column(Plain(colophon, Ink::kQuiet), x, inner, kSmall, kSmallCell, rows, &layout.glyphs);
      layout.boxes.push_back({x - kSeal / 2, seal_top, kSeal, kSeal, Ink::kSeal, true});
      layout.glyphs.push_back({x, seal_top + kSeal / 2, kSealCharacter, u'藏', Ink::kPaper});
    }
  }
  return layout;
}

}  // namespace miravel::poemd
