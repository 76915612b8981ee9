// Regular-expression matching over GBK texts, on ICU regular expressions.
//
// Matching rules: ICU syntax (lazy quantifiers such as "(.*?)" included);
// letters match regardless of case, "^" and "$" match at every line break,
// and every match is collected, unless the options of Search() say
// otherwise; the dot never matches a line break, whatever the options.
// Pattern and subject go to UTF-16 for matching, and match and group texts
// come back as GBK, so a GBK trail byte is never matched as an ASCII letter.
//
// Match and group numbers are 1-based. A query before any Search(), after a
// Search() whose pattern did not compile, or with a number out of range gives
// the empty text or 0. Positions handed back are byte offsets into the
// searched subject (see GetMatchText()).
//
// Not thread-safe: one object belongs to the handler that made it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/text_ops.h"

namespace miravel {

struct SearchOptions {
  bool case_sensitive = false;
  bool multi_line = true;
  bool global = true;
};

class RegexObject {
 public:
  RegexObject();
  ~RegexObject();
  RegexObject(const RegexObject&) = delete;
  RegexObject& operator=(const RegexObject&) = delete;

  // Runs `pattern` over `subject` and keeps the matches and a copy of the
  // subject, replacing those of an earlier search. True when the pattern
  // compiled (whether or not anything matched).
  bool Search(const Text& pattern, const Text& subject, SearchOptions options = {});
  // The pattern of the latest Search(), or "" before any.
  Text GetPattern() const;
  // The stored subject with the matches replaced (all of them when the
  // search was global, else the first); "$n" in `replacement` stands for
  // group n. The stored subject itself does not change.
  Text Substitute(const Text& replacement) const;
  int GetMatchCount() const;
  // The text of match `n`. When `position` is given it receives the match's
  // place found back in the subject: the subject is searched for the match
  // text from the match's start counted in UTF-16 units (taken as a 1-based
  // byte position), and the found position minus 1 is stored (-2 when the
  // text is not found there).
  Text GetMatchText(int n, int* position = nullptr) const;
  // The text of group `g` of match `n` ("" for a group that took no part);
  // `position` as for GetMatchText(), searching for the group's text.
  Text GetSubmatchText(int n, int g, int* position = nullptr) const;
  // The number of groups of the first match; 0 when there is none.
  int GetSubmatchCount() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace miravel
