#include "poemd/serve/pages/poem_ruby.h"

#include "poemd/markup/html_escape.h"
#include "poemd/serve/pages/page_files.h"
#include "text/utf.h"

namespace miravel::poemd {

std::string RubyText(std::u16string_view text, std::span<const ShownSyllable> readings,
                     Script script) {
  if (readings.empty()) return EscapeHtml(Utf16ToUtf8(text));
  static const PageTemplate ruby("poem_ruby.html");
  std::string html;
  for (size_t k = 0; k < text.size(); ++k) {
    const ShownSyllable reading = k < readings.size() ? readings[k] : ShownSyllable{};
    html += ruby.Render(PageValues()
                            .Flag("metre", reading.metre != Tone::kUnknown)
                            .Flag("level", reading.metre == Tone::kLevel)
                            .Flag("oblique", reading.metre == Tone::kOblique)
                            .Text("character", Utf16ToUtf8(text.substr(k, 1)))
                            .Text("pinyin", std::string(reading.pinyin)),
                        script);
  }
  return html;
}

}  // namespace miravel::poemd
