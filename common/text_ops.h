// Byte-level text operations shared by every subsystem.
//
// The program's texts are GBK bytes held in std::string (never UTF-8). A byte
// set is also a std::string, but may hold zero bytes; TextOf() gives the text
// view of a byte set. Positions are 1-based byte positions; a search that
// finds nothing gives kAbsent. Letter-case folding touches ASCII letters only,
// byte by byte, so it applies to GBK trail bytes as well.
#pragma once

#include <string>
#include <string_view>

namespace miravel {

using Text = std::string;
using Bytes = std::string;

inline constexpr int kAbsent = -1;

// The bytes of `bytes` up to, not including, its first zero byte.
Text TextOf(std::string_view bytes);

// 1-based position of the first `needle` in `text` at or after `start`
// (below 1 means the first byte), or kAbsent. An empty needle is found at
// `start` when that lies within the text.
int FindText(std::string_view text, std::string_view needle, int start = 1,
             bool ignore_case = false);

// The leftmost / rightmost `n` bytes; n below 0 counts as 0, beyond the
// length as the length.
Text LeftBytes(std::string_view text, int n);
Text RightBytes(std::string_view text, int n);
// `n` bytes from 1-based position `pos`; clipped to the text.
Text MidBytes(std::string_view text, int pos, int n);

// Replaces occurrences of `from` (non-empty) by `to`, left to right, without
// rescanning replaced text: all of them, or the first `count` when count >= 0.
Text ReplaceText(std::string_view text, std::string_view from, std::string_view to, int count = -1);

// Removes leading and trailing ASCII spaces and tabs.
Text TrimBlanks(std::string_view text);
Text LowerAscii(std::string_view text);

// A text of `n` spaces; empty when n <= 0.
Text BlankText(int n);
// A byte set of `n` zero bytes; empty when n <= 0.
Bytes ZeroBytes(int n);

// The decimal number at the start of `text` after leading blanks ("81x" gives
// 81, "" and "x" give 0). Never fails.
double TextToNumber(std::string_view text);
Text NumberToText(long long value);

}  // namespace miravel
