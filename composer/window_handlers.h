// The main window's own handlers. Each runs on the window thread.
#pragma once

#include "composer/window_toolkit.h"

namespace miravel {

// Shows the first tab page and the first item of each combo box, and
// appends " - " and the environment text to the caption.
void OnMainWindowCreated(WindowToolkit& toolkit);
// Puts the result box's text (line breaks "\r\n" included, empty or not) on
// the clipboard and says "复制成功" in the status bar.
void OnCopyResultClicked(WindowToolkit& toolkit);
// The modal About box: the author credit, the version, the licence and the
// corpus the poems come from.
void OnAboutSelected(WindowToolkit& toolkit);

}  // namespace miravel
