#include "gsm/ui/PhoneGrid.h"

#include "gsm/ui/CellChoice.h"
#include "gui/EditHelpers.h"
#include "gui/FormControls.h"
#include "gui/RowDrag.h"

#include <QComboBox>
#include <QHeaderView>
#include <QSignalBlocker>

#include <algorithm>

namespace tesmira::ui {

namespace {

constexpr int kColumns = 5;
constexpr int kRowHeight = 24;

std::string& Field(PhoneRow& row, int column) {
    switch (static_cast<PhoneColumn>(column)) {
    case PhoneColumn::Group:
        return row.group;
    case PhoneColumn::Partition:
        return row.partition;
    case PhoneColumn::Call:
        return row.call;
    default:
        return row.phone;
    }
}

} // namespace

PhoneGrid::PhoneGrid(PhoneRows& rows, QWidget* parent)
    : TypingGrid(static_cast<int>(kPhoneCount), kColumns, parent), rows_(rows) {
    setObjectName(QStringLiteral("grdPhones"));
    const int width = SetColumns({{"#", 40},
                                  {"Телефон", 140},
                                  {"гр.событий", FitWidth(70, PhoneGroupTexts())},
                                  {"Раздел", 70},
                                  {"Звонок", FitWidth(110, PhoneCallTexts())}});
    horizontalHeader()->setFixedHeight(kRowHeight);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Every row in view, without scrolling.
    setFixedSize(width + 10, (static_cast<int>(kPhoneCount) + 1) * kRowHeight + 20);

    for (int r = 0; r < rowCount(); ++r) {
        auto* number = new QTableWidgetItem(QString::number(r + 1));
        number->setFlags(Qt::ItemIsEnabled); // the fixed column: a handle to drag the row by
        number->setTextAlignment(Qt::AlignCenter);
        number->setBackground(palette().button());
        setItem(r, 0, number);
        for (int c = 1; c < kColumns; ++c) {
            auto* cell = new QTableWidgetItem;
            const bool typed = c == static_cast<int>(PhoneColumn::Phone) ||
                               c == static_cast<int>(PhoneColumn::Partition);
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable |
                           (typed ? Qt::ItemIsEditable : Qt::NoItemFlags));
            setItem(r, c, cell);
        }
    }

    choiceBox_ = Named(new QComboBox, "cbbPhoneChoice");
    choice_ = new CellChoice(choiceBox_, this, [this](int row, int column, const QString& text) {
        onChoice(row, column, text);
    });
    connect(this, &QTableWidget::currentCellChanged, this,
            [this](int row, int column) { onCellSelected(row, column); });
    connect(this, &QTableWidget::itemChanged, this, &PhoneGrid::onCellEdited);
    new RowDrag(this, static_cast<int>(PhoneColumn::Number),
                [this](int from, int to) { MoveRow(from, to); });
    ShowRows();
}

void PhoneGrid::ShowRows() {
    DiscardTyping();
    for (int r = 0; r < rowCount(); ++r)
        ShowRow(r);
}

void PhoneGrid::ShowRow(int row) {
    const QSignalBlocker quiet(this);
    PhoneRow& texts = rows_[static_cast<std::size_t>(row)];
    for (int c = 1; c < kColumns; ++c)
        item(row, c)->setText(QString::fromStdString(Field(texts, c)));
}

void PhoneGrid::onCellSelected(int row, int column) {
    if (row < 0 || column < 0)
        return;
    PhoneRow& texts = rows_[static_cast<std::size_t>(row)];
    const PhoneCellEditor editor = SelectPhoneCell(texts, static_cast<PhoneColumn>(column));
    ShowRow(row);
    if (editor != PhoneCellEditor::GroupChoice && editor != PhoneCellEditor::CallChoice)
        return;
    FillComboFromList(choiceBox_, Texts(editor == PhoneCellEditor::GroupChoice ? PhoneGroupTexts()
                                                                               : PhoneCallTexts()));
    choice_->Open(row, column);
}

void PhoneGrid::onCellEdited(QTableWidgetItem* cell) {
    if (cell->column() == 0)
        return;
    Field(rows_[static_cast<std::size_t>(cell->row())], cell->column()) =
        cell->text().toStdString();
}

void PhoneGrid::onChoice(int row, int column, const QString& text) {
    if (!text.isEmpty())
        Field(rows_[static_cast<std::size_t>(row)], column) = text.toStdString();
    ShowRow(row);
    // Cleared, so that the same cell can be chosen again at once.
    const QSignalBlocker quiet(this);
    setCurrentIndex(QModelIndex());
    clearSelection();
    setFocus();
}

void PhoneGrid::MoveRow(int from, int to) {
    CommitTyping();
    const auto first = rows_.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else
        std::rotate(first + to, first + from, first + from + 1);
    ShowRows();
}

} // namespace tesmira::ui
