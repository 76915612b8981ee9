#include "poemd/serve/routes/favicon.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace miravel {
extern const std::string_view kIcon16Png;
extern const std::string_view kIcon32Png;
}  // namespace miravel

namespace miravel::poemd {
namespace {

void Little(std::string* out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

std::string MakeIco() {
  const std::array<std::pair<int, std::string_view>, 2> images{
      {{16, kIcon16Png}, {32, kIcon32Png}}};
  std::string ico;
  Little(&ico, 0, 2);              // reserved
  Little(&ico, 1, 2);              // an icon
  Little(&ico, images.size(), 2);  // how many images
  uint32_t offset = 6 + 16 * images.size();
  for (const auto& [size, png] : images) {
    ico.push_back(static_cast<char>(size));  // width, height
    ico.push_back(static_cast<char>(size));
    Little(&ico, 0, 2);   // no palette, reserved
    Little(&ico, 1, 2);   // planes
    Little(&ico, 32, 2);  // bits per pixel
    Little(&ico, static_cast<uint32_t>(png.size()), 4);
    Little(&ico, offset, 4);
    offset += static_cast<uint32_t>(png.size());
  }
  for (const auto& image : images) ico += image.second;
  return ico;
}

}  // namespace

HttpReply FaviconReply() {
  static const std::string ico = MakeIco();
  HttpReply icon{200, "image/x-icon", ico, {}, {}};
  icon.headers.emplace_back("Cache-Control", "public, max-age=604800");
  return icon;
}

}  // namespace miravel::poemd
