#include "poemd/picture/picture_render.h"

#include <cairo.h>
#include <pango/pangocairo.h>
#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "poemd/markup/html_template.h"
#include "text/utf.h"

namespace miravel {

// The SVG's markup: this folder's .svg files, built into the library
// (cmake/embed_files.cmake).
std::optional<std::string_view> EmbeddedPictureFile(std::string_view name);

namespace poemd {
namespace {

const HtmlTemplate& PictureTemplate(std::string_view file) {
  return HtmlTemplate::Named(file, EmbeddedPictureFile);
}

struct Rgb {
  double r, g, b;
  const char* hex;
};

Rgb Colour(Ink ink) {
  switch (ink) {
    case Ink::kText:
      return {0x2a / 255.0, 0x24 / 255.0, 0x20 / 255.0, "#2a2420"};
    case Ink::kSeal:
      return {0xb2 / 255.0, 0x22 / 255.0, 0x22 / 255.0, "#b22222"};
    case Ink::kQuiet:
      return {0x6f / 255.0, 0x65 / 255.0, 0x5c / 255.0, "#6f655c"};
    case Ink::kPaper:
      break;
  }
  return {0xfb / 255.0, 0xf7 / 255.0, 0xef / 255.0, "#fbf7ef"};
}

// Column rules are the seal's red, faint, as ruled paper is.
constexpr double kRuleAlpha = 0.35;
constexpr double kRuleWidth = 1.5;

template <typename T, void (*Free)(T*)>
struct Freer {
  void operator()(T* p) const { Free(p); }
};
using Surface = std::unique_ptr<cairo_surface_t, Freer<cairo_surface_t, cairo_surface_destroy>>;
using Context = std::unique_ptr<cairo_t, Freer<cairo_t, cairo_destroy>>;
void Unref(PangoLayout* p) { g_object_unref(p); }
using Layout = std::unique_ptr<PangoLayout, Freer<PangoLayout, Unref>>;
using Font =
    std::unique_ptr<PangoFontDescription, Freer<PangoFontDescription, pango_font_description_free>>;

// The surface as an RGB PNG. Written here rather than by cairo, whose
// writer tries every filter on every row at zlib's default level: four
// fifths of a picture's time went there. One filter (Up: ruled paper
// repeats row on row) and a fast level make it several times quicker for a
// file a little larger.
StatusOr<std::string> EncodePng(cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  const int width = cairo_image_surface_get_width(surface);
  const int height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* pixels = cairo_image_surface_get_data(surface);
  std::string png;
  png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = writer ? png_create_info_struct(writer) : nullptr;
  if (!info) {
    png_destroy_write_struct(&writer, nullptr);
    return Status::IOError("libpng cannot start a picture");
  }
  std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
  if (setjmp(png_jmpbuf(writer))) {  // libpng's errors come back here
    png_destroy_write_struct(&writer, &info);
    return Status::IOError("libpng failed to write the picture");
  }
  png_set_write_fn(
      writer, &png,
      [](png_structp p, png_bytep data, png_size_t length) {
        static_cast<std::string*>(png_get_io_ptr(p))->append(reinterpret_cast<char*>(data), length);
      },
      nullptr);
  png_set_IHDR(writer, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(writer, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
  png_set_compression_level(writer, 2);
  png_write_info(writer, info);
  for (int y = 0; y < height; ++y) {
    // CAIRO_FORMAT_RGB24: a native-endian 32-bit word per pixel, 0x00RRGGBB.
    const auto* words = reinterpret_cast<const uint32_t*>(pixels + static_cast<size_t>(y) * stride);
    for (int x = 0; x < width; ++x) {
      row[3 * x] = static_cast<unsigned char>(words[x] >> 16);
      row[3 * x + 1] = static_cast<unsigned char>(words[x] >> 8);
      row[3 * x + 2] = static_cast<unsigned char>(words[x]);
    }
    png_write_row(writer, row.data());
  }
  png_write_end(writer, nullptr);
  png_destroy_write_struct(&writer, &info);
  return png;
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

// Where a run of text stands in the SVG, and its ink.
PageValues Placed(double x, double y, double size, Ink ink) {
  PageValues values;
  values.Text("x", Number(x)).Text("y", Number(y)).Text("size", Number(size));
  values.Text("ink", Colour(ink).hex);
  return values;
}

}  // namespace

const char* PictureFont(GlyphShapes shapes) {
  return shapes == GlyphShapes::kTraditional ? "Noto Serif CJK TC" : "Noto Serif CJK SC";
}

StatusOr<std::string> RenderPng(const PictureLayout& layout) {
  const Surface surface(cairo_image_surface_create(
      CAIRO_FORMAT_RGB24, static_cast<int>(layout.width), static_cast<int>(layout.height)));
  if (const cairo_status_t status = cairo_surface_status(surface.get());
      status != CAIRO_STATUS_SUCCESS) {
    return Status::IOError(std::string("cairo: ") + cairo_status_to_string(status));
  }
  const Context cr(cairo_create(surface.get()));
  const Rgb paper = Colour(Ink::kPaper);
  cairo_set_source_rgb(cr.get(), paper.r, paper.g, paper.b);
  cairo_paint(cr.get());

  for (const PlacedBox& box : layout.boxes) {
    const Rgb ink = Colour(box.ink);
    cairo_rectangle(cr.get(), box.x, box.y, box.width, box.height);
    if (box.filled) {
      cairo_set_source_rgb(cr.get(), ink.r, ink.g, ink.b);
      cairo_fill(cr.get());
    } else {
      cairo_set_source_rgba(cr.get(), ink.r, ink.g, ink.b, kRuleAlpha);
      cairo_set_line_width(cr.get(), kRuleWidth);
      cairo_stroke(cr.get());
    }
  }

  const Layout text(pango_cairo_create_layout(cr.get()));
  const Font font(pango_font_description_from_string(PictureFont(layout.shapes)));
  double size = 0;
  // `utf8` centred at (x, y).
  const auto show = [&](double x, double y, double at_size, std::string_view utf8, Ink ink) {
    if (at_size != size) {
      size = at_size;
      pango_font_description_set_absolute_size(font.get(), size * PANGO_SCALE);
      pango_layout_set_font_description(text.get(), font.get());
    }
    pango_layout_set_text(text.get(), utf8.data(), static_cast<int>(utf8.size()));
    PangoRectangle logical;
    pango_layout_get_pixel_extents(text.get(), nullptr, &logical);
    const Rgb rgb = Colour(ink);
    cairo_set_source_rgb(cr.get(), rgb.r, rgb.g, rgb.b);
    cairo_move_to(cr.get(), x - logical.width / 2.0, y - logical.height / 2.0);
    pango_cairo_show_layout(cr.get(), text.get());
  };
  for (const PlacedGlyph& glyph : layout.glyphs) {
    show(glyph.x, glyph.y, glyph.size, Utf16ToUtf8(std::u16string_view(&glyph.c, 1)), glyph.ink);
  }
  for (const PlacedText& run : layout.texts) show(run.x, run.y, run.size, run.text, run.ink);

  return EncodePng(surface.get());
}

std::string RenderSvg(const PictureLayout& layout, const std::string& title) {
  static const HtmlTemplate& frame = PictureTemplate("picture.svg");
  static const HtmlTemplate& box_template = PictureTemplate("picture_box.svg");
  static const HtmlTemplate& glyph_template = PictureTemplate("picture_glyph.svg");
  static const HtmlTemplate& text_template = PictureTemplate("picture_text.svg");
  std::string boxes;
  for (const PlacedBox& box : layout.boxes) {
    boxes += box_template.Render(PageValues()
                                     .Text("x", Number(box.x))
                                     .Text("y", Number(box.y))
                                     .Text("width", Number(box.width))
                                     .Text("height", Number(box.height))
                                     .Flag("filled", box.filled)
                                     .Text("ink", Colour(box.ink).hex)
                                     .Text("opacity", Number(kRuleAlpha))
                                     .Text("rule", Number(kRuleWidth)));
  }
  std::string glyphs;
  for (const PlacedGlyph& glyph : layout.glyphs) {
    glyphs += glyph_template.Render(Placed(glyph.x, glyph.y, glyph.size, glyph.ink)
                                        .Text("character", Utf16ToUtf8({&glyph.c, 1})));
  }
  for (const PlacedText& run : layout.texts) {
    glyphs += text_template.Render(Placed(run.x, run.y, run.size, run.ink).Text("text", run.text));
  }
  // Where the viewer lacks Noto, the same face under another name, then
  // the system's own serif of the script; the language picks the glyphs a
  // font of both scripts has.
  const bool traditional = layout.shapes == GlyphShapes::kTraditional;
  return frame.Render(PageValues()
                          .Text("width", Number(layout.width))
                          .Text("height", Number(layout.height))
                          .Text("title", title)
                          .Text("paper", Colour(Ink::kPaper).hex)
                          .Text("font", PictureFont(layout.shapes))
                          .Text("fallbacks", traditional ? "'Source Han Serif TC', 'Songti TC', PMingLiU"
                                                         : "'Source Han Serif SC', 'Songti SC', SimSun")
                          .Text("lang", traditional ? "zh-Hant" : "zh-Hans")
                          .Html("boxes", std::move(boxes))
                          .Html("glyphs", std::move(glyphs)));
}

}  // namespace poemd
}  // namespace miravel
