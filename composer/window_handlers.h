// The main window's own handlers. Each runs on the window thread.
#pragma once

#include "composer/window_toolkit.h"

namespace miravel {

// The caption the window is described with: credit, site host, product.
Text DescribedCaption();

// Shows the first tab page and the first item of each combo box, and
// appends " - " and the environment text to the caption.
void OnMainWindowCreated(WindowToolkit& toolkit);
// Puts the result box's text (line breaks "\r\n" included, empty or not) on
// the clipboard and says "复制成功" in the status bar.
void OnCopyResultClicked(WindowToolkit& toolkit);
// The modal About box with the author credit.
void OnAboutSelected(WindowToolkit& toolkit);

}  // namespace miravel
