// Where the client posts its request: the service URL chosen at run time.
//
// The option --service wins, then the environment variable
// MIRAVEL_SERVICE_URL, then the build's default ("http://" + the CMake
// value MIRAVEL_SERVICE_HOST + "/qm/cts.php"). Either may give a whole URL
// or only its host, with or without a port: "http://" is put in front of an
// address without a scheme, and "/qm/cts.php" after one without a path.
#pragma once

#include <optional>

#include "common/text_ops.h"

namespace miravel {

inline constexpr const char* kServiceUrlVariable = "MIRAVEL_SERVICE_URL";
inline constexpr const char* kServicePath = "/qm/cts.php";

Text DefaultServiceUrl();
// `option` and `environment` as given (absent or empty: not given).
Text ResolveServiceUrl(const std::optional<Text>& option, const char* environment);
// The address completed as above.
Text CompleteServiceUrl(const Text& address);

}  // namespace miravel
