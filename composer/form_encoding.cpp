#include "composer/form_encoding.h"

namespace miravel {
namespace {

bool PassesThrough(unsigned char byte) {
  return (byte >= 0x2C && byte <= 0x39) || (byte >= 'A' && byte <= 'Z') ||
         (byte >= 'a' && byte <= 'z');
}

}  // namespace

Text EncodeFormValue(const Text& text, EventPump& pump, bool pass_through) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const Text input = text;  // handlers running in between may change the caller's text
  Text out;
  out.reserve(input.size() * 3);
  for (const char c : input) {
    const auto byte = static_cast<unsigned char>(c);
    if (pass_through && PassesThrough(byte)) {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0x0F];
    }
    pump.ProcessPendingEvents();
  }
  return out;
}

}  // namespace miravel
