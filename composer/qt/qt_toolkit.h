// The WindowToolkit of the real window, on Qt Widgets. Controls are found
// by objectName among the window's children each time.
//
// Multi-line edit boxes show paragraphs, not "\r\n": the adapter remembers
// the bytes it last wrote into such a box and gives them back while the box
// still shows them, so what the program writes is what it reads.
#pragma once

#include <QPointer>
#include <QWidget>

#include "composer/qt/qt_event_pump.h"
#include "composer/window_toolkit.h"

namespace miravel {

class QtToolkit final : public WindowToolkit {
 public:
  // `window` may be destroyed first; calls then do nothing.
  QtToolkit(QWidget* window, QtEventPump& pump);

  // The window is closing: WindowIsOpen() is false from now on, and the
  // wait under way ends.
  void MarkClosed();
  // Also writes every text set on a status bar part to standard error.
  void EchoStatus(bool echo) { echo_status_ = echo; }

  Text ComboText(std::string_view combo) override;
  void SelectComboItem(std::string_view combo, int index) override;
  Text EditContent(std::string_view edit) override;
  void SetEditContent(std::string_view edit, const Text& content) override;
  void SetButtonCaption(std::string_view button, const Text& caption) override;
  void SetButtonEnabled(std::string_view button, bool enabled) override;
  void SetStatusPart(std::string_view status_bar, int part, const Text& text) override;
  void SetCurrentTabPage(std::string_view tab, int page) override;
  Text WindowCaption() override;
  void SetWindowCaption(const Text& caption) override;
  void PutClipboardText(const Text& text) override;
  void ShowMessageBox(const Text& body, int style, const Text& title) override;
  Text EnvironmentText() override;
  bool WindowIsOpen() override;
  EventPump& Pump() override;

  // The objectName of status bar part `part`.
  static QString StatusPartName(int part);

 private:
  template <typename T>
  T* Find(std::string_view name) const;

  QPointer<QWidget> window_;
  QtEventPump& pump_;
  bool closed_ = false;
  bool echo_status_ = false;
};

}  // namespace miravel
