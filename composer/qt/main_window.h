// The program's only window, built from main_window.ui, with its handlers
// bound: 按钮2 composes (and Enter in the input box, while 按钮2 is
// enabled), 按钮3 copies the result, 帮助 > 关于 shows the About box.
// Closing it ends a compose command that is waiting. The input controls
// carry accessible names: their labels' texts.
#pragma once

#include <QMainWindow>
#include <memory>

#include "composer/qt/qt_event_pump.h"
#include "composer/qt/qt_toolkit.h"

namespace Ui {
class MainWindow;
}

namespace miravel {

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // Compose commands post to `service_url`.
  explicit MainWindow(Text service_url, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The window's created event: call once it is shown.
  void Created();
  QtToolkit& toolkit() { return toolkit_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void AddStatusParts();
  void NameControls();

  std::unique_ptr<Ui::MainWindow> ui_;
  QtEventPump pump_;
  QtToolkit toolkit_;
  Text service_url_;
};

}  // namespace miravel
