// The grid under the GSM editor's tables: cells typed in only where allowed, and the cell still
// being typed in taken or dropped on request.
#pragma once

#include <QTableWidget>

#include <functional>
#include <initializer_list>

namespace tesmira::ui {

class TypingGrid : public QTableWidget {
public:
    using QTableWidget::QTableWidget;

    // Where typing may start; unset: wherever the item is editable.
    std::function<bool(int row, int column)> canType;

    struct Column {
        const char* title;
        int width; // at least that of the title
    };
    // Fixed columns with these titles; returns the sum of their widths.
    int SetColumns(std::initializer_list<Column> columns);

    // The text still being typed goes into its cell (which reports the change).
    void CommitTyping();
    // ... or is dropped, before the cells are shown anew.
    void DiscardTyping();

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
};

} // namespace tesmira::ui
