#include "editors/ui/DirectionTable.h"

#include "gui/EditHelpers.h"
#include "gui/FormControls.h"
#include "gui/RowDrag.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTimer>

namespace tesmira::ui {

namespace {

constexpr Qt::ItemFlags kSelectable = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
constexpr Qt::ItemFlags kEditable = kSelectable | Qt::ItemIsEditable;

std::span<const std::string_view> ListOf(int column) {
    switch (column) {
    case DirectionTable::Tries:
        return DirectionTriesTexts();
    case DirectionTable::Sim:
        return DirectionSimTexts();
    case DirectionTable::Protocol:
        return DirectionProtocolTexts();
    default:
        return {};
    }
}

std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

// Keys that type no character: cursor movement, deleting forward, leaving the cell.
bool MovesOrLeaves(const QKeyEvent& key) {
    return key.text().isEmpty() || key.key() == Qt::Key_Delete || key.key() == Qt::Key_Tab ||
           key.key() == Qt::Key_Backtab;
}

} // namespace

// Lists over the tries, SIM and protocol cells, a key-filtered edit over the phone cell.
class DirectionTable::Delegate : public QStyledItemDelegate {
public:
    explicit Delegate(DirectionTable* table) : QStyledItemDelegate(table), table_(table) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        if (index.column() == Phone) {
            auto* edit = new QLineEdit(parent);
            // No pasting or dropping past the filter.
            edit->setContextMenuPolicy(Qt::NoContextMenu);
            edit->setAcceptDrops(false);
            edit->installEventFilter(table_);
            return edit;
        }
        const auto items = ListOf(index.column());
        if (items.empty())
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto* list = new QComboBox(parent);
        list->addItems(Texts(items));
        // A pick takes effect at once and ends the edit. Leaving the list without a pick (the
        // user clicking elsewhere) changes nothing and leaves the focus where the user put it.
        auto* self = const_cast<Delegate*>(this);
        const QPersistentModelIndex cell(index);
        connect(list, &QComboBox::activated, self, [self, list, cell] {
            if (cell.isValid())
                self->table_->Pick(cell.row(), cell.column(), list->currentText());
            // One pick per opening: keys that reach the list before it is gone pick nothing.
            list->blockSignals(true);
            emit self->closeEditor(list);
        });
        return list;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        const QString text = index.data().toString();
        if (auto* list = qobject_cast<QComboBox*>(editor))
            list->setCurrentIndex(list->findText(text));
        else if (auto* edit = qobject_cast<QLineEdit*>(editor))
            edit->setText(text);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        // The lists have stored their pick already.
        if (auto* edit = qobject_cast<QLineEdit*>(editor))
            model->setData(index, edit->text());
    }

private:
    DirectionTable* table_;
};

DirectionTable::DirectionTable(QWidget* parent)
    : QTableWidget(PanelDirections::kRowCount, ColumnCount, parent) {
    setHorizontalHeaderLabels({QStringLiteral("№"), QString(), QStringLiteral("Попытки"),
                               QStringLiteral("SIM"), QStringLiteral("Протокол"),
                               QStringLiteral("Телефон\\Хост")});
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    setColumnWidth(Number, digit * 3);
    setColumnWidth(Rest, 0);
    setColumnWidth(Tries, digit * 9);
    setColumnWidth(Sim, digit * 6);
    setColumnWidth(Protocol, digit * 12);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setItemDelegate(new Delegate(this));
    // Rows are moved by dragging their number to another row.
    new RowDrag(this, Number, [this](int from, int to) { MoveRow(from, to); });
    for (int row = 0; row < rowCount(); ++row) {
        // The number column looks like its head: not a cell to select.
        auto* number = new QTableWidgetItem(QString::number(row + 1));
        number->setTextAlignment(Qt::AlignCenter);
        number->setFlags(Qt::NoItemFlags);
        number->setForeground(palette().buttonText());
        number->setBackground(palette().button());
        setItem(row, Number, number);
        for (int column = Rest; column < ColumnCount; ++column)
            setItem(row, column, new QTableWidgetItem);
        SetRow(row, {std::string(kDirectionOff), {}, {}, {}});
    }
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFixedHeight(horizontalHeader()->sizeHint().height() + verticalHeader()->length() +
                   2 * frameWidth());
}

void DirectionTable::ShowRows(const PanelDirections::Rows& rows) {
    for (int row = 0; row < PanelDirections::kRowCount; ++row)
        SetRow(row, rows[static_cast<std::size_t>(row)]);
}

DirectionRow DirectionTable::Row(int row) const {
    const auto cell = [this, row](int column) {
        return Utf8(item(row, column)->text());
    };
    return {cell(Tries), cell(Sim), cell(Protocol), cell(Phone)};
}

void DirectionTable::SetRow(int row, const DirectionRow& cells) {
    item(row, Rest)->setFlags(kSelectable);
    item(row, Tries)->setText(FromUtf8(cells.tries));
    item(row, Tries)->setFlags(kEditable);
    // The details of a direction that is off cannot be selected.
    const Qt::ItemFlags details = DirectionDetailsEditable(cells) ? kEditable : Qt::NoItemFlags;
    const std::pair<int, const std::string*> detailCells[] = {
        {Sim, &cells.sim}, {Protocol, &cells.protocol}, {Phone, &cells.phone}};
    for (const auto& [column, text] : detailCells) {
        item(row, column)->setText(FromUtf8(*text));
        item(row, column)->setFlags(details);
    }
}

void DirectionTable::Pick(int row, int column, const QString& item) {
    DirectionRow cells = Row(row);
    const std::string picked = Utf8(item);
    if (column == Tries)
        cells = PickDirectionTries(cells, picked);
    else if (column == Protocol)
        cells = PickDirectionProtocol(cells, picked);
    else
        cells.sim = picked;
    SetRow(row, cells);
    // Once the list has closed: the cursor rests where no list opens.
    QTimer::singleShot(0, this, [this, row] {
        setCurrentCell(row, Rest);
        setFocus();
    });
}

bool DirectionTable::PhoneKeyAccepted(const QObject* editor, const QString& typed) const {
    const auto* edit = qobject_cast<const QLineEdit*>(editor);
    if (edit == nullptr)
        return true;
    const int editedRow = currentRow();
    std::size_t table = static_cast<std::size_t>(edit->text().size());
    for (int row = 0; row < rowCount(); ++row) {
        if (row != editedRow)
            table += static_cast<std::size_t>(item(row, Phone)->text().size());
    }
    const char32_t ch = typed.toUcs4().value(0);
    return PhoneCellAccepts(ch, static_cast<std::size_t>(edit->text().size()), table);
}

bool DirectionTable::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        // Shift+Insert types no character, so only its own test keeps the clipboard out.
        if (qobject_cast<const QLineEdit*>(watched) != nullptr && key.matches(QKeySequence::Paste))
            return true;
        if (!MovesOrLeaves(key) && !PhoneKeyAccepted(watched, key.text()))
            return true;
    }
    return QTableWidget::eventFilter(watched, event);
}

void DirectionTable::MoveRow(int from, int to) {
    std::vector<DirectionRow> rows;
    for (int row = 0; row < rowCount(); ++row)
        rows.push_back(Row(row));
    const DirectionRow moved = rows[static_cast<std::size_t>(from)];
    rows.erase(rows.begin() + from);
    rows.insert(rows.begin() + to, moved);
    for (int row = 0; row < rowCount(); ++row)
        SetRow(row, rows[static_cast<std::size_t>(row)]);
    setCurrentCell(to, Rest);
}

} // namespace tesmira::ui
