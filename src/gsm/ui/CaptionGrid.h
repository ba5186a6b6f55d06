// The caption grid of the GSM editor's names tab: the 99 caption rows of the editor's
// configuration, a type box and an event box that open over their cells, the sort button and the
// grid's menu that empties one row or all of them.
#pragma once

#include "gsm/CaptionBlock.h"

#include "gsm/ui/TypingGrid.h"

#include <QWidget>

class QComboBox;
class QMenu;
class QPushButton;

namespace tesmira::ui {

class CellChoice;
class EventBox;

class CaptionGrid : public QWidget {
    Q_OBJECT
public:
    // Shows and edits `table`, which must outlive it.
    explicit CaptionGrid(CaptionTable& table, QWidget* parent = nullptr);

    // Every row from the table, without any handler running.
    void ShowRows();
    void CommitTyping() { grid_->CommitTyping(); }

    TypingGrid* grid() const { return grid_; }
    QComboBox* typeBox() const { return typeBox_; }
    EventBox* eventBox() const { return eventBox_; }
    QMenu* menu() const { return menu_; }
    // The row the grid's menu was opened over (-1: none).
    int menuRow() const { return menuRow_; }

private:
    void ShowRow(int row);
    void onCellSelected(int row, int column);
    void onCellEdited(QTableWidgetItem* item);
    void onMenuRequested(const QPoint& at);
    void onSort();
    void onClearAll();
    void onRemoveRow();

    CaptionTable& table_;
    TypingGrid* grid_ = nullptr;
    QComboBox* typeBox_ = nullptr;
    EventBox* eventBox_ = nullptr;
    CellChoice* typeChoice_ = nullptr;
    CellChoice* eventChoice_ = nullptr;
    QPushButton* sortButton_ = nullptr;
    QMenu* menu_ = nullptr;
    int menuRow_ = -1;
};

} // namespace tesmira::ui
