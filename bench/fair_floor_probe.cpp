// The fair floor of the client's start-up: a bare Qt program that shows one
// 24-point label of Chinese text, so that it loads a CJK face as the client
// does; it exits right after its first paint.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <cstdlib>

#include "composer/qt/after_first_paint.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QLabel label(QString::fromUtf8("春风花月"));
  QFont font = label.font();
  font.setPointSize(24);
  label.setFont(font);
  const miravel::AfterFirstPaint exit(&label, [] { std::_Exit(0); });
  label.show();
  return QApplication::exec();
}
