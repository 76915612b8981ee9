#include "poemd/indexing/source_table.h"

#include "poemd/index/index_sections.h"
#include "poemd/verse/cjk.h"
#include "text/utf.h"

namespace miravel::poemd {

uint32_t SourceTable::Add(const PoemText& poem, bool simplified_script, MoodClass title_mood) {
  const auto offset = [this](const std::u16string& text) {
    const auto at = static_cast<uint32_t>(text_.size());
    text_ += Utf16ToUtf8(text);
    text_ += '\0';
    return at;
  };
  // As the corpus writes them; in traditional characters too, where that
  // is another text.
  const std::u16string title = Utf8ToUtf16(poem.title);
  const std::u16string author = Utf8ToUtf16(poem.author);
  const uint32_t written_title = offset(title);
  const uint32_t written_author = offset(author);
  fields_.push_back(written_title);
  fields_.push_back(written_author);
  fields_.push_back(static_cast<uint32_t>(poem.dynasty));
  const std::u16string traditional_title = simplified_script ? Traditional(title) : title;
  const std::u16string traditional_author = simplified_script ? Traditional(author) : author;
  fields_.push_back(traditional_title == title ? written_title : offset(traditional_title));
  fields_.push_back(traditional_author == author ? written_author : offset(traditional_author));
  moods_.push_back(title_mood);

  const std::u16string text = JoinedText(poem.paragraphs);
  poems_ += text;
  poem_starts_.push_back(static_cast<uint32_t>(poems_.size()));
  if (simplified_script && traditional_ != nullptr) converted_ += Traditional(text);
  converted_starts_.push_back(static_cast<uint32_t>(converted_.size()));
  return static_cast<uint32_t>(moods_.size() - 1);
}

std::u16string SourceTable::Traditional(const std::u16string& text) const {
  if (traditional_ == nullptr) return text;
  std::u16string out;
  size_t begin = 0;
  while (begin <= text.size()) {
    const size_t end = std::min(text.find(u'\n', begin), text.size());
    out += traditional_->Convert(std::u16string_view(text).substr(begin, end - begin));
    if (end == text.size()) break;
    out += u'\n';
    begin = end + 1;
  }
  return out;
}

void SourceTable::Write(IndexFileWriter& w) {
  using namespace sections;
  w.AddContainer(Id(kSources), fields_);
  w.AddContainer(Id(kSourceText), text_);
  w.AddContainer(Id(kPoemText), poems_);
  w.AddContainer(Id(kPoemStarts), poem_starts_);
  w.AddContainer(Id(kPoemConverted), converted_);
  w.AddContainer(Id(kPoemConvertedStarts), converted_starts_);
  std::u16string simplified(65536, u'\0'), traditional(65536, u'\0');
  for (size_t c = 0; c < 65536; ++c) simplified[c] = traditional[c] = static_cast<char16_t>(c);
  for (char32_t c = kCjkFirst; c <= kCjkLast; ++c) {
    const std::u16string alone(1, static_cast<char16_t>(c));
    const std::u16string simple = splitter_.Simplified(alone);
    const std::u16string written = Traditional(alone);
    if (simple.size() == 1) simplified[c] = simple[0];
    if (written.size() == 1) traditional[c] = written[0];
  }
  w.AddContainer(Id(kSimplifiedCharacters), simplified);
  w.AddContainer(Id(kTraditionalCharacters), traditional);
}

}  // namespace miravel::poemd
