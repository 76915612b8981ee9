// The program's only window, built from main_window.ui, with its handlers
// bound: 按钮2 composes (and Enter in the input box, while 按钮2 is
// enabled), 按钮3 copies the result, 帮助 > 关于 shows the About box.
// Closing it ends a compose command that is waiting. The input controls
// carry accessible names: their labels' texts. It opens at its described
// place and size; made larger, the result box (and the frames around it)
// grows with it, downwards, while every other control keeps its place.
#pragma once

#include <QMainWindow>
#include <QRect>
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
  void resizeEvent(QResizeEvent* event) override;

 private:
  void AddStatusParts();
  void NameControls();

  // The described geometries, which a larger window grows from.
  struct Described {
    QSize window;
    QRect tab, group, result;
  };

  std::unique_ptr<Ui::MainWindow> ui_;
  QtEventPump pump_;
  QtToolkit toolkit_;
  Text service_url_;
  Described described_;
};

}  // namespace miravel
