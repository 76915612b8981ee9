// A laid-out picture (picture_layout.h) drawn on paper: as PNG with cairo
// and pango, and as SVG whose characters are text, so that the SVG can be
// searched, read aloud and checked. Both set the characters in Noto Serif
// CJK (the package fonts-noto-cjk), in its simplified-Chinese face (SC) or,
// for a picture in traditional characters, its traditional one (TC), whose
// glyphs are of the traditional standard; where fontconfig finds no such
// font, the PNG falls back to whatever serif it has. Thread-safe.
#pragma once

#include <string>

#include "common/status.h"
#include "poemd/picture/picture_layout.h"

namespace miravel::poemd {

// The font family the characters are set in.
const char* PictureFont(GlyphShapes shapes);

// The PNG's bytes; IOError, with cairo's or libpng's words, when either
// fails (out of memory, say).
StatusOr<std::string> RenderPng(const PictureLayout& layout);

// A standalone SVG document; `title` (UTF-8) is its <title>.
std::string RenderSvg(const PictureLayout& layout, const std::string& title);

}  // namespace miravel::poemd
