// A tab control in the manner of the classic one: the tab strip and the
// page frame are drawn by this widget, and the page's controls are its
// direct children, placed relative to the control's own top-left corner.
// All pages share the children; the program has one page.
#pragma once

#include <QTabBar>
#include <QWidget>

namespace miravel {

class TabControl : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QStringList pageCaptions READ pageCaptions WRITE setPageCaptions)

 public:
  explicit TabControl(QWidget* parent = nullptr);

  QStringList pageCaptions() const;
  void setPageCaptions(const QStringList& captions);
  int currentPage() const { return tabs_->currentIndex(); }
  void setCurrentPage(int page) { tabs_->setCurrentIndex(page); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QTabBar* tabs_;
};

}  // namespace miravel
