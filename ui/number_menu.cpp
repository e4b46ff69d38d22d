#include "ui/number_menu.h"

#include <QMenu>

#include "ui/list_box.h"

namespace umbra::ui {

void AddHistoryMenu(TListBox& list, std::function<void(const QByteArray& number)> openHistory) {
  list.setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(&list, &QWidget::customContextMenuRequested, &list,
                   [&list, openHistory = std::move(openHistory)](const QPoint& at) {
                     QListWidgetItem* item = list.itemAt(at);
                     // Below the lines there is no number to show.
                     if (item == nullptr) return;
                     list.setCurrentItem(item);
                     const std::optional<QByteArray> number = list.SelectedOriginal();
                     if (!number) return;
                     QMenu menu(&list);
                     menu.setObjectName(QStringLiteral("NumberMenu"));
                     QAction* history = menu.addAction(QStringLiteral("历史记录…"));
                     if (menu.exec(list.viewport()->mapToGlobal(at)) == history) openHistory(*number);
                   });
}

}  // namespace umbra::ui
