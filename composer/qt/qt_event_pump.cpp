#include "composer/qt/qt_event_pump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace miravel {
namespace {

// Exit codes of the nested loop; QCoreApplication::exit() ends it with its
// own code, which counts as an interruption.
constexpr int kLoopSignalled = 1;
constexpr int kLoopTimedOut = 2;

}  // namespace

void QtEventPump::ProcessPendingEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

WaitOutcome QtEventPump::WaitFor(WorkerSignal& signal, std::chrono::milliseconds limit) {
  if (interrupted_) return WaitOutcome::kInterrupted;
  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, &loop, [&loop] { loop.exit(kLoopTimedOut); });
  // Runs on the worker's thread; the queued call reaches the loop on ours.
  // The waker is removed before the loop dies, under the signal's lock.
  signal.SetWaker([&loop] {
    QMetaObject::invokeMethod(
        &loop, [&loop] { loop.exit(kLoopSignalled); }, Qt::QueuedConnection);
  });
  int code = kLoopSignalled;
  if (!signal.IsSet()) {
    timer.start(limit);
    const QPointer<QEventLoop> outer = loop_;
    loop_ = &loop;
    code = loop.exec();
    loop_ = outer;
    // An interruption ends every wait, the ones this one was nested in too.
    if (interrupted_ && outer) outer->exit(-1);
  }
  signal.SetWaker(nullptr);
  if (code == kLoopSignalled) return WaitOutcome::kSignalled;
  if (code == kLoopTimedOut) return WaitOutcome::kTimedOut;
  return WaitOutcome::kInterrupted;
}

void QtEventPump::Interrupt() {
  interrupted_ = true;
  if (loop_) loop_->exit(-1);
}

}  // namespace miravel
