// The real window's controls in its tests, found by their names in the
// window description (composer/control_names.h).
#pragma once

#include <QLabel>
#include <QStatusBar>
#include <QString>
#include <QWidget>

#include "composer/control_names.h"
#include "composer/qt/qt_toolkit.h"

namespace miravel {

// The control named `name` in `window`, or null.
template <typename T>
T* Child(QWidget& window, const char* name) {
  return window.findChild<T*>(QString::fromUtf8(name));
}

// What part `part` of the window's status bar says.
inline QString StatusPart(QWidget& window, int part) {
  return Child<QStatusBar>(window, kStatusBar)
      ->findChild<QLabel*>(QtToolkit::StatusPartName(part))
      ->text();
}

}  // namespace miravel
