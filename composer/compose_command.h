// The compose command: the user's choices go to the poem service, and the
// poem lines of its reply fill the result box.
#pragma once

#include "composer/window_toolkit.h"

namespace miravel {

// Shows the busy state (status message, button caption, button disabled),
// reads the four inputs, posts the request to `service_url` and waits up to
// 60 s with the window's events flowing, fills the result box from the
// reply, and goes back to idle with the completion message. Failures are
// not reported: a failed or timed-out request leaves the result box empty.
// When the window is closed during the wait, the command ends at once
// without touching the window again.
void OnComposeClicked(WindowToolkit& toolkit, const Text& service_url);

// The status message once a command has ended: "作诗完毕，" and our credit.
Text CompletionMessage();

}  // namespace miravel
