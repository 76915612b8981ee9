#include "poemd/serve/browser_form.h"

#include <unicode/unistr.h>

#include <algorithm>
#include <charconv>

#include "poemd/http/form_body.h"
#include "poemd/serve/order_parts.h"
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
  const HiddenCheck check = CheckHiddenUtf8(text);
  if (!check.ok()) return Status::InvalidArgument(HiddenRefusalMessage(check));
  std::u16string out;
  // Every character that can be hidden is in the Basic Multilingual Plane.
  for (const char32_t c : CodePoints(text)) out.push_back(static_cast<char16_t>(c));
  return out;
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

std::string Field(const std::map<std::string, std::string>& fields, const char* name) {
  const auto it = fields.find(name);
  return it == fields.end() ? std::string() : it->second;
}

}  // namespace

BrowserRequest ParseBrowserQuery(std::string_view query, RhymeBook default_book) {
  BrowserRequest request;
  request.form.book = std::string(RhymeBookKey(default_book));
  const auto fields = DecodeFormBody(query);
  if (!fields.ok()) {
    request.order = Status::InvalidArgument("这个地址不完整，请重新填写。");
    request.invalid = FormField::kNone;
    return request;
  }
  BrowserForm& form = request.form;
  form.xing = Field(*fields, "xing");
  form.theme = Field(*fields, "theme");
  if (const std::string g = Field(*fields, "gender"); g == "5" || g == "7") form.gender = g;
  if (const std::string n = Field(*fields, "num");
      n == "cangtou" || n == "cangzhong" || n == "cangwei" || n == "dizeng" || n == "dijian") {
    form.num = n;
  }
  if (const std::string l = Field(*fields, "limit"); l == "100" || l == "200") form.limit = l;
  if (const std::string b = Field(*fields, "book"); RhymeBookFromKey(b)) form.book = b;
  if (const std::string o = Field(*fields, "occasion"); OccasionFromKey(o)) form.occasion = o;
  if (const std::optional<Script> script = ScriptFromKey(Field(*fields, "script"))) {
    request.script = *script;
    form.script = std::string(ScriptKey(*script));
  }
  request.seed = Number(Field(*fields, "seed"));
  request.lines = Lines(Field(*fields, "lines"));
  if (const std::optional<uint64_t> swap = Number(Field(*fields, "swap"))) {
    request.swap = static_cast<size_t>(*swap);
  }
  if (const std::optional<uint64_t> page = Number(Field(*fields, "page")); page && *page > 0) {
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

std::string FormAddress(const BrowserForm& form) {
  std::string address = "/?xing=" + PercentEncode(form.xing) + "&gender=" + form.gender +
                        "&num=" + form.num + "&limit=" + form.limit + "&book=" + form.book;
  if (!form.theme.empty()) address += "&theme=" + PercentEncode(form.theme);
  if (form.occasion != "auto") address += "&occasion=" + form.occasion;
  if (form.script != "simplified") address += "&script=" + form.script;
  return address;
}

std::string PoemLines(const Poem& poem) {
  std::string lines;
  for (size_t i = 0; i < poem.lines.size(); ++i) {
    if (!poem.lines[i].has_source) return {};
    if (i > 0) lines += '.';
    if (poem.lines[i].made) lines += 'm';
    lines += std::to_string(poem.lines[i].corpus_line);
  }
  return lines;
}

}  // namespace miravel::poemd
