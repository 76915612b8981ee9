#include "poemd/serve/pages/subject_line.h"

#include <algorithm>
#include <vector>

#include "poemd/serve/pages/page_files.h"
#include "poemd/serve/pages/shown_poem.h"
#include "poemd/serve/requests/iri.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

constexpr std::string_view kTitled = "题：";
constexpr std::string_view kMarked = "字：";
constexpr std::string_view kMarks = " · ";

// Enough words for a reader to know the subject by: one of two characters
// says it (中秋), one character seldom does alone (月 夜).
constexpr size_t kLeastCharacters = 2;

}  // namespace

std::string SubjectWords(std::string_view name) {
  if (name.starts_with(kTitled)) {
    name.remove_prefix(kTitled.size());
    name = name.substr(0, name.find(kMarks));
  } else if (name.starts_with(kMarked)) {
    name.remove_prefix(kMarked.size());
  } else {
    return "";
  }
  std::string words;
  size_t characters = 0;
  while (!name.empty() && characters < kLeastCharacters) {
    const size_t space = name.find(' ');
    const std::string_view word = name.substr(0, space);
    name = space == std::string_view::npos ? "" : name.substr(space + 1);
    words += word;
    characters += Utf8ToUtf16(word).size();
  }
  return words;
}

std::string SubjectLine(const CorpusIndex& index, const Poem& poem, const PoemLinks& links,
                        Script script) {
  static const PageTemplate line("subject_line.html");
  static const PageTemplate link("subject_link.html");
  const SubjectModel& subjects = index.Subjects();
  if (poem.subject >= subjects.Count()) return "";
  const auto shown = [&](SubjectId subject) {
    return Utf16ToUtf8(InScript(index, Utf8ToUtf16(SubjectWords(subjects.Name(subject))), script));
  };
  std::vector<std::string> said = {shown(poem.subject)};
  if (said.front().empty()) return "";
  std::string others;
  for (const SubjectLink& other : links.subjects) {
    if (said.size() > kSubjectsOffered || other.subject >= subjects.Count()) continue;
    std::string words = shown(other.subject);
    if (words.empty() || std::find(said.begin(), said.end(), words) != said.end()) continue;
    others +=
        link.Render(PageValues().Text("href", EncodeIri(other.href)).Text("words", words), script);
    said.push_back(std::move(words));
  }
  return line.Render(PageValues().Text("words", said.front()).Html("others", std::move(others)),
                     script);
}

}  // namespace miravel::poemd
