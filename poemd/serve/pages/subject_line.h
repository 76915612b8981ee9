// The line under a poem that says what it is about, in words a reader
// takes in at once (题：中秋), and offers other subjects to compose under, as
// links (subject_line.html).
#pragma once

#include <string>
#include <string_view>

#include "poemd/compose/poem.h"
#include "poemd/index/corpus_index.h"
#include "poemd/serve/requests/poem_links.h"

namespace miravel::poemd {

// At most this many other subjects are offered.
inline constexpr size_t kSubjectsOffered = 4;

// A subject's words from its name (index/subjects.h: "题：中秋 七夕 月 · 夜
// 光 宵", "字：松 鹤 云"): its first title words, or where it has none its
// first marking characters, as many as make two characters, run together as
// a title runs them ("中秋", "月夜" of 月 and 夜); "" for a name of neither.
std::string SubjectWords(std::string_view name);

// The line, in `script`; "" for a poem of no subject. Subjects whose words
// are the poem's own or another's already offered are left out.
std::string SubjectLine(const CorpusIndex& index, const Poem& poem, const PoemLinks& links,
                        Script script);

}  // namespace miravel::poemd
