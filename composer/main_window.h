// The program's only window, built from main_window.ui, with its handlers
// bound: 按钮2 composes, 按钮3 copies the result, 帮助 > 关于 shows the About
// box. Closing it ends a compose command that is waiting.
#pragma once

#include <QMainWindow>

#include "composer/qt_event_pump.h"
#include "composer/qt_toolkit.h"
#include "ui_main_window.h"

namespace miravel {

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // Compose commands post to `service_url`.
  explicit MainWindow(Text service_url, QWidget* parent = nullptr);

  // The window's created event: call once it is shown.
  void Created();
  WindowToolkit& toolkit() { return toolkit_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void AddStatusParts();

  Ui::MainWindow ui_;
  QtEventPump pump_;
  QtToolkit toolkit_;
  Text service_url_;
};

}  // namespace miravel
