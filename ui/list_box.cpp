#include "ui/list_box.h"

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
  auto* item = new QListWidgetItem(shown, this);
  item->setData(kOriginalBytesRole, original);
  setCurrentItem(item);
  scrollToItem(item);
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
