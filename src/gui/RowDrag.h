// Moving a table's rows by dragging them by one column (their number), as the tables whose row
// order is part of the record allow.
#pragma once

#include <QObject>

#include <functional>

class QTableWidget;

namespace tesmira::ui {

class RowDrag : public QObject {
public:
    // `move` gets the row pressed in `handleColumn` and the row it was released over, when they
    // differ. Watches the table's viewport; lives as long as the table.
    using Move = std::function<void(int from, int to)>;
    RowDrag(QTableWidget* table, int handleColumn, Move move);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableWidget* table_;
    int handleColumn_;
    Move move_;
    int from_ = -1;
};

} // namespace tesmira::ui
