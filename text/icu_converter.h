// A per-thread cache of opened ICU converters, so that hot paths do not open
// one per call. Internal to text/.
#pragma once

#include <unicode/ucnv.h>

namespace miravel {

// The calling thread's converter for `name` (an ICU converter name), or null
// when ICU has no such converter. Its substitution for characters that the
// code page lacks is "?". The converter is reset before it is returned.
UConverter* ThreadConverter(const char* name);

inline constexpr const char* kGbkConverter = "windows-936-2000";
inline constexpr const char* kBig5Converter = "windows-950-2000";
inline constexpr const char* kUtf8Converter = "UTF-8";

}  // namespace miravel
