#include "common/text_ops.h"

#include <algorithm>
#include <charconv>

namespace miravel {
namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualAt(std::string_view text, size_t at, std::string_view needle, bool ignore_case) {
  if (!ignore_case) return text.compare(at, needle.size(), needle) == 0;
  for (size_t i = 0; i < needle.size(); ++i) {
    if (FoldAscii(text[at + i]) != FoldAscii(needle[i])) return false;
  }
  return true;
}

size_t Clip(int n, size_t size) { return n <= 0 ? 0 : std::min(static_cast<size_t>(n), size); }

}  // namespace

Text TextOf(std::string_view bytes) { return Text(bytes.substr(0, bytes.find('\0'))); }

int FindText(std::string_view text, std::string_view needle, int start, bool ignore_case) {
  const size_t from = start < 1 ? 0 : static_cast<size_t>(start) - 1;
  if (from > text.size() || needle.size() > text.size() - from) return kAbsent;
  if (!ignore_case) {
    const size_t at = text.find(needle, from);
    return at == std::string_view::npos ? kAbsent : static_cast<int>(at) + 1;
  }
  for (size_t at = from; at + needle.size() <= text.size(); ++at) {
    if (EqualAt(text, at, needle, true)) return static_cast<int>(at) + 1;
  }
  return kAbsent;
}

Text LeftBytes(std::string_view text, int n) { return Text(text.substr(0, Clip(n, text.size()))); }

Text RightBytes(std::string_view text, int n) {
  const size_t k = Clip(n, text.size());
  return Text(text.substr(text.size() - k));
}

Text MidBytes(std::string_view text, int pos, int n) {
  const size_t from = pos < 1 ? 0 : static_cast<size_t>(pos) - 1;
  if (from >= text.size()) return {};
  return Text(text.substr(from, Clip(n, text.size() - from)));
}

Text ReplaceText(std::string_view text, std::string_view from, std::string_view to, int count) {
  if (from.empty()) return Text(text);
  Text out;
  out.reserve(text.size());
  size_t pos = 0;
  int done = 0;
  while (count < 0 || done < count) {
    const size_t at = text.find(from, pos);
    if (at == std::string_view::npos) break;
    out.append(text.substr(pos, at - pos)).append(to);
    pos = at + from.size();
    ++done;
  }
  out.append(text.substr(pos));
  return out;
}

Text TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  size_t b = 0, e = text.size();
  while (b < e && blank(text[b])) ++b;
  while (e > b && blank(text[e - 1])) --e;
  return Text(text.substr(b, e - b));
}

Text LowerAscii(std::string_view text) {
  Text out(text);
  std::transform(out.begin(), out.end(), out.begin(), FoldAscii);
  return out;
}

Text BlankText(int n) { return n <= 0 ? Text() : Text(static_cast<size_t>(n), ' '); }

Bytes ZeroBytes(int n) { return n <= 0 ? Bytes() : Bytes(static_cast<size_t>(n), '\0'); }

double TextToNumber(std::string_view text) {
  // from_chars, unlike strtod, ignores the process locale that Qt sets.
  std::string_view rest = text.substr(0, text.find('\0'));
  while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
  if (!rest.empty() && rest.front() == '+') rest.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
  return error == std::errc() ? value : 0;
}

Text NumberToText(long long value) { return std::to_string(value); }

}  // namespace miravel
