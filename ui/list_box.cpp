#include "ui/list_box.h"

#include <QItemSelectionModel>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

namespace umbra::ui {
namespace {

constexpr int kItemHeight = 13;
constexpr int kOriginalBytesRole = Qt::UserRole;

class FixedHeightItemDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), kItemHeight};
  }
};

}  // namespace

TListBox::TListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  // Long lines are cut at the right edge: a scroll bar along the bottom would
  // take a good part of the few lines these short lists show.
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setTextElideMode(Qt::ElideNone);
  setUniformItemSizes(true);
  setItemDelegate(new FixedHeightItemDelegate(this));
}

void TListBox::AppendAndSelect(const QString& shown, const QByteArray& original) {
  // Filled before it goes in: a change to a line already in the list makes
  // the view lay out every line again.
  auto* item = new QListWidgetItem(shown);
  item->setData(kOriginalBytesRole, original);
  addItem(item);
  {
    // The view answers every change of selection by laying out all lines
    // again to repaint the two it touched; for a scan of many numbers that
    // would cost time growing with the square of their count. The selection
    // itself changes at once; the view catches up once, after the scan.
    const QSignalBlocker quiet(selectionModel());
    setCurrentItem(item);
  }
  if (!scrollPending_) {
    scrollPending_ = true;
    QMetaObject::invokeMethod(this, &TListBox::ScrollToSelected, Qt::QueuedConnection);
  }
}

void TListBox::ScrollToSelected() {
  scrollPending_ = false;
  viewport()->update();
  if (QListWidgetItem* item = currentItem()) scrollToItem(item);
}

std::optional<QByteArray> TListBox::SelectedOriginal() const {
  const QList<QListWidgetItem*> selected = selectedItems();
  if (selected.isEmpty()) return std::nullopt;
  return selected.front()->data(kOriginalBytesRole).toByteArray();
}

void TListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  QListWidget::mouseDoubleClickEvent(event);
  emit DblClick();
}

}  // namespace umbra::ui
