#include "composer/qt/qt_toolkit.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTextEdit>
#include <cstdio>

#include "composer/qt/qt_text.h"
#include "composer/qt/tab_control.h"

namespace miravel {
namespace {

// Dynamic properties of a multi-line box: the bytes last written, and the
// text it was shown as.
constexpr const char* kWrittenBytes = "miravelWrittenBytes";
constexpr const char* kShownText = "miravelShownText";

QString WithParagraphs(const Text& content) {
  return ToQString(content).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

Text WithCrLf(const QString& shown) {
  QString text = shown;
  return FromQString(text.replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
}

QMessageBox::Icon IconOf(int style) {
  switch (style & 0xF0) {
    case 0x10:
      return QMessageBox::Critical;
    case 0x20:
      return QMessageBox::Question;
    case 0x30:
      return QMessageBox::Warning;
    case 0x40:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

QMessageBox::StandardButtons ButtonsOf(int style) {
  switch (style & 0x0F) {
    case 1:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case 3:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case 4:
      return QMessageBox::Yes | QMessageBox::No;
    default:
      return QMessageBox::Ok;
  }
}

}  // namespace

QtToolkit::QtToolkit(QWidget* window, QtEventPump& pump) : window_(window), pump_(pump) {}

void QtToolkit::MarkClosed() {
  closed_ = true;
  pump_.Interrupt();
}

QString QtToolkit::StatusPartName(int part) { return QStringLiteral("part%1").arg(part); }

template <typename T>
T* QtToolkit::Find(std::string_view name) const {
  if (closed_ || window_.isNull()) return nullptr;
  return window_->findChild<T*>(
      QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

Text QtToolkit::ComboText(std::string_view combo) {
  auto* box = Find<QComboBox>(combo);
  return box != nullptr ? FromQString(box->currentText()) : Text();
}

void QtToolkit::SelectComboItem(std::string_view combo, int index) {
  if (auto* box = Find<QComboBox>(combo)) box->setCurrentIndex(index);
}

Text QtToolkit::EditContent(std::string_view edit) {
  if (auto* line = Find<QLineEdit>(edit)) return FromQString(line->text());
  auto* box = Find<QTextEdit>(edit);
  if (box == nullptr) return {};
  const QString shown = box->toPlainText();
  if (box->property(kShownText).toString() == shown) {
    return box->property(kWrittenBytes).toByteArray().toStdString();
  }
  return WithCrLf(shown);
}

void QtToolkit::SetEditContent(std::string_view edit, const Text& content) {
  if (auto* line = Find<QLineEdit>(edit)) {
    line->setText(WithParagraphs(content));
  } else if (auto* box = Find<QTextEdit>(edit)) {
    const QString shown = WithParagraphs(content);
    box->setPlainText(shown);
    box->setProperty(kShownText, box->toPlainText());
    box->setProperty(kWrittenBytes, QByteArray::fromStdString(content));
  }
}

void QtToolkit::SetButtonCaption(std::string_view button, const Text& caption) {
  if (auto* b = Find<QPushButton>(button)) b->setText(ToQString(caption));
}

void QtToolkit::SetButtonEnabled(std::string_view button, bool enabled) {
  if (auto* b = Find<QPushButton>(button)) b->setEnabled(enabled);
}

void QtToolkit::SetStatusPart(std::string_view status_bar, int part, const Text& text) {
  auto* bar = Find<QStatusBar>(status_bar);
  if (bar == nullptr) return;
  auto* label = bar->findChild<QLabel*>(StatusPartName(part));
  if (label == nullptr) return;
  label->setText(ToQString(text));
  if (echo_status_) std::fprintf(stderr, "miravel: %s\n", label->text().toUtf8().constData());
}

void QtToolkit::SetCurrentTabPage(std::string_view tab, int page) {
  if (auto* control = Find<TabControl>(tab)) control->setCurrentPage(page);
}

Text QtToolkit::WindowCaption() {
  return closed_ || window_.isNull() ? Text() : FromQString(window_->windowTitle());
}

void QtToolkit::SetWindowCaption(const Text& caption) {
  if (!closed_ && !window_.isNull()) window_->setWindowTitle(ToQString(caption));
}

void QtToolkit::PutClipboardText(const Text& text) {
  QApplication::clipboard()->setText(ToQString(text));
}

void QtToolkit::ShowMessageBox(const Text& body, int style, const Text& title) {
  QMessageBox box(IconOf(style), ToQString(title), ToQString(body), ButtonsOf(style), window_);
  if (QAbstractButton* ok = box.button(QMessageBox::Ok)) ok->setText(QString::fromUtf8("确定"));
  box.exec();
}

Text QtToolkit::EnvironmentText() { return FromQString(QStringLiteral("Qt ") + qVersion()); }

bool QtToolkit::WindowIsOpen() { return !closed_ && !window_.isNull(); }

EventPump& QtToolkit::Pump() { return pump_; }

}  // namespace miravel
