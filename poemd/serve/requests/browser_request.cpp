#include "poemd/serve/requests/browser_request.h"

#include <unicode/unistr.h>

#include <algorithm>
#include <charconv>

#include "poemd/serve/requests/form_fields.h"
#include "poemd/serve/requests/order_parts.h"
#include "text/hidden_characters.h"

namespace miravel::poemd {
namespace {

std::u32string CodePoints(std::string_view utf8) {
  const icu::UnicodeString u = icu::UnicodeString::fromUTF8(
      icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
  std::u32string out;
  for (int32_t i = 0; i < u.length(); i = u.moveIndex32(i, 1)) {
    out.push_back(static_cast<char32_t>(u.char32At(i)));
  }
  return out;
}

// The characters to hide, or why not (text/hidden_characters.h).
StatusOr<std::u16string> HiddenCharacters(std::string_view text) {
  const std::u32string characters = CodePoints(text);
  const HiddenCheck check = CheckHidden(characters);
  if (!check.ok()) return Status::InvalidArgument(HiddenRefusalMessage(check));
  // Every character that can be hidden is in the Basic Multilingual Plane.
  return std::u16string(characters.begin(), characters.end());
}

std::optional<uint64_t> Number(std::string_view text) {
  uint64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

// "12.m34.7": the poem's lines; nullopt-filled where a part does not read.
std::vector<std::optional<KeptLine>> Lines(std::string_view text) {
  std::vector<std::optional<KeptLine>> lines;
  while (!text.empty() && lines.size() <= kMaxHiddenCharacters) {
    const size_t dot = text.find('.');
    std::string_view part = text.substr(0, dot);
    text = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    const bool made = part.starts_with('m');
    if (made) part.remove_prefix(1);
    const std::optional<uint64_t> line = Number(part);
    if (line && *line <= UINT32_MAX) {
      lines.push_back(KeptLine{static_cast<uint32_t>(*line), made});
    } else {
      lines.emplace_back();
    }
  }
  return lines;
}

}  // namespace

Recomposing BrowserRequest::Asked(uint64_t fresh_seed) const {
  return {seed.value_or(fresh_seed), lines, swap, subject};
}

BrowserRequest ParseBrowserQuery(std::string_view query, RhymeBook default_book) {
  BrowserRequest request;
  request.form.book = std::string(RhymeBookKey(default_book));
  const StatusOr<FormFields> fields = FormFields::Read(query);
  if (!fields.ok()) {
    request.order = Status::InvalidArgument("这个地址不完整，请重新填写。");
    request.invalid = FormField::kNone;
    return request;
  }
  BrowserForm& form = request.form;
  form.xing = fields->Value("xing");
  form.theme = fields->Value("theme");
  if (const std::string& g = fields->Value("gender"); g == "5" || g == "7") form.gender = g;
  if (const std::string& n = fields->Value("num");
      n == "cangtou" || n == "cangzhong" || n == "cangwei" || n == "dizeng" || n == "dijian") {
    form.num = n;
  }
  if (const std::string& l = fields->Value("limit"); l == "100" || l == "200") form.limit = l;
  if (const std::string& b = fields->Value("book"); RhymeBookFromKey(b)) form.book = b;
  if (const std::string& o = fields->Value("occasion"); OccasionFromKey(o)) form.occasion = o;
  if (const std::optional<Script> script = ScriptFromKey(fields->Value("script"))) {
    request.script = *script;
    form.script = std::string(ScriptKey(*script));
  }
  if (fields->Value("pinyin") == "1") {
    request.pinyin = true;
    form.pinyin = "1";
  }
  if (const std::optional<uint64_t> subject = Number(fields->Value("subject"));
      subject && *subject < kNoSubject) {
    request.subject = static_cast<SubjectId>(*subject);
  }
  request.seed = Number(fields->Value("seed"));
  request.lines = Lines(fields->Value("lines"));
  if (const std::optional<uint64_t> swap = Number(fields->Value("swap"))) {
    request.swap = static_cast<size_t>(*swap);
  }
  if (const std::optional<uint64_t> page = Number(fields->Value("page")); page && *page > 0) {
    request.page = static_cast<size_t>(std::min<uint64_t>(*page - 1, SIZE_MAX));
  }

  StatusOr<std::u16string> hidden = HiddenCharacters(form.xing);
  if (!hidden.ok()) {
    request.order = hidden.status();
    return request;
  }
  std::u16string theme;
  for (char32_t c : CodePoints(form.theme)) {
    if (CanBeHidden(c)) theme.push_back(static_cast<char16_t>(c));
  }
  if (theme.size() > kMaxThemeCharacters) {
    request.order =
        Status::InvalidArgument("主题最多 " + std::to_string(kMaxThemeCharacters) + " 个字。");
    request.invalid = FormField::kTheme;
    return request;
  }
  request.order =
      MakeOrder({std::move(*hidden), form.gender, form.num, form.limit, std::move(theme),
                 *RhymeBookFromKey(form.book), *OccasionFromKey(form.occasion)});
  if (!request.order.ok()) {
    request.order = Status::InvalidArgument("这个地址不完整，请重新填写。");
    request.invalid = FormField::kNone;
    return request;
  }
  request.invalid = FormField::kNone;
  if (request.lines.size() != request.order->characters.size()) request.lines.clear();
  return request;
}

}  // namespace miravel::poemd
