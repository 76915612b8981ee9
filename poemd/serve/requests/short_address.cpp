#include "poemd/serve/requests/short_address.h"

#include <array>
#include <charconv>
#include <span>
#include <vector>

#include "poemd/http/form_body.h"

namespace miravel::poemd {
namespace {

struct Word {
  std::string_view text;
  std::string_view value;
};

constexpr std::array<Word, 2> kLengthWords{{{"五言", "5"}, {"七言", "7"}}};
constexpr std::array<Word, 5> kModeWords{{{"藏头", "cangtou"},
                                          {"藏中", "cangzhong"},
                                          {"藏尾", "cangwei"},
                                          {"递增", "dizeng"},
                                          {"递减", "dijian"}}};
constexpr std::string_view kFirstLineRhymes = "首句入韵";
constexpr std::array<Word, 2> kBookWords{{{"平水韵", "pingshui"}, {"新韵", "xinyun"}}};
constexpr std::array<Word, 7> kOccasionWords{{{"祝寿", "birthday"},
                                              {"新婚", "wedding"},
                                              {"节庆", "festival"},
                                              {"赠人", "praise"},
                                              {"送别", "farewell"},
                                              {"怀念", "remembrance"},
                                              {"无场合", "none"}}};

// The value of the word `text` starts with, taking it off `text`.
std::optional<std::string_view> Take(std::string_view* text, std::span<const Word> words) {
  for (const Word& word : words) {
    if (text->starts_with(word.text)) {
      text->remove_prefix(word.text.size());
      return word.value;
    }
  }
  return std::nullopt;
}

std::string_view TextOf(std::string_view value, std::span<const Word> words) {
  for (const Word& word : words) {
    if (word.value == value) return word.text;
  }
  return {};
}

constexpr std::string_view kDigits36 = "0123456789abcdefghijklmnopqrstuvwxyz";

std::optional<uint64_t> FromBase36(std::string_view text) {
  if (text.empty() || text.size() > 13) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    const size_t digit = kDigits36.find(c);
    if (digit == std::string_view::npos || value > (UINT64_MAX - digit) / 36) return std::nullopt;
    value = value * 36 + digit;
  }
  return value;
}

std::string Base36(uint64_t value) {
  std::string out;
  do {
    out.insert(out.begin(), kDigits36[value % 36]);
    value /= 36;
  } while (value > 0);
  return out;
}

// %XX decoded; '+' stays itself, as in a path. nullopt for a broken escape.
std::optional<std::string> PathDecode(std::string_view path) {
  std::string out;
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] != '%') {
      out += path[i];
      continue;
    }
    unsigned value = 0;
    if (i + 2 >= path.size()) return std::nullopt;
    const auto [end, ec] = std::from_chars(path.data() + i + 1, path.data() + i + 3, value, 16);
    if (ec != std::errc() || end != path.data() + i + 3) return std::nullopt;
    out += static_cast<char>(value);
    i += 2;
  }
  return out;
}

std::vector<std::string_view> Split(std::string_view text) {
  std::vector<std::string_view> parts;
  while (true) {
    const size_t slash = text.find('/');
    parts.push_back(text.substr(0, slash));
    if (slash == std::string_view::npos) return parts;
    text.remove_prefix(slash + 1);
  }
}

}  // namespace

std::optional<ShortAddress> ReadShortAddress(std::string_view path) {
  if (!path.starts_with('/')) return std::nullopt;
  const std::optional<std::string> decoded = PathDecode(path.substr(1));
  if (!decoded) return std::nullopt;
  const std::vector<std::string_view> parts = Split(*decoded);
  if (parts.size() != 3 && parts.size() != 4) return std::nullopt;
  // The hidden characters and a theme are Chinese, never ASCII.
  const auto chinese = [](std::string_view part) {
    return !part.empty() && static_cast<unsigned char>(part[0]) >= 0x80;
  };
  if (!chinese(parts[0]) || (parts.size() == 4 && !chinese(parts[2]))) return std::nullopt;

  std::string_view form = parts[1];
  const auto length = Take(&form, kLengthWords);
  const auto mode = Take(&form, kModeWords);
  if (!length || !mode) return std::nullopt;
  const bool first_line_rhymes = form.starts_with(kFirstLineRhymes);
  if (first_line_rhymes) form.remove_prefix(kFirstLineRhymes.size());
  const std::string_view book = Take(&form, kBookWords).value_or("both");
  const std::string_view occasion = Take(&form, kOccasionWords).value_or("auto");
  if (!form.empty()) return std::nullopt;

  ShortAddress address;
  std::string_view seed = parts.back();
  if (seed.ends_with(".png")) address.kind = AddressKind::kPng;
  if (seed.ends_with(".svg")) address.kind = AddressKind::kSvg;
  if (address.kind != AddressKind::kPage) seed.remove_suffix(4);
  const std::optional<uint64_t> number = FromBase36(seed);
  if (!number) return std::nullopt;

  address.query = "xing=" + PercentEncode(parts[0]) + "&gender=" + std::string(*length) +
                  "&num=" + std::string(*mode) + "&limit=" + (first_line_rhymes ? "200" : "100") +
                  "&book=" + std::string(book) + "&occasion=" + std::string(occasion) +
                  "&seed=" + std::to_string(*number);
  if (parts.size() == 4) address.query += "&theme=" + PercentEncode(parts[2]);
  return address;
}

std::optional<ShortAddress> ReadPoemPage(std::string_view path) {
  std::optional<ShortAddress> address = ReadShortAddress(path);
  if (address && address->kind != AddressKind::kPage) return std::nullopt;
  return address;
}

std::optional<ShortAddress> ReadPoemPicture(std::string_view path) {
  std::optional<ShortAddress> address = ReadShortAddress(path);
  if (address && address->kind == AddressKind::kPage) return std::nullopt;
  return address;
}

BrowserRequest RequestAt(const ShortAddress& address, std::string_view query,
                         RhymeBook default_book) {
  if (query.empty()) return ParseBrowserQuery(address.query, default_book);
  return ParseBrowserQuery(address.query + "&" + std::string(query), default_book);
}

std::string ShortPoemPath(const BrowserForm& form, uint64_t seed) {
  std::string path = "/" + form.xing + "/" + std::string(TextOf(form.gender, kLengthWords)) +
                     std::string(TextOf(form.num, kModeWords)) +
                     (form.limit == "200" ? std::string(kFirstLineRhymes) : "") +
                     std::string(TextOf(form.book, kBookWords)) +
                     std::string(TextOf(form.occasion, kOccasionWords)) + "/";
  // The theme as it counts: its Chinese characters, which no slash is.
  std::string theme;
  for (size_t i = 0; i < form.theme.size(); ++i) {
    const auto byte = static_cast<unsigned char>(form.theme[i]);
    if (byte >= 0x80) theme += form.theme[i];
  }
  if (!theme.empty()) path += theme + "/";
  return path + Base36(seed);
}

}  // namespace miravel::poemd
