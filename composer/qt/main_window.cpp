#include "composer/qt/main_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QResizeEvent>
#include <QTextDocument>
#include <algorithm>

#include "composer/compose_command.h"
#include "composer/control_names.h"
#include "composer/window_handlers.h"
#include "ui_main_window.h"

namespace miravel {

MainWindow::MainWindow(Text service_url, QWidget* parent)
    : QMainWindow(parent),
      ui_(std::make_unique<Ui::MainWindow>()),
      toolkit_(this, pump_),
      service_url_(std::move(service_url)) {
  ui_->setupUi(this);
  // Designer stores no default alignment for a text document.
  ui_->编辑框_结果->document()->setDefaultTextOption(QTextOption(Qt::AlignHCenter));
  AddStatusParts();
  NameControls();
  described_ = {geometry().size(), ui_->高级选择夹1->geometry(), ui_->分组框1->geometry(),
                ui_->编辑框_结果->geometry()};
  connect(ui_->按钮2, &QPushButton::clicked, this,
          [this] { OnComposeClicked(toolkit_, service_url_); });
  // Enter composes as a click would: only while the button takes clicks.
  connect(ui_->编辑框_输入汉字, &QLineEdit::returnPressed, this, [this] {
    if (ui_->按钮2->isEnabled()) ui_->按钮2->click();
  });
  connect(ui_->按钮3, &QPushButton::clicked, this, [this] { OnCopyResultClicked(toolkit_); });
  connect(ui_->菜单_关于, &QAction::triggered, this, [this] { OnAboutSelected(toolkit_); });
}

MainWindow::~MainWindow() = default;

// A status bar has no parts of its own: each part is a label of its width.
// The message part may be cut by the window's edge, but never widens it.
void MainWindow::AddStatusParts() {
  auto* label = new QLabel(ui_->状态条1);
  label->setObjectName(QtToolkit::StatusPartName(kStatusLabelPart));
  label->setFixedWidth(40);
  ui_->状态条1->addWidget(label);
  auto* message = new QLabel(ui_->状态条1);
  message->setObjectName(QtToolkit::StatusPartName(kStatusMessagePart));
  message->setMaximumWidth(500);
  message->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  ui_->状态条1->addWidget(message, 1);
  label->setText(QString::fromUtf8("提示丨"));
  ui_->状态条1->setFixedHeight(20);
}

// A screen reader names each input by its label (a combo box would
// otherwise be read by the value it shows), and the result box by what it
// holds.
void MainWindow::NameControls() {
  const auto name_by = [](QWidget* control, const QLabel* label) {
    QString text = label->text();
    if (text.endsWith(QChar(u'：'))) text.chop(1);
    control->setAccessibleName(text);
  };
  name_by(ui_->编辑框_输入汉字, ui_->标签3);
  name_by(ui_->组合框1, ui_->标签4);
  name_by(ui_->组合框2, ui_->标签5);
  name_by(ui_->组合框3, ui_->标签6);
  ui_->编辑框_结果->setAccessibleName(QString::fromUtf8("作诗结果"));
}

void MainWindow::Created() { OnMainWindowCreated(toolkit_); }

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  const int wider = std::max(0, width() - described_.window.width());
  const int taller = std::max(0, height() - described_.window.height());
  // 按钮3 stands right of the result box: the box grows downwards only.
  ui_->高级选择夹1->setGeometry(described_.tab.adjusted(0, 0, wider, taller));
  ui_->分组框1->setGeometry(described_.group.adjusted(0, 0, 0, taller));
  ui_->编辑框_结果->setGeometry(described_.result.adjusted(0, 0, 0, taller));
}

void MainWindow::closeEvent(QCloseEvent* event) {
  toolkit_.MarkClosed();
  QMainWindow::closeEvent(event);
}

}  // namespace miravel
