// A drop-down list that opens over one cell of a grid to choose that cell's value, and hands the
// choice back once its list closes.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QComboBox;
class QTableWidget;

namespace tesmira::ui {

class CellChoice : public QObject {
public:
    // `apply` gets the cell and the chosen item's text (empty when the box has no current item).
    using Apply = std::function<void(int row, int column, const QString& text)>;

    // `box` lives on the grid's viewport, hidden until Open.
    CellChoice(QComboBox* box, QTableWidget* grid, Apply apply);

    // Places the box one pixel inside the cell, shows it, focuses it and opens its list. The
    // cell's own item is the current one, so that closing the list without a pick leaves the cell
    // as it was; an empty cell offers the first item, a text that is no item none.
    void Open(int row, int column);
    bool IsOpen() const { return open_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Once per opening: an item picked, or the list closed without a pick (the current item).
    void Finish(int index);

    QComboBox* box_;
    QTableWidget* grid_;
    Apply apply_;
    int row_ = -1;
    int column_ = -1;
    bool open_ = false;
};

} // namespace tesmira::ui
