#include "ui/list_box.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <utility>

namespace umbra::ui {
namespace {

constexpr int kItemHeight = 13;
constexpr int kOriginalBytesRole = Qt::UserRole;
// The text's inset in a line, as the original platform's list boxes draw
// it: two pixels on the left, one on the right. Qt's own three on either
// side would cost a change line of a ten-digit number its last characters.
constexpr int kTextLeft = 2;
constexpr int kTextRight = 1;

// Every line is as high as the original's and as wide as the widest line,
// so the view can lay them out without asking each one, and the horizontal
// scroll bar reaches the end of the widest.
class LineDelegate : public QStyledItemDelegate {
 public:
  LineDelegate(const int& widestLine, QObject* parent)
      : QStyledItemDelegate(parent), widestLine_(widestLine) {}

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {widestLine_, kItemHeight};
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem line = option;
    initStyleOption(&line, index);
    const QString text = std::exchange(line.text, QString());
    const QWidget* widget = line.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    // Background, selection and focus as the style draws them; the text
    // with the list box's own inset.
    style->drawControl(QStyle::CE_ItemViewItem, &line, painter, widget);
    const bool selected = line.state.testFlag(QStyle::State_Selected);
    const QPalette::ColorGroup group = line.state.testFlag(QStyle::State_Enabled)
                                           ? QPalette::Normal
                                           : QPalette::Disabled;
    painter->save();
    painter->setFont(line.font);
    painter->setPen(line.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(line.rect.adjusted(kTextLeft, 0, -kTextRight, 0),
                      Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    painter->restore();
  }

 private:
  const int& widestLine_;
};

}  // namespace

TListBox::TListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  // A line wider than the box can still be read: the scroll bar along the
  // bottom comes when one is, and the whole line shows as a tooltip.
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setTextElideMode(Qt::ElideNone);
  setUniformItemSizes(true);
  setItemDelegate(new LineDelegate(widestLine_, this));
  // Emptied: the scroll bar's reach starts afresh with the next lines.
  connect(model(), &QAbstractItemModel::modelReset, this, [this] { widestLine_ = 0; });
}

int TListBox::LineWidth(const QString& shown) const {
  return kTextLeft + fontMetrics().horizontalAdvance(shown) + kTextRight;
}

void TListBox::AppendAndSelect(const QString& shown, const QByteArray& original) {
  // Filled before it goes in: a change to a line already in the list makes
  // the view lay out every line again.
  auto* item = new QListWidgetItem(shown);
  item->setData(kOriginalBytesRole, original);
  const int width = LineWidth(shown);
  if (width > widestLine_) {
    widestLine_ = width;
    widthGrew_ = true;
  }
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
  // The view keeps the size of its lines from when it last laid them out;
  // a wider line needs one more layout, once, for the scroll bar's reach.
  if (std::exchange(widthGrew_, false)) doItemsLayout();
  viewport()->update();
  if (QListWidgetItem* item = currentItem()) scrollToItem(item);
}

std::optional<QByteArray> TListBox::SelectedOriginal() const {
  const QList<QListWidgetItem*> selected = selectedItems();
  if (selected.isEmpty()) return std::nullopt;
  return selected.front()->data(kOriginalBytesRole).toByteArray();
}

bool TListBox::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QListWidgetItem* item = itemAt(help->pos());
    if (item != nullptr && LineWidth(item->text()) > viewport()->width()) {
      QToolTip::showText(help->globalPos(), item->text(), viewport(), visualItemRect(item));
    } else {
      QToolTip::hideText();
      event->ignore();
    }
    return true;
  }
  return QListWidget::viewportEvent(event);
}

void TListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  QListWidget::mouseDoubleClickEvent(event);
  emit DblClick();
}

}  // namespace umbra::ui
