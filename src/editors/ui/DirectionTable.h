// The GSM direction table of the type 30 panel: five delivery directions shown from the direction
// block, edited in place with lists and a filtered phone cell, rows moved by dragging their number.
#pragma once

#include "editors/PanelDirections.h"

#include <QTableWidget>

namespace tesmira::ui {

// A view: what the user changes here is not stored anywhere. Columns "№", a zero-width column
// where the cursor rests after each pick, "Попытки", "SIM", "Протокол", "Телефон\Хост".
class DirectionTable : public QTableWidget {
    Q_OBJECT
public:
    enum Column { Number, Rest, Tries, Sim, Protocol, Phone, ColumnCount };

    explicit DirectionTable(QWidget* parent = nullptr);

    void ShowRows(const PanelDirections::Rows& rows);
    DirectionRow Row(int row) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Delegate;
    friend class Delegate;

    // A pick in one of the in-place lists of `row`.
    void Pick(int row, int column, const QString& item);
    void SetRow(int row, const DirectionRow& cells);
    void MoveRow(int from, int to);
    bool PhoneKeyAccepted(const QObject* editor, const QString& typed) const;
};

} // namespace tesmira::ui
