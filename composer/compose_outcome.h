// What the status bar says when a compose command ends. The reply itself
// tells the cases apart: an empty one (the service could not be reached),
// the time-out message of the timed web request (no answer in time), a page
// from which no poem line came, and a poem.
#pragma once

#include "common/text_ops.h"

namespace miravel {

// "作诗完毕，" and our credit: the command's message when a poem came.
Text CompletionMessage();

// GBK. `service_url` is named in the message when it could not be reached.
Text ComposeOutcomeMessage(const Bytes& reply, int poem_lines, const Text& service_url);

}  // namespace miravel
