// The compose command: the user's choices go to the poem service, and the
// poem lines of its reply fill the result box.
#pragma once

#include "composer/window_toolkit.h"

namespace miravel {

// Shows the busy state (status message, button caption, button disabled),
// reads the four inputs, and refuses characters that cannot be hidden
// (text/hidden_characters.h): then nothing is sent, the result box is
// emptied, the button goes back to idle and the status bar says what to
// change. Else it posts the request to `service_url` and waits up to
// 60 s with the window's events flowing, fills the result box from the
// reply, and goes back to idle. The status bar then says what happened
// (compose_outcome.h): the completion message when a poem came, else why
// none did (a service out of reach, no answer in time, a reply without a
// poem), with the result box empty. When the window is closed during the
// wait, the command ends at once without touching the window again.
void OnComposeClicked(WindowToolkit& toolkit, const Text& service_url);

}  // namespace miravel
