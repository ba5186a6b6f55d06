// The grid under the GSM editor's tables: cells typed in only where allowed, and the cell still
// being typed in taken or dropped on request.
#pragma once

#include <QTableWidget>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <string_view>

namespace tesmira::ui {

class TypingGrid : public QTableWidget {
public:
    using QTableWidget::QTableWidget;

    // Where typing may start; unset: wherever the item is editable.
    std::function<bool(int row, int column)> canType;
    // Off: a right press only opens the grid's menu, it makes no cell current (which would open
    // that cell's choice box under the menu).
    bool rightPressSelects = true;

    struct Column {
        const char* title;
        int width; // at least that of the title
    };
    // At least `minimum`, and as wide as the widest of `texts` (UTF-8) with the cell's margins.
    template <class Texts> int FitWidth(int minimum, const Texts& texts) const {
        int widest = minimum;
        for (const auto& text : texts)
            widest = std::max(widest, TextWidth(text) + 12);
        return widest;
    }

    // Fixed columns with these titles; returns the sum of their widths.
    int SetColumns(std::initializer_list<Column> columns);

    // The text still being typed goes into its cell (which reports the change).
    void CommitTyping();
    // ... or is dropped, before the cells are shown anew.
    void DiscardTyping();

protected:
    int TextWidth(std::string_view text) const;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
};

} // namespace tesmira::ui
