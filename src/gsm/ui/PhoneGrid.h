// The phone grid of the GSM editor's main tab: the eight phone rows of the editor's
// configuration, typed in place, with choice boxes for the event group and the call mode, and
// rows moved by dragging their number.
#pragma once

#include "gsm/PhoneTable.h"

#include "gsm/ui/TypingGrid.h"

class QComboBox;

namespace tesmira::ui {

class CellChoice;

class PhoneGrid : public TypingGrid {
    Q_OBJECT
public:
    // The grid shows and edits `rows`, which must outlive it.
    explicit PhoneGrid(PhoneRows& rows, QWidget* parent = nullptr);

    // Every row from `rows`, without any handler running.
    void ShowRows();
    QComboBox* choiceBox() const { return choiceBox_; }

private:
    void ShowRow(int row);
    void onCellSelected(int row, int column);
    void onCellEdited(QTableWidgetItem* item);
    void onChoice(int row, int column, const QString& text);
    // The row dragged by its number to where it was dropped; the others close up.
    void MoveRow(int from, int to);

    PhoneRows& rows_;
    QComboBox* choiceBox_ = nullptr;
    CellChoice* choice_ = nullptr;
};

} // namespace tesmira::ui
