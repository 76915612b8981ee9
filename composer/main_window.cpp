#include "composer/main_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTextDocument>

#include "composer/compose_command.h"
#include "composer/control_names.h"
#include "composer/window_handlers.h"

namespace miravel {

MainWindow::MainWindow(Text service_url, QWidget* parent)
    : QMainWindow(parent), toolkit_(this, pump_), service_url_(std::move(service_url)) {
  ui_.setupUi(this);
  // Designer stores no default alignment for a text document.
  ui_.编辑框_结果->document()->setDefaultTextOption(QTextOption(Qt::AlignHCenter));
  AddStatusParts();
  connect(ui_.按钮2, &QPushButton::clicked, this,
          [this] { OnComposeClicked(toolkit_, service_url_); });
  connect(ui_.按钮3, &QPushButton::clicked, this, [this] { OnCopyResultClicked(toolkit_); });
  connect(ui_.菜单_关于, &QAction::triggered, this, [this] { OnAboutSelected(toolkit_); });
}

// A status bar has no parts of its own: each part is a label of its width.
// The message part may be cut by the window's edge, but never widens it.
void MainWindow::AddStatusParts() {
  auto* label = new QLabel(ui_.状态条1);
  label->setObjectName(QtToolkit::StatusPartName(kStatusLabelPart));
  label->setFixedWidth(40);
  ui_.状态条1->addWidget(label);
  auto* message = new QLabel(ui_.状态条1);
  message->setObjectName(QtToolkit::StatusPartName(kStatusMessagePart));
  message->setMaximumWidth(500);
  message->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  ui_.状态条1->addWidget(message, 1);
  label->setText(QString::fromUtf8("提示丨"));
  ui_.状态条1->setFixedHeight(20);
}

void MainWindow::Created() { OnMainWindowCreated(toolkit_); }

void MainWindow::closeEvent(QCloseEvent* event) {
  toolkit_.MarkClosed();
  QMainWindow::closeEvent(event);
}

}  // namespace miravel
