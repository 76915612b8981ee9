// What the program needs of its window toolkit. Controls are addressed by
// their names (control_names.h); every text crosses as GBK. Values are read
// and written through these calls each time; nothing is cached by callers.
// All calls are made on the window thread.
//
// Implementations: QtToolkit (the real window) and FakeToolkit (tests).
// Calls naming a control that does not exist, or made after the window was
// closed, do nothing and read as "".
#pragma once

#include <string_view>

#include "common/event_pump.h"
#include "common/text_ops.h"

namespace miravel {

// Message box styles: one OK button, no icon.
inline constexpr int kMessageBoxOk = 0;

class WindowToolkit {
 public:
  virtual ~WindowToolkit() = default;

  // The text of the selected item.
  virtual Text ComboText(std::string_view combo) = 0;
  virtual void SelectComboItem(std::string_view combo, int index) = 0;
  // The whole content, line breaks as "\r\n". What was written is what is
  // read back, byte for byte.
  virtual Text EditContent(std::string_view edit) = 0;
  virtual void SetEditContent(std::string_view edit, const Text& content) = 0;
  virtual void SetButtonCaption(std::string_view button, const Text& caption) = 0;
  // A disabled button delivers no click.
  virtual void SetButtonEnabled(std::string_view button, bool enabled) = 0;
  // Part `part` (from 0) shows `text` until it is set again.
  virtual void SetStatusPart(std::string_view status_bar, int part, const Text& text) = 0;
  virtual void SetCurrentTabPage(std::string_view tab, int page) = 0;
  virtual Text WindowCaption() = 0;
  virtual void SetWindowCaption(const Text& caption) = 0;
  // Replaces the clipboard's content with `text`, which may be empty.
  virtual void PutClipboardText(const Text& text) = 0;
  // Shows a modal box and returns when it is closed.
  virtual void ShowMessageBox(const Text& body, int style, const Text& title) = 0;
  // One text about the environment, for the caption suffix.
  virtual Text EnvironmentText() = 0;
  // False once the main window has been closed.
  virtual bool WindowIsOpen() = 0;
  // The pump of the window thread.
  virtual EventPump& Pump() = 0;
};

}  // namespace miravel
