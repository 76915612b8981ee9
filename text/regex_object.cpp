#include "text/regex_object.h"

#include <unicode/regex.h>
#include <unicode/unistr.h>

#include <chrono>

#include "text/gbk_unicode.h"

namespace miravel {
namespace {

// ICU counts its time limit in steps of roughly a millisecond. A page that
// makes one scan this slow (a list item left open across megabytes) is cut
// short there; the whole search is bounded by kSearchBudget.
constexpr int32_t kFindTimeLimit = 2000;
constexpr auto kSearchBudget = std::chrono::seconds(5);

icu::UnicodeString Alias(const std::u16string& s) {
  return icu::UnicodeString(false, s.data(), static_cast<int32_t>(s.size()));
}

}  // namespace

struct RegexObject::State {
  Text pattern_text;
  std::unique_ptr<icu::RegexPattern> pattern;  // null when it did not compile
  Text subject;
  std::u16string subject16;
  bool ignore_case = true;
  bool global = true;
  int groups = 0;
  int matches = 0;
  // Per match, groups + 1 pairs of UTF-16 start and end (-1 for a group
  // that took no part); pair 0 is the whole match.
  std::vector<int32_t> spans;

  const int32_t* Span(int n, int g) const {
    if (n < 1 || n > matches || g < 0 || g > groups) return nullptr;
    return &spans[(static_cast<size_t>(n - 1) * (groups + 1) + g) * 2];
  }

  Text Slice(const int32_t* span) const {
    if (span == nullptr || span[0] < 0) return {};
    return Utf16ToGbk(std::u16string_view(subject16).substr(span[0], span[1] - span[0]));
  }

  int PositionOf(const Text& text, int32_t first_index) const {
    return FindText(subject, text, first_index, ignore_case) - 1;
  }
};

RegexObject::RegexObject() : state_(std::make_unique<State>()) {}
RegexObject::~RegexObject() = default;

bool RegexObject::Search(const Text& pattern, const Text& subject, SearchOptions options) {
  auto state = std::make_unique<State>();
  state->pattern_text = pattern;
  state->subject = subject;
  state->ignore_case = !options.case_sensitive;
  state->global = options.global;
  uint32_t flags = 0;
  if (state->ignore_case) flags |= UREGEX_CASE_INSENSITIVE;
  if (options.multi_line) flags |= UREGEX_MULTILINE;
  UErrorCode status = U_ZERO_ERROR;
  UParseError parse_error;
  const std::u16string pattern16 = GbkToUtf16(pattern);
  state->pattern.reset(icu::RegexPattern::compile(Alias(pattern16), flags, parse_error, status));
  if (U_FAILURE(status)) {
    state->pattern.reset();
    state_ = std::move(state);
    return false;
  }
  state->subject16 = GbkToUtf16(subject);
  const icu::UnicodeString input = Alias(state->subject16);
  std::unique_ptr<icu::RegexMatcher> matcher(state->pattern->matcher(input, status));
  if (U_FAILURE(status)) {
    state_ = std::move(state);
    return true;
  }
  matcher->setTimeLimit(kFindTimeLimit, status);
  state->groups = matcher->groupCount();
  const auto deadline = std::chrono::steady_clock::now() + kSearchBudget;
  while (matcher->find(status) && U_SUCCESS(status)) {
    for (int g = 0; g <= state->groups; ++g) {
      state->spans.push_back(matcher->start(g, status));
      state->spans.push_back(matcher->end(g, status));
    }
    ++state->matches;
    if (!state->global || std::chrono::steady_clock::now() > deadline) break;
  }
  state_ = std::move(state);
  return true;
}

Text RegexObject::GetPattern() const { return state_->pattern_text; }

Text RegexObject::Substitute(const Text& replacement) const {
  if (!state_->pattern) return {};
  UErrorCode status = U_ZERO_ERROR;
  const icu::UnicodeString input = Alias(state_->subject16);
  std::unique_ptr<icu::RegexMatcher> matcher(state_->pattern->matcher(input, status));
  if (U_FAILURE(status)) return {};
  matcher->setTimeLimit(kFindTimeLimit, status);
  const std::u16string replacement16 = GbkToUtf16(replacement);
  const icu::UnicodeString with = Alias(replacement16);
  const icu::UnicodeString result =
      state_->global ? matcher->replaceAll(with, status) : matcher->replaceFirst(with, status);
  if (U_FAILURE(status)) return state_->subject;
  return Utf16ToGbk(std::u16string_view(result.getBuffer(), result.length()));
}

int RegexObject::GetMatchCount() const { return state_->matches; }

Text RegexObject::GetMatchText(int n, int* position) const {
  const int32_t* span = state_->Span(n, 0);
  Text text = state_->Slice(span);
  if (position != nullptr && span != nullptr) *position = state_->PositionOf(text, span[0]);
  return text;
}

Text RegexObject::GetSubmatchText(int n, int g, int* position) const {
  if (g < 1) return {};
  const int32_t* span = state_->Span(n, g);
  Text text = state_->Slice(span);
  if (position != nullptr && span != nullptr) {
    *position = state_->PositionOf(text, state_->Span(n, 0)[0]);
  }
  return text;
}

int RegexObject::GetSubmatchCount() const { return state_->matches > 0 ? state_->groups : 0; }

}  // namespace miravel
