#include "composer/qt/tab_control.h"

#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>

namespace miravel {

TabControl::TabControl(QWidget* parent) : QWidget(parent), tabs_(new QTabBar(this)) {
  tabs_->setDrawBase(false);
  tabs_->setFocusPolicy(Qt::NoFocus);
  tabs_->move(2, 0);
}

QStringList TabControl::pageCaptions() const {
  QStringList captions;
  for (int i = 0; i < tabs_->count(); ++i) captions << tabs_->tabText(i);
  return captions;
}

void TabControl::setPageCaptions(const QStringList& captions) {
  while (tabs_->count() > 0) tabs_->removeTab(0);
  for (const QString& caption : captions) tabs_->addTab(caption);
  tabs_->adjustSize();
  tabs_->lower();
}

void TabControl::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionTabWidgetFrame frame;
  frame.initFrom(this);
  frame.rect = rect().adjusted(0, tabs_->height() - 1, 0, 0);
  frame.tabBarSize = tabs_->size();
  frame.tabBarRect = tabs_->geometry();
  frame.shape = QTabBar::RoundedNorth;
  painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}

void TabControl::resizeEvent(QResizeEvent* event) {
  tabs_->adjustSize();
  QWidget::resizeEvent(event);
}

}  // namespace miravel
