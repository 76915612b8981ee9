#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <regex>
#include <string>

#include "poemd/picture/picture_layout.h"
#include "poemd/picture/picture_render.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

PoemPicture Quatrain() {
  return {u"藏头诗 · 春江花月",
          u"平水韵 · 下平一先",
          {{u"春江潮水连", 0, false, u"〔唐〕张若虚《春江花月夜》"},
           {u"江畔何人初", 0, false, u"〔唐〕张若虚《春江花月夜》"},
           {u"花落知多少", 0, true, u"〔唐〕孟浩然《春晓》"},
           {u"月照花林皆", 0, false, u""}}};
}

PoemPicture Lines(size_t count, size_t length) {
  PoemPicture picture{u"藏头诗", u"平水韵", {}};
  for (size_t i = 0; i < count; ++i) {
    std::u16string text(length, u'山');
    text[0] = static_cast<char16_t>(u'一' + i);
    picture.lines.push_back({text, 0, false, u"某人《某诗》"});
  }
  return picture;
}

// The large characters, column by column from the right, each top down.
std::vector<std::u16string> ColumnsOf(const std::vector<PlacedGlyph>& glyphs, double size) {
  std::map<double, std::vector<const PlacedGlyph*>, std::greater<>> columns;
  for (const PlacedGlyph& g : glyphs) {
    if (g.size == size) columns[g.x].push_back(&g);
  }
  std::vector<std::u16string> out;
  for (auto& [x, column] : columns) {
    std::sort(column.begin(), column.end(),
              [](const PlacedGlyph* a, const PlacedGlyph* b) { return a->y < b->y; });
    std::u16string text;
    for (const PlacedGlyph* g : column) text += g->c;
    out.push_back(text);
  }
  return out;
}

constexpr double kLineSize = 60;

TEST(PictureLayoutTest, LinesAreColumnsReadFromTheRight) {
  const PictureLayout layout = LayOutPicture(Quatrain(), 0);
  EXPECT_EQ(
      ColumnsOf(layout.glyphs, kLineSize),
      (std::vector<std::u16string>{u"春江潮水连", u"江畔何人初", u"花落知多少", u"月照花林皆"}));
  // The title stands right of the first line, the seal left of the last.
  const auto first_line = std::find_if(layout.glyphs.begin(), layout.glyphs.end(),
                                       [](const PlacedGlyph& g) { return g.size == kLineSize; });
  EXPECT_GT(layout.glyphs.front().x, first_line->x);
  EXPECT_EQ(layout.glyphs.front().c, u'藏');
  EXPECT_EQ(layout.glyphs.back().ink, Ink::kPaper);
  for (const PlacedGlyph& g : layout.glyphs) {
    if (g.size == kLineSize) {
      EXPECT_LT(layout.glyphs.back().x, g.x);
    }
  }
  EXPECT_LT(layout.width, layout.height) << "a quatrain stands upright, as on a phone";
}

TEST(PictureLayoutTest, HiddenCharactersInSealRedAndMadeLinesMarked) {
  PoemPicture picture = Quatrain();
  picture.lines[1].hidden_at = 2;
  const PictureLayout layout = LayOutPicture(picture, 0);
  std::u16string red;
  for (const PlacedGlyph& g : layout.glyphs) {
    if (g.size == kLineSize && g.ink == Ink::kSeal) red += g.c;
  }
  EXPECT_EQ(red, u"春何花月");
  std::u16string small_red;
  for (const PlacedGlyph& g : layout.glyphs) {
    if (g.size < kLineSize && g.size > 0 && g.ink == Ink::kSeal) small_red += g.c;
  }
  EXPECT_EQ(small_red, u"改字") << "only the made line is marked";
}

TEST(PictureLayoutTest, SourcesTurnTheirBracketsAndLongOnesTakeTwoColumns) {
  PoemPicture picture = Quatrain();
  picture.lines[0].source = u"〔唐〕" + std::u16string(40, u'长') + u"《题》";
  const PictureLayout layout = LayOutPicture(picture, 0);
  std::map<double, std::u16string> small;  // x → text, under the first line
  const double first_x =
      std::max_element(layout.glyphs.begin() + 1, layout.glyphs.end(),
                       [](const PlacedGlyph& a, const PlacedGlyph& b) {
                         return (a.size == kLineSize ? a.x : 0) < (b.size == kLineSize ? b.x : 0);
                       })
          ->x;
  for (const PlacedGlyph& g : layout.glyphs) {
    if (g.size < 30 && std::abs(g.x - first_x) < 48 && g.ink == Ink::kQuiet) small[g.x] += g.c;
  }
  ASSERT_EQ(small.size(), 2u);
  EXPECT_EQ(small.rbegin()->second.substr(0, 3), u"\uFE39唐\uFE3A")
      << "︹唐︺, the right one first";
  EXPECT_EQ(small.begin()->second.back(), u'\uFE19') << "cut short with ︙";
  // Short sources keep to one centred column: 改字 and 〔唐〕孟浩然《春晓》.
  const PictureLayout plain = LayOutPicture(Quatrain(), 0);
  const double third_x =
      std::find_if(plain.glyphs.begin(), plain.glyphs.end(), [](const PlacedGlyph& g) {
        return g.c == u'落';
      })->x;
  size_t at_centre = 0;
  for (const PlacedGlyph& g : plain.glyphs) at_centre += g.size < 30 && g.x == third_x;
  EXPECT_EQ(at_centre, 12u);
}

TEST(PictureLayoutTest, EachReadingStandsRightOfItsCharacterAndTheMetresInRed) {
  PoemPicture picture = Quatrain();
  for (PictureLine& line : picture.lines) {
    line.readings = {"a", "b", "c", "d", "e"};
    line.chosen_by_metre = {false, false, false, true, false};
  }
  const PictureLayout layout = LayOutPicture(picture, 0);
  const PictureLayout plain = LayOutPicture(Quatrain(), 0);
  EXPECT_TRUE(plain.texts.empty());
  EXPECT_GT(layout.width, plain.width);
  // The lines stay as they were, one column each.
  EXPECT_EQ(ColumnsOf(layout.glyphs, kLineSize), ColumnsOf(plain.glyphs, kLineSize));
  ASSERT_EQ(layout.texts.size(), 20u);
  std::vector<const PlacedGlyph*> characters;
  for (const PlacedGlyph& g : layout.glyphs) {
    if (g.size == kLineSize) characters.push_back(&g);
  }
  ASSERT_EQ(characters.size(), 20u);
  for (size_t i = 0; i < 20; ++i) {
    const PlacedText& reading = layout.texts[i];
    const PlacedGlyph& character = *characters[i];
    EXPECT_EQ(reading.y, character.y) << i;
    EXPECT_GT(reading.x - reading.size, character.x + kLineSize / 2) << i;
    EXPECT_LT(reading.size, kLineSize / 2);
    EXPECT_EQ(reading.text, std::string(1, static_cast<char>('a' + i % 5)));
    EXPECT_EQ(reading.ink, i % 5 == 3 ? Ink::kSeal : Ink::kQuiet) << i;
  }
  // A reading as wide as the widest syllable (zhuàng) keeps clear of the
  // line to its right.
  EXPECT_LT(layout.texts[5].x + 3 * kLineSize / 8, characters[0]->x - kLineSize / 2);
}

TEST(PictureLayoutTest, LongPoemsTakeBlocksAndPages) {
  EXPECT_EQ(PicturePages(Lines(4, 5)), 1u);
  EXPECT_EQ(PicturePages(Lines(16, 7)), 1u);
  EXPECT_EQ(PicturePages(Lines(100, 7)), 7u);

  // Ten lines: two blocks of five, one under the other.
  const PictureLayout ten = LayOutPicture(Lines(10, 7), 0);
  const std::vector<std::u16string> columns = ColumnsOf(ten.glyphs, kLineSize);
  ASSERT_EQ(columns.size(), 5u) << "the blocks share their columns' places";
  EXPECT_EQ(columns[0], u"一山山山山山山" + std::u16string(1, u'一' + 5) + u"山山山山山山");
  EXPECT_GT(ten.height, ten.width);

  // Every line is on exactly one page, in order; the last page says so.
  const PoemPicture hundred = Lines(100, 5);
  std::u16string heads;
  for (size_t page = 0; page < PicturePages(hundred); ++page) {
    const PictureLayout layout = LayOutPicture(hundred, page);
    for (const PlacedGlyph& g : layout.glyphs) {
      if (g.size == kLineSize && g.c != u'山') heads += g.c;
    }
    EXPECT_LE(layout.width, 1100) << "page " << page;
    std::u16string colophon;
    for (const PlacedGlyph& g : layout.glyphs) colophon += g.c;
    EXPECT_NE(colophon.find(page == 6 ? u"第七页共七页" : u"页共七页"), std::u16string::npos);
  }
  ASSERT_EQ(heads.size(), 100u);
  for (size_t i = 0; i < 100; ++i) EXPECT_EQ(heads[i], static_cast<char16_t>(u'一' + i));
}

TEST(PictureLayoutTest, ALongTitleIsCutShort) {
  PoemPicture picture = Lines(4, 5);
  picture.title = u"藏头诗 · " + std::u16string(100, u'春');
  const PictureLayout layout = LayOutPicture(picture, 0);
  const std::vector<std::u16string> columns = ColumnsOf(layout.glyphs, 34);
  ASSERT_EQ(columns.size(), 1u);
  EXPECT_LT(columns[0].size(), 20u);
  EXPECT_EQ(columns[0].back(), u'\uFE19');
  for (const PlacedGlyph& g : layout.glyphs) EXPECT_LT(g.y, layout.height);
}

// The SVG's characters, read as a reader reads them: what the picture says.
TEST(PictureSvgTest, ItsTextIsThePoem) {
  const PoemPicture picture = Quatrain();
  const std::string svg = RenderSvg(LayOutPicture(picture, 0), "藏头诗 · 春江花月 <&>\"'");
  EXPECT_NE(svg.find("<title>藏头诗 · 春江花月 &lt;&amp;&gt;&quot;&#39;</title>"),
            std::string::npos);
  EXPECT_EQ(svg.find("{{"), std::string::npos);
  const std::regex text(
      "<text x=\"([0-9.]+)\" y=\"([0-9.]+)\" font-size=\"([0-9.]+)\" fill=\"(#[0-9a-f]+)\">"
      "([^<]+)</text>");
  std::vector<PlacedGlyph> read;
  std::string red;
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), text); it != std::sregex_iterator();
       ++it) {
    const std::u16string c = Utf8ToUtf16((*it)[5].str());
    ASSERT_EQ(c.size(), 1u) << (*it)[5];
    read.push_back({std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]), c[0]});
    if ((*it)[3] == "60.0" && (*it)[4] == "#b22222") red += (*it)[5];
  }
  std::vector<std::u16string> lines;
  for (const PictureLine& line : picture.lines) lines.push_back(line.text);
  EXPECT_EQ(ColumnsOf(read, kLineSize), lines);
  EXPECT_EQ(red, "春江花月");
}

// The PNG, looked at: where the layout puts a character there is ink of
// the right colour, and it is that character's shape.
class PicturePngTest : public ::testing::Test {
 protected:
  struct Image {
    int width = 0, height = 0, stride = 0;
    std::vector<unsigned char> data;
    // 0..255 per channel at (x, y).
    std::array<int, 3> At(int x, int y) const {
      const unsigned char* p = &data[static_cast<size_t>(y * stride + x * 4)];
      return {p[2], p[1], p[0]};
    }
  };
  static Image Decode(const std::string& png) {
    struct Reader {
      const std::string* png;
      size_t at = 0;
    } reader{&png};
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(
        [](void* closure, unsigned char* out, unsigned int length) {
          auto* r = static_cast<Reader*>(closure);
          if (r->png->size() - r->at < length) return CAIRO_STATUS_READ_ERROR;
          std::copy_n(r->png->data() + r->at, length, out);
          r->at += length;
          return CAIRO_STATUS_SUCCESS;
        },
        &reader);
    Image image;
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
      cairo_surface_flush(surface);
      image.width = cairo_image_surface_get_width(surface);
      image.height = cairo_image_surface_get_height(surface);
      image.stride = cairo_image_surface_get_stride(surface);
      const unsigned char* data = cairo_image_surface_get_data(surface);
      image.data.assign(data, data + image.stride * image.height);
    }
    cairo_surface_destroy(surface);
    return image;
  }
  // The cell of a glyph, as grey levels (0 paper .. 1 ink), and how much of
  // it is red.
  static std::vector<double> Cell(const Image& image, const PlacedGlyph& g, int* red) {
    std::vector<double> grey;
    *red = 0;
    const int half = static_cast<int>(g.size / 2);
    for (int y = static_cast<int>(g.y) - half; y < static_cast<int>(g.y) + half; ++y) {
      for (int x = static_cast<int>(g.x) - half; x < static_cast<int>(g.x) + half; ++x) {
        const auto [r, gr, b] = image.At(x, y);
        grey.push_back(1.0 - (r + gr + b) / (3.0 * 255));
        *red += r > 140 && gr < 100 && b < 100;
      }
    }
    return grey;
  }
  static double Distance(const std::vector<double>& a, const std::vector<double>& b) {
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i) sum += std::abs(a[i] - b[i]);
    return sum;
  }
};

TEST_F(PicturePngTest, EveryCharacterIsDrawnWhereItsCellIsInItsInk) {
  const PictureLayout layout = LayOutPicture(Quatrain(), 0);
  const Image image = Decode(*RenderPng(layout));
  ASSERT_EQ(image.width, static_cast<int>(layout.width));
  ASSERT_EQ(image.height, static_cast<int>(layout.height));
  for (const PlacedGlyph& g : layout.glyphs) {
    if (g.size != kLineSize) continue;
    int red = 0;
    const std::vector<double> cell = Cell(image, g, &red);
    double ink = 0;
    for (double v : cell) ink += v;
    EXPECT_GT(ink, 60) << "nothing drawn for " << Utf16ToUtf8(std::u16string(1, g.c));
    if (g.ink == Ink::kSeal) {
      EXPECT_GT(red, 100) << Utf16ToUtf8(std::u16string(1, g.c)) << " should be seal red";
    } else {
      EXPECT_EQ(red, 0) << Utf16ToUtf8(std::u16string(1, g.c)) << " should be ink";
    }
  }
}

TEST_F(PicturePngTest, EachCellHoldsTheShapeOfItsOwnCharacter) {
  const PictureLayout layout = LayOutPicture(Quatrain(), 0);
  const Image image = Decode(*RenderPng(layout));
  std::vector<PlacedGlyph> line;
  for (const PlacedGlyph& g : layout.glyphs) {
    if (g.size == kLineSize && g.ink == Ink::kText && line.size() < 4) line.push_back(g);
  }
  ASSERT_EQ(line.size(), 4u);  // 江潮水连
  // Each of those characters drawn alone, at the same place within a pixel.
  std::vector<std::vector<double>> alone;
  for (const PlacedGlyph& g : line) {
    PictureLayout one{200, 200, {}, {}};
    PlacedGlyph moved = g;
    moved.x = 100 + (g.x - std::floor(g.x));
    moved.y = 100 + (g.y - std::floor(g.y));
    one.glyphs.push_back(moved);
    int red = 0;
    alone.push_back(Cell(Decode(*RenderPng(one)), moved, &red));
  }
  for (size_t i = 0; i < line.size(); ++i) {
    int red = 0;
    const std::vector<double> cell = Cell(image, line[i], &red);
    for (size_t j = 0; j < line.size(); ++j) {
      if (j == i) continue;
      EXPECT_LT(Distance(cell, alone[i]), Distance(cell, alone[j]) / 4)
          << "cell " << i << " against " << j;
    }
  }
}

TEST_F(PicturePngTest, TraditionalTextIsDrawnInTraditionalGlyphShapes) {
  // One character alone, at the centre of a small picture, in either shapes.
  const auto cell = [](char16_t c, GlyphShapes shapes) {
    PictureLayout one{200, 200, {{100, 100, kLineSize, c, Ink::kText}}, {}, {}, shapes};
    int red = 0;
    return Cell(Decode(*RenderPng(one)), one.glyphs[0], &red);
  };
  // 骨's inner stroke turns the other way in the traditional standard; 山 is
  // drawn alike in both, so what tells 骨 apart is its shape, not the face.
  const double bone =
      Distance(cell(u'骨', GlyphShapes::kSimplified), cell(u'骨', GlyphShapes::kTraditional));
  const double mountain =
      Distance(cell(u'山', GlyphShapes::kSimplified), cell(u'山', GlyphShapes::kTraditional));
  EXPECT_GT(bone, 4 * mountain + 20);
}

TEST(PictureSvgTest, NamesTheFaceOfItsScript) {
  PoemPicture picture = Quatrain();
  EXPECT_NE(RenderSvg(LayOutPicture(picture, 0), "").find("'Noto Serif CJK SC'"),
            std::string::npos);
  picture.shapes = GlyphShapes::kTraditional;
  const std::string svg = RenderSvg(LayOutPicture(picture, 0), "");
  EXPECT_NE(svg.find("'Noto Serif CJK TC'"), std::string::npos);
  EXPECT_NE(svg.find("lang=\"zh-Hant\""), std::string::npos);
  EXPECT_EQ(svg.find("SC'"), std::string::npos);
}

}  // namespace
}  // namespace miravel::poemd
