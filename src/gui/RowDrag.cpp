#include "gui/RowDrag.h"

#include <QMouseEvent>
#include <QTableWidget>

#include <utility>

namespace tesmira::ui {

RowDrag::RowDrag(QTableWidget* table, int handleColumn, Move move)
    : QObject(table), table_(table), handleColumn_(handleColumn), move_(std::move(move)) {
    table_->viewport()->installEventFilter(this);
}

bool RowDrag::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        const QModelIndex index = table_->indexAt(at);
        from_ = index.isValid() && index.column() == handleColumn_ ? index.row() : -1;
        if (from_ >= 0)
            table_->viewport()->setCursor(Qt::SizeVerCursor);
    } else if (event->type() == QEvent::MouseButtonRelease && from_ >= 0) {
        table_->viewport()->unsetCursor();
        const int to = table_->rowAt(static_cast<QMouseEvent*>(event)->position().toPoint().y());
        const int from = std::exchange(from_, -1);
        if (to >= 0 && to != from)
            move_(from, to);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tesmira::ui
