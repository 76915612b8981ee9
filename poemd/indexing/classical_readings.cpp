#include "poemd/indexing/classical_readings.h"

#include "poemd/indexing/character_simplifier.h"
#include "poemd/indexing/file_contents.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

// The 广韵 rhymes of the level tone, merged into the thirty level rhymes of
// 平水韵 as every rhyme table gives them.
struct Merge {
  char16_t guangyun;
  PingshuiRhyme pingshui;
};
constexpr Merge kMerges[] = {
    {u'東', 1},  {u'冬', 2},  {u'鍾', 2},  {u'江', 3},  {u'支', 4},  {u'脂', 4},  {u'之', 4},
    {u'微', 5},  {u'魚', 6},  {u'虞', 7},  {u'模', 7},  {u'齊', 8},  {u'佳', 9},  {u'皆', 9},
    {u'灰', 10}, {u'咍', 10}, {u'真', 11}, {u'眞', 11}, {u'諄', 11}, {u'臻', 11}, {u'文', 12},
    {u'殷', 12}, {u'欣', 12}, {u'元', 13}, {u'魂', 13}, {u'痕', 13}, {u'寒', 14}, {u'桓', 14},
    {u'刪', 15}, {u'山', 15}, {u'先', 16}, {u'仙', 16}, {u'蕭', 17}, {u'宵', 17}, {u'肴', 18},
    {u'豪', 19}, {u'歌', 20}, {u'戈', 20}, {u'麻', 21}, {u'陽', 22}, {u'唐', 22}, {u'庚', 23},
    {u'耕', 23}, {u'清', 23}, {u'青', 24}, {u'蒸', 25}, {u'登', 25}, {u'尤', 26}, {u'侯', 26},
    {u'幽', 26}, {u'侵', 27}, {u'覃', 28}, {u'談', 28}, {u'鹽', 29}, {u'添', 29}, {u'嚴', 29},
    {u'咸', 30}, {u'銜', 30}, {u'凡', 30},
};

void Merge(ClassicalReading& into, const ClassicalReading& reading) {
  into.level = into.level || reading.level;
  into.oblique = into.oblique || reading.oblique;
  into.entering = into.entering || reading.entering;
  into.rhymes |= reading.rhymes;
}

}  // namespace

PingshuiRhyme PingshuiRhymeOf(std::u16string_view guangyun_rhyme) {
  if (guangyun_rhyme.size() != 1) return kNoPingshuiRhyme;
  for (const auto& merge : kMerges) {
    if (merge.guangyun == guangyun_rhyme[0]) return merge.pingshui;
  }
  return kNoPingshuiRhyme;
}

ClassicalReadings::ClassicalReadings() : own_(65536), simplified_(65536) {}
ClassicalReadings::~ClassicalReadings() = default;
ClassicalReadings::ClassicalReadings(ClassicalReadings&&) noexcept = default;
ClassicalReadings& ClassicalReadings::operator=(ClassicalReadings&&) noexcept = default;

StatusOr<ClassicalReadings> ClassicalReadings::FromFile(const std::string& path) {
  const StatusOr<std::string> text = FileContents(path);
  if (!text.ok()) return text.status();
  StatusOr<ClassicalReadings> readings = FromText(*text);
  if (!readings.ok()) return readings.status().Prefixed(path);
  return readings;
}

StatusOr<ClassicalReadings> ClassicalReadings::FromText(std::string_view utf8) {
  ClassicalReadings readings;
  size_t line_number = 0;
  while (!utf8.empty()) {
    const size_t end = utf8.find('\n');
    const std::u16string line = Utf8ToUtf16(utf8.substr(0, end));
    utf8 = end == std::string_view::npos ? std::string_view() : utf8.substr(end + 1);
    ++line_number;
    if (line.empty()) continue;
    // 字 TAB 韻 TAB 聲. A character beyond the basic plane stands in no line.
    if (line.size() == 6 && line[2] == u'\t' && line[4] == u'\t' && line[0] >= 0xD800 &&
        line[0] <= 0xDBFF) {
      continue;
    }
    if (line.size() != 5 || line[1] != u'\t' || line[3] != u'\t') {
      return Status::Corruption("line " + std::to_string(line_number) +
                                " is not: character, tab, rhyme, tab, tone");
    }
    ClassicalReading reading;
    switch (line[4]) {
      case u'平':
        reading.level = true;
        reading.rhymes = RhymeBit(PingshuiRhymeOf(std::u16string_view(&line[2], 1)));
        break;
      case u'入':
        reading.entering = true;
        [[fallthrough]];
      case u'上':
      case u'去':
        reading.oblique = true;
        break;
      default:
        return Status::Corruption("line " + std::to_string(line_number) + " names no tone");
    }
    ClassicalReading& own = readings.own_[line[0]];
    if (!own.Known()) ++readings.characters_;
    Merge(own, reading);
  }
  if (readings.characters_ == 0) return Status::Corruption("no character is read");

  CharacterSimplifier simplifier;
  for (size_t c = 0; c < readings.own_.size(); ++c) {
    const ClassicalReading& own = readings.own_[c];
    if (!own.Known()) continue;
    const char16_t simple = simplifier.Of(static_cast<char16_t>(c));
    Merge(readings.simplified_[simple], own);
    if (simple != c) Merge(readings.simplified_[c], own);
  }
  return readings;
}

size_t ClassicalReadings::CharacterCount() const { return characters_; }

ClassicalReading ClassicalReadings::Of(char16_t character) const { return own_[character]; }

ClassicalReading ClassicalReadings::OfSimplified(char16_t character) const {
  return simplified_[character];
}

}  // namespace miravel::poemd
