// Small text routines that take a request URL apart and cut pieces out of
// header and cookie lines. Pure byte operations on GBK texts; they keep no
// state, run on any thread and never fail: a piece that cannot be found
// gives "" (or "/" for the path, 80 for the port).
#pragma once

#include "common/text_ops.h"

namespace miravel {

// The host: every "https://" and "http://" removed, then cut at the first
// "/" and at the first ":"; ASCII letters lowered. "http://MyHost?z=1"
// gives "myhost?z=1"; user information gives the user name.
Text GetUrlHost(const Text& url);
// The path with query and fragment: from the first "/" after the host to
// the end; "/" when there is none.
Text GetUrlPath(const Text& url);
// The number after the ":" of the host-and-port part; 80 when there is no
// ":"; 0 when the text there is no decimal number; clamped to int's range.
int GetUrlPort(const Text& url);

// The text between `left` and the next `right` after it, or "". In either
// delimiter "#引号" (GBK) stands for one double quote. Both searches start at
// `start` (the second counting within the rest after `left`) and ignore
// ASCII letter case unless `exact_case`.
Text GetTextBetween(const Text& text, const Text& left, const Text& right, int start = 1,
                    bool exact_case = false);
// The text before the first `marker` at or after `start` (below 1: the
// first byte), counted from the text's first byte; "" when there is none.
// Letter case counts unless `ignore_case`.
Text GetTextBefore(const Text& text, const Text& marker, int start = 1, bool ignore_case = false);

}  // namespace miravel
