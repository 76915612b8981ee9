// Runs an action once, right after a widget's first paint: queued, so that
// the paint is done and flushed to the display first. The client starts
// loading libcurl then (curl_library.h), and the start-up probes end there.
#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <functional>

namespace miravel {

class AfterFirstPaint : public QObject {
 public:
  AfterFirstPaint(QWidget* widget, std::function<void()> action) : action_(std::move(action)) {
    widget->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && action_) {
      watched->removeEventFilter(this);
      QMetaObject::invokeMethod(this, std::exchange(action_, nullptr), Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> action_;
};

}  // namespace miravel
