#include "poemd/indexing/traditional_converter.h"

#include <opencc/opencc.h>

#include <cstdint>

#include "text/utf.h"

namespace miravel::poemd {

struct TraditionalConverter::Handle {
  explicit Handle(opencc_t o) : opencc(o) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { opencc_close(opencc); }

  opencc_t opencc;
};

StatusOr<TraditionalConverter> TraditionalConverter::Open(const std::string& config) {
  const opencc_t opencc = opencc_open(config.c_str());
  if (opencc == reinterpret_cast<opencc_t>(-1)) {
    return Status::NotFound("cannot open OpenCC's conversion " + config + ": " + opencc_error());
  }
  return TraditionalConverter(std::make_unique<Handle>(opencc));
}

TraditionalConverter::TraditionalConverter(std::unique_ptr<Handle> handle)
    : handle_(std::move(handle)) {}
TraditionalConverter::TraditionalConverter(TraditionalConverter&&) noexcept = default;
TraditionalConverter& TraditionalConverter::operator=(TraditionalConverter&&) noexcept = default;
TraditionalConverter::~TraditionalConverter() = default;

std::u16string TraditionalConverter::Convert(std::u16string_view text) const {
  const StatusOr<std::string> converted = ConvertUtf8(Utf16ToUtf8(text));
  if (!converted.ok()) return std::u16string(text);
  std::u16string out = Utf8ToUtf16(*converted);
  // A conversion that changed the length cannot stand in for the text,
  // character for character; the text stands for itself then.
  return out.size() == text.size() ? out : std::u16string(text);
}

StatusOr<std::string> TraditionalConverter::ConvertUtf8(std::string_view utf8) const {
  char* converted = opencc_convert_utf8(handle_->opencc, utf8.data(), utf8.size());
  if (converted == nullptr) return Status::IOError(std::string("OpenCC: ") + opencc_error());
  std::string out(converted);
  opencc_convert_utf8_free(converted);
  return out;
}

}  // namespace miravel::poemd
