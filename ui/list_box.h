#pragma once
// A list box as the watch uses it: lines appended at the end and selected,
// each line keeping the bytes it was made from, and a double-click anywhere
// in the box reported as one event. A line wider than the box shows whole in
// a tooltip, and a horizontal scroll bar reaches its end.

#include <QByteArray>
#include <QListWidget>
#include <optional>

namespace umbra::ui {

class TListBox : public QListWidget {
  Q_OBJECT
 public:
  explicit TListBox(QWidget* parent = nullptr);

  // Appends a line showing `shown`, keeping `original` (the line's own
  // bytes), selects it and scrolls it into view (when control returns to the
  // event loop, so that many appends in a row scroll once).
  void AppendAndSelect(const QString& shown, const QByteArray& original);

  // The selected line's own bytes; nothing when no line is selected.
  std::optional<QByteArray> SelectedOriginal() const;

 signals:
  // A double-click on the box, on a line or on the empty space below them.
  void DblClick();

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  void ScrollToSelected();
  // The width a line takes in the box, its margins included.
  int LineWidth(const QString& shown) const;

  bool scrollPending_ = false;
  int widestLine_ = 0;
  bool widthGrew_ = false;
};

}  // namespace umbra::ui
