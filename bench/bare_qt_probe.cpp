// The least a Qt program does to show a window: an empty QMainWindow.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.show();
  QTimer::singleShot(0, &app, &QApplication::quit);
  return QApplication::exec();
}
