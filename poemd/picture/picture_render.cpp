#include "poemd/picture/picture_render.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <cstdio>
#include <memory>

#include "text/utf.h"

namespace miravel::poemd {
namespace {

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

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

}  // namespace

std::string RenderPng(const PictureLayout& layout) {
  const Surface surface(cairo_image_surface_create(
      CAIRO_FORMAT_RGB24, static_cast<int>(layout.width), static_cast<int>(layout.height)));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return {};
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
  const Font font(pango_font_description_from_string(kPictureFont));
  double size = 0;
  for (const PlacedGlyph& glyph : layout.glyphs) {
    if (glyph.size != size) {
      size = glyph.size;
      pango_font_description_set_absolute_size(font.get(), size * PANGO_SCALE);
      pango_layout_set_font_description(text.get(), font.get());
    }
    const std::string utf8 = Utf16ToUtf8(std::u16string_view(&glyph.c, 1));
    pango_layout_set_text(text.get(), utf8.data(), static_cast<int>(utf8.size()));
    PangoRectangle logical;
    pango_layout_get_pixel_extents(text.get(), nullptr, &logical);
    const Rgb ink = Colour(glyph.ink);
    cairo_set_source_rgb(cr.get(), ink.r, ink.g, ink.b);
    cairo_move_to(cr.get(), glyph.x - logical.width / 2.0, glyph.y - logical.height / 2.0);
    pango_cairo_show_layout(cr.get(), text.get());
  }

  std::string png;
  if (cairo_surface_write_to_png_stream(surface.get(), Append, &png) != CAIRO_STATUS_SUCCESS) {
    return {};
  }
  return png;
}

std::string RenderSvg(const PictureLayout& layout, const std::string& title) {
  std::string svg =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
      Number(layout.width) + "\" height=\"" + Number(layout.height) + "\" viewBox=\"0 0 " +
      Number(layout.width) + " " + Number(layout.height) + "\" role=\"img\">\n<title>";
  for (char c : title) {
    if (c == '<')
      svg += "&lt;";
    else if (c == '&')
      svg += "&amp;";
    else
      svg += c;
  }
  svg += "</title>\n<rect width=\"100%\" height=\"100%\" fill=\"" +
         std::string(Colour(Ink::kPaper).hex) + "\"/>\n";
  for (const PlacedBox& box : layout.boxes) {
    svg += "<rect x=\"" + Number(box.x) + "\" y=\"" + Number(box.y) + "\" width=\"" +
           Number(box.width) + "\" height=\"" + Number(box.height) + "\" ";
    svg += box.filled ? "fill=\"" + std::string(Colour(box.ink).hex) + "\"/>\n"
                      : "fill=\"none\" stroke=\"" + std::string(Colour(box.ink).hex) +
                            "\" stroke-opacity=\"" + Number(kRuleAlpha) + "\" stroke-width=\"" +
                            Number(kRuleWidth) + "\"/>\n";
  }
  svg += std::string("<g font-family=\"'") + kPictureFont +
         "', 'Source Han Serif SC', 'Songti SC', SimSun, serif\" text-anchor=\"middle\" "
         "dominant-baseline=\"central\">\n";
  for (const PlacedGlyph& glyph : layout.glyphs) {
    std::string c = Utf16ToUtf8(std::u16string_view(&glyph.c, 1));
    if (c == "<") c = "&lt;";
    if (c == "&") c = "&amp;";
    svg += "<text x=\"" + Number(glyph.x) + "\" y=\"" + Number(glyph.y) + "\" font-size=\"" +
           Number(glyph.size) + "\" fill=\"" + Colour(glyph.ink).hex + "\">" + c + "</text>\n";
  }
  return svg + "</g>\n</svg>\n";
}

}  // namespace miravel::poemd
