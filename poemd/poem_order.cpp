#include "poemd/poem_order.h"

#include "text/gbk_unicode.h"

namespace miravel::poemd {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] == '%') {
      const int high = i + 1 < text.size() ? HexValue(text[i + 1]) : -1;
      const int low = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
      if (high < 0 || low < 0) return std::nullopt;
      out += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

int PoemOrder::PositionAt(size_t line) const {
  const auto wrapped = static_cast<int>(line % static_cast<size_t>(length));
  switch (diagonal) {
    case Diagonal::kRising:
      return wrapped;
    case Diagonal::kFalling:
      return length - 1 - wrapped;
    case Diagonal::kNone:
      break;
  }
  return PositionOf(place, length);
}

const char* PoemOrder::ModeName() const {
  if (diagonal == Diagonal::kRising) return "dizeng";
  if (diagonal == Diagonal::kFalling) return "dijian";
  static const char* const kPlaces[] = {"cangtou", "cangzhong", "cangwei"};
  return kPlaces[static_cast<int>(place)];
}

const char* PoemOrder::ModeTitle() const {
  if (diagonal == Diagonal::kRising) return "递增";
  if (diagonal == Diagonal::kFalling) return "递减";
  static const char* const kPlaces[] = {"藏头", "藏中", "藏尾"};
  return kPlaces[static_cast<int>(place)];
}

std::u16string PoemOrder::Hidden() const {
  std::u16string hidden;
  for (const HiddenCharacter& c : characters) hidden.push_back(c.unicode);
  return hidden;
}

std::optional<std::map<std::string, std::string>> DecodeFormBody(std::string_view body) {
  std::map<std::string, std::string> fields;
  while (!body.empty()) {
    const size_t amp = body.find('&');
    const std::string_view pair = body.substr(0, amp);
    body = amp == std::string_view::npos ? std::string_view() : body.substr(amp + 1);
    if (pair.empty()) continue;
    const size_t eq = pair.find('=');
    const std::optional<std::string> name = Unescape(pair.substr(0, eq));
    const std::optional<std::string> value =
        Unescape(eq == std::string_view::npos ? std::string_view() : pair.substr(eq + 1));
    if (!name || !value) return std::nullopt;
    fields.try_emplace(*name, *value);
  }
  return fields;
}

std::optional<std::vector<HiddenCharacter>> SplitGbk(std::string_view gbk) {
  std::vector<HiddenCharacter> characters;
  for (size_t i = 0; i < gbk.size();) {
    const auto lead = static_cast<unsigned char>(gbk[i]);
    size_t width = 1;
    if (lead >= 0x81 && lead <= 0xFE) {
      if (i + 1 >= gbk.size()) return std::nullopt;
      const auto trail = static_cast<unsigned char>(gbk[i + 1]);
      if (trail < 0x40 || trail == 0x7F || trail == 0xFF) return std::nullopt;
      width = 2;
    } else if (lead >= 0x80 || lead < 0x20) {
      return std::nullopt;  // 0x80 and 0xFF start no character; controls are no poem
    }
    const std::string bytes(gbk.substr(i, width));
    const std::u16string unicode = GbkToUtf16(bytes);
    if (unicode.size() != 1 || unicode[0] == u'\uFFFD') return std::nullopt;
    characters.push_back({bytes, unicode[0]});
    i += width;
  }
  return characters;
}

OrderOrError ParsePoemOrder(std::string_view body) {
  const auto fields = DecodeFormBody(body);
  if (!fields) return {std::nullopt, "the form body is malformed (a % without two hex digits)"};
  const auto field = [&](const char* name) -> const std::string* {
    const auto it = fields->find(name);
    return it == fields->end() ? nullptr : &it->second;
  };
  const std::string* xing = field("xing");
  const std::string* gender = field("gender");
  const std::string* num = field("num");
  const std::string* limit = field("limit");
  if (!xing || !gender || !num || !limit) {
    return {std::nullopt, "the fields xing, gender, num and limit are required"};
  }
  PoemOrder order;
  if (*gender == "5" || *gender == "7") {
    order.length = *gender == "7" ? 7 : 5;
  } else {
    return {std::nullopt, "gender must be 5 or 7"};
  }
  if (*num == "cangtou") {
    order.place = Place::kHead;
  } else if (*num == "cangzhong") {
    order.place = Place::kMiddle;
  } else if (*num == "cangwei") {
    order.place = Place::kTail;
  } else if (*num == "dizeng") {
    order.diagonal = Diagonal::kRising;
  } else if (*num == "dijian") {
    order.diagonal = Diagonal::kFalling;
  } else {
    return {std::nullopt, "num must be cangtou, cangzhong, cangwei, dizeng or dijian"};
  }
  if (*limit == "100" || *limit == "200") {
    order.first_line_rhymes = *limit == "200";
  } else {
    return {std::nullopt, "limit must be 100 or 200"};
  }
  auto characters = SplitGbk(*xing);
  if (!characters) return {std::nullopt, "xing is not valid GBK text"};
  if (characters->empty()) return {std::nullopt, "xing holds no characters to hide"};
  if (characters->size() > kMaxHiddenCharacters) {
    return {std::nullopt, "xing holds more than 100 characters"};
  }
  order.characters = std::move(*characters);
  if (const std::string* theme = field("type_str")) {
    const auto words = SplitGbk(*theme);
    if (!words) return {std::nullopt, "type_str is not valid GBK text"};
    for (const HiddenCharacter& c : *words) {
      if (c.unicode >= 0x3400 && c.unicode <= 0x9FFF) order.theme.push_back(c.unicode);
    }
    if (order.theme.size() > kMaxThemeCharacters) {
      return {std::nullopt, "type_str holds more than 20 characters"};
    }
  }
  return {std::move(order), {}};
}

}  // namespace miravel::poemd
