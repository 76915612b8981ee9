#include "poemd/indexing/unihan_readings.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "poemd/indexing/character_simplifier.h"
#include "poemd/indexing/file_contents.h"

namespace miravel::poemd {
namespace {

// The syllables of one field's value: "0632.020:kān 0633.060:kàn" (a
// dictionary's page and place before each), "42474.030:kàn,kān", "kàn".
std::vector<std::string> SyllablesOf(std::string_view value) {
  std::vector<std::string> out;
  size_t from = 0;
  while (from < value.size()) {
    size_t end = value.find(' ', from);
    if (end == std::string_view::npos) end = value.size();
    std::string_view entry = value.substr(from, end - from);
    if (const size_t colon = entry.find(':'); colon != std::string_view::npos) {
      entry.remove_prefix(colon + 1);
    }
    size_t at = 0;
    while (at <= entry.size()) {
      size_t comma = entry.find(',', at);
      if (comma == std::string_view::npos) comma = entry.size();
      if (comma > at) out.emplace_back(entry.substr(at, comma - at));
      at = comma + 1;
    }
    from = end + 1;
  }
  return out;
}

void AddOnce(std::vector<std::string>& into, const std::string& syllable) {
  if (std::find(into.begin(), into.end(), syllable) == into.end()) into.push_back(syllable);
}

void Merge(DictionaryReadings& into, const DictionaryReadings& readings) {
  for (const std::string& s : readings.modern) AddOnce(into.modern, s);
  for (const std::string& s : readings.historical) AddOnce(into.historical, s);
}

}  // namespace

StatusOr<UnihanReadings> UnihanReadings::FromFile(const std::string& path) {
  const StatusOr<std::string> text = FileContents(path);
  if (!text.ok()) return text.status();
  StatusOr<UnihanReadings> readings = FromText(*text);
  if (!readings.ok()) return readings.status().Prefixed(path);
  return readings;
}

StatusOr<UnihanReadings> UnihanReadings::FromText(std::string_view utf8) {
  UnihanReadings readings;
  size_t line_number = 0;
  while (!utf8.empty()) {
    const size_t end = utf8.find('\n');
    const std::string_view line = utf8.substr(0, end);
    utf8 = end == std::string_view::npos ? std::string_view() : utf8.substr(end + 1);
    ++line_number;
    if (line.empty() || line[0] == '#') continue;
    const size_t tab = line.find('\t');
    const size_t second = tab == std::string_view::npos ? tab : line.find('\t', tab + 1);
    if (!line.starts_with("U+") || second == std::string_view::npos) {
      return Status::Corruption("line " + std::to_string(line_number) +
                                " is not: code point, tab, field, tab, value");
    }
    const std::string_view field = line.substr(tab + 1, second - tab - 1);
    const bool modern = field == "kXHC1983" || field == "kTGHZ2013" || field == "kMandarin";
    if (!modern && field != "kHanyuPinyin") continue;
    const std::string_view hex = line.substr(2, tab - 2);
    uint32_t code = 0;
    if (std::from_chars(hex.data(), hex.data() + hex.size(), code, 16).ec != std::errc()) {
      return Status::Corruption("line " + std::to_string(line_number) + " names no code point");
    }
    if (code > 0xFFFF) continue;
    DictionaryReadings& own = readings.own_[static_cast<char16_t>(code)];
    for (const std::string& s : SyllablesOf(line.substr(second + 1))) {
      AddOnce(modern ? own.modern : own.historical, s);
    }
  }
  if (readings.own_.empty()) return Status::Corruption("no character is read");
  CharacterSimplifier simplifier;
  for (auto& [c, own] : readings.own_) {
    const std::vector<std::string>& modern = own.modern;
    std::erase_if(own.historical, [&modern](const std::string& s) {
      return std::find(modern.begin(), modern.end(), s) != modern.end();
    });
    const char16_t simple = simplifier.Of(c);
    if (simple != c) readings.traditional_[simple].push_back(c);
  }
  for (auto& [simple, traditional] : readings.traditional_) {
    std::sort(traditional.begin(), traditional.end());
  }
  return readings;
}

DictionaryReadings UnihanReadings::OfSimplified(char16_t character) const {
  DictionaryReadings out;
  if (const auto own = own_.find(character); own != own_.end()) out = own->second;
  if (const auto forms = traditional_.find(character); forms != traditional_.end()) {
    for (char16_t c : forms->second) Merge(out, own_.at(c));
  }
  std::erase_if(out.historical, [&out](const std::string& s) {
    return std::find(out.modern.begin(), out.modern.end(), s) != out.modern.end();
  });
  return out;
}

}  // namespace miravel::poemd
