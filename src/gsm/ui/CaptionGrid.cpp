#include "gsm/ui/CaptionGrid.h"

#include "gsm/ui/CellChoice.h"
#include "gui/Dialogs.h"
#include "gui/EditHelpers.h"
#include "gui/EventBox.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace tesmira::ui {

namespace {

constexpr int kColumns = 3;
constexpr int kAllEvents = 1;

// The name columns keep their text 3 pixels off the left edge.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem indented = option;
        indented.rect.adjust(3, 0, 0, 0);
        QStyledItemDelegate::paint(painter, indented, index);
    }
};

std::string& Field(CaptionRow& row, int column) {
    return column == 0 ? row.type : column == 1 ? row.number : row.name;
}

} // namespace

CaptionGrid::CaptionGrid(CaptionTable& table, QWidget* parent) : QWidget(parent), table_(table) {
    grid_ = Named(new TypingGrid(static_cast<int>(kCaptionRowCount), 0), "grdCaptions");
    // At least as wide as their longest choice, so that a chosen type or event reads whole.
    const int width = grid_->SetColumns({{"Тип", grid_->FitWidth(85, CaptionTypeTexts())},
                                         {"Номер", grid_->FitWidth(140, CaptionEventItems())},
                                         {"Название", 110}});
    grid_->verticalHeader()->hide();
    grid_->setFixedWidth(width + 30); // room for the frame and the scroll bar
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    grid_->rightPressSelects = false;
    auto* indent = new IndentDelegate(grid_);
    grid_->setItemDelegateForColumn(0, indent);
    grid_->setItemDelegateForColumn(2, indent);
    for (int r = 0; r < grid_->rowCount(); ++r) {
        for (int c = 0; c < kColumns; ++c) {
            auto* cell = new QTableWidgetItem;
            cell->setTextAlignment(c == 1 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
            grid_->setItem(r, c, cell);
        }
    }
    grid_->canType = [this](int row, int column) {
        return table_.SelectCell(row, column) == CaptionCellEditor::Typing;
    };

    typeBox_ = Named(new QComboBox, "cbbCaptionType");
    for (const std::string_view text : CaptionTypeTexts())
        typeBox_->addItem(FromUtf8(text));
    typeChoice_ = new CellChoice(typeBox_, grid_, [this](int row, int, const QString& text) {
        table_.ChooseType(row, text.toStdString());
        ShowRow(row);
    });
    eventBox_ = Named(new EventBox, "bxCaptionEvent");
    eventBox_->FillItems(kAllEvents);
    eventChoice_ = new CellChoice(eventBox_, grid_, [this](int row, int, const QString& text) {
        table_.ChooseEvent(row, text.toStdString());
        ShowRow(row);
    });

    sortButton_ = Named(new QPushButton(QStringLiteral("Сортировка")), "btnSort");
    sortButton_->setFixedWidth(75);

    menu_ = Named(new QMenu(this), "pmCaptions");
    QAction* clearAll = menu_->addAction(QStringLiteral("Очистить все"));
    clearAll->setObjectName(QStringLiteral("miClearAll"));
    clearAll->setProperty(kTagProperty, 0);
    QAction* remove = menu_->addAction(QStringLiteral("Удалить"));
    remove->setObjectName(QStringLiteral("miDelete"));
    remove->setProperty(kTagProperty, 1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 15);
    layout->addWidget(grid_);
    auto* side = new QVBoxLayout;
    side->addWidget(sortButton_);
    side->addStretch(1);
    layout->addLayout(side);
    layout->addStretch(1);

    connect(grid_, &QTableWidget::currentCellChanged, this,
            [this](int row, int column) { onCellSelected(row, column); });
    connect(grid_, &QTableWidget::itemChanged, this, &CaptionGrid::onCellEdited);
    connect(grid_, &QWidget::customContextMenuRequested, this, &CaptionGrid::onMenuRequested);
    connect(sortButton_, &QPushButton::clicked, this, &CaptionGrid::onSort);
    connect(clearAll, &QAction::triggered, this, &CaptionGrid::onClearAll);
    connect(remove, &QAction::triggered, this, &CaptionGrid::onRemoveRow);
    ShowRows();
}

void CaptionGrid::ShowRows() {
    grid_->DiscardTyping();
    for (int r = 0; r < grid_->rowCount(); ++r)
        ShowRow(r);
}

void CaptionGrid::ShowRow(int row) {
    const QSignalBlocker quiet(grid_);
    CaptionRow& texts = table_.rows()[static_cast<std::size_t>(row)];
    for (int c = 0; c < kColumns; ++c)
        grid_->item(row, c)->setText(QString::fromStdString(Field(texts, c)));
}

void CaptionGrid::onCellSelected(int row, int column) {
    if (row < 0 || column < 0)
        return;
    switch (table_.SelectCell(row, column)) {
    case CaptionCellEditor::TypeChoice:
        typeChoice_->Open(row, column);
        break;
    case CaptionCellEditor::EventChoice:
        eventChoice_->Open(row, column);
        break;
    default:
        break;
    }
}

void CaptionGrid::onCellEdited(QTableWidgetItem* cell) {
    if (cell->column() == 0)
        return;
    Field(table_.rows()[static_cast<std::size_t>(cell->row())], cell->column()) =
        cell->text().toStdString();
}

void CaptionGrid::onMenuRequested(const QPoint& at) {
    menuRow_ = grid_->rowAt(at.y());
    menu_->popup(grid_->viewport()->mapToGlobal(at));
}

void CaptionGrid::onSort() {
    CommitTyping();
    table_.Sort();
    ShowRows();
}

void CaptionGrid::onClearAll() {
    if (!Dialogs::ask(this, QStringLiteral("Подтверждение"),
                      QStringLiteral("Удалить все события?")))
        return;
    table_.Clear();
    ShowRows();
}

void CaptionGrid::onRemoveRow() {
    if (menuRow_ < 0)
        return;
    grid_->DiscardTyping();
    table_.RemoveRow(menuRow_);
    ShowRow(menuRow_);
}

} // namespace tesmira::ui
