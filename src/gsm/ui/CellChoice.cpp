#include "gsm/ui/CellChoice.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QTableWidget>
#include <QTimer>

namespace tesmira::ui {

CellChoice::CellChoice(QComboBox* box, QTableWidget* grid, Apply apply)
    : QObject(box), box_(box), grid_(grid), apply_(std::move(apply)) {
    box_->setParent(grid_->viewport());
    box_->hide();
    connect(box_, &QComboBox::activated, this, &CellChoice::Finish);
    // The list is a window of its own; its hiding is the close-up, picked or not.
    box_->view()->window()->installEventFilter(this);
}

void CellChoice::Open(int row, int column) {
    row_ = row;
    column_ = column;
    open_ = true;
    const QString text = grid_->model()->index(row, column).data().toString();
    box_->setCurrentIndex(text.isEmpty() ? 0 : box_->findText(text));
    box_->setGeometry(grid_->visualRect(grid_->model()->index(row, column)).adjusted(1, 1, -1, -1));
    box_->show();
    box_->raise();
    box_->setFocus(Qt::OtherFocusReason);
    box_->showPopup();
}

bool CellChoice::eventFilter(QObject* watched, QEvent* event) {
    // A pick hides the list before it activates the item: wait for that to come first.
    if (event->type() == QEvent::Hide && open_)
        QTimer::singleShot(0, this, [this] { Finish(box_->currentIndex()); });
    return QObject::eventFilter(watched, event);
}

void CellChoice::Finish(int index) {
    if (!open_)
        return;
    open_ = false;
    box_->hide();
    apply_(row_, column_, index >= 0 ? box_->itemText(index) : QString());
}

} // namespace tesmira::ui
