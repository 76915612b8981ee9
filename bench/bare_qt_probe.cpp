// The least a Qt program does to show a window: an empty QMainWindow; it
// exits right after its first paint.
#include <QApplication>
#include <QMainWindow>
#include <cstdlib>

#include "composer/qt/after_first_paint.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QMainWindow window;
  const miravel::AfterFirstPaint exit(&window, [] { std::_Exit(0); });
  window.show();
  return QApplication::exec();
}
