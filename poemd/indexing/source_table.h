// The sources the builder keeps (corpus_index_builder.h): for each poem a
// line of the index comes from, its title and poet in both scripts, its
// dynasty, what its title says it is for, and its whole text as the corpus
// has it, converted to traditional characters when the corpus keeps it in
// simplified ones (index/source_poems.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "poemd/index/index_file.h"
#include "poemd/index/moods.h"
#include "poemd/indexing/corpus_index_builder.h"
#include "poemd/indexing/line_splitter.h"
#include "poemd/indexing/traditional_converter.h"

namespace miravel::poemd {

class SourceTable {
 public:
  // `splitter` simplifies what the index reads simplified; `traditional`
  // (may be null: the corpus's text then stands in) converts what it keeps
  // only in simplified characters. Both must outlive the table.
  SourceTable(LineSplitter& splitter, const TraditionalConverter* traditional)
      : splitter_(splitter), traditional_(traditional) {}

  // The poem as a source: its number. `simplified_script`: the corpus
  // writes it in simplified characters.
  uint32_t Add(const PoemText& poem, bool simplified_script, MoodClass title_mood);
  size_t size() const { return moods_.size(); }
  MoodClass MoodOf(uint32_t source) const { return moods_[source]; }

  // The sources' sections, and the tables of both scripts.
  void Write(IndexFileWriter& w);

 private:
  // `text` in traditional characters, paragraph by paragraph.
  std::u16string Traditional(const std::u16string& text) const;

  LineSplitter& splitter_;
  const TraditionalConverter* traditional_;
  std::vector<uint32_t> fields_;  // sections::kSourceFields a source
  std::string text_;              // UTF-8, each ending '\0'
  std::vector<MoodClass> moods_;
  std::u16string poems_;
  std::vector<uint32_t> poem_starts_{0};
  std::u16string converted_;
  std::vector<uint32_t> converted_starts_{0};
};

}  // namespace miravel::poemd
