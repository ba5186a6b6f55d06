#include "gsm/ui/EventGrid.h"

#include "gsm/EventListFile.h"
#include "gsm/ui/TypingGrid.h"
#include "gui/Dialogs.h"
#include "gui/EditHelpers.h"
#include "gui/ListImages.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace tesmira::ui {

namespace {

using Column = EventSelection::Column;

constexpr int kRowHeight = 20;
constexpr int kGridHeight = 350;
const QString kEventListFilter = QStringLiteral("Файл списка событий (*.evl)");

// The toggle cells: the window's background and, for a set bit, the check mark instead of the
// "1" the cell holds.
class CheckMarkDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->fillRect(option.rect, option.palette.window());
        if (index.data().toString().isEmpty())
            return;
        const QRect mark(option.rect.left() + option.rect.width() / 2 - kListImageSize.width() / 2,
                         option.rect.top() + (option.rect.height() - kListImageSize.height()) / 2,
                         kListImageSize.width(), kListImageSize.height());
        ListImages().at(kCheckMarkImage).paint(painter, mark);
    }
};

QTableWidgetItem* FixedItem(const QString& text, Qt::Alignment alignment) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setTextAlignment(alignment);
    return item;
}

std::string CellText(const EventSelection& selection, int row, Column column) {
    return selection.CellText(row + 1, column);
}

} // namespace

EventGrid::EventGrid(EventSelection& selection, QWidget* parent)
    : QWidget(parent), selection_(selection) {
    groupBox_ = Named(new QComboBox, "cbbEventGroup");
    for (const std::string_view text : EventSelection::GroupTexts())
        groupBox_->addItem(FromUtf8(text));

    grid_ = Named(new TypingGrid(EventSelection::kRowCount, 0), "grdEvents");
    const int width =
        grid_->SetColumns({{"#", 40}, {"Описание", 140}, {"Наруш.", 60}, {"Восст.", 60}});
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setFixedSize(width + 50, kGridHeight);
    auto* marks = new CheckMarkDelegate(grid_);
    grid_->setItemDelegateForColumn(static_cast<int>(Column::Violation), marks);
    grid_->setItemDelegateForColumn(static_cast<int>(Column::Restoration), marks);
    for (int r = 0; r < EventSelection::kRowCount; ++r) {
        grid_->setItem(r, 0,
                       FixedItem(FromUtf8(CellText(selection_, r, Column::Code)), Qt::AlignCenter));
        grid_->setItem(r, 1,
                       FixedItem(FromUtf8(CellText(selection_, r, Column::Description)),
                                 Qt::AlignLeft | Qt::AlignVCenter));
        grid_->setItem(r, 2, FixedItem(QString(), Qt::AlignCenter));
        grid_->setItem(r, 3, FixedItem(QString(), Qt::AlignCenter));
    }

    loadButton_ = Named(new QPushButton(QStringLiteral("Загрузить")), "btnLoadEvents");
    saveButton_ = Named(new QPushButton(QStringLiteral("Сохранить")), "btnSaveEvents");
    for (QPushButton* button : {loadButton_, saveButton_})
        button->setFixedSize(85, 25);

    buttons_ = new QVBoxLayout;
    buttons_->addWidget(loadButton_);
    buttons_->addSpacing(50);
    buttons_->addWidget(saveButton_);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(groupBox_, 0, 0, Qt::AlignLeft);
    layout->addWidget(grid_, 1, 0);
    layout->addLayout(buttons_, 1, 1, Qt::AlignTop);
    layout->setColumnMinimumWidth(1, 85 + 50);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(2, 1);

    connect(groupBox_, &QComboBox::activated, this, &EventGrid::onGroupChosen);
    connect(grid_, &QTableWidget::cellPressed, this, &EventGrid::onCellPressed);
    connect(loadButton_, &QPushButton::clicked, this, &EventGrid::onLoad);
    connect(saveButton_, &QPushButton::clicked, this, &EventGrid::onSave);
    Refresh();
}

void EventGrid::Refresh() {
    groupBox_->setCurrentIndex(selection_.Group());
    for (int r = 0; r < EventSelection::kRowCount; ++r) {
        for (const Column column : {Column::Violation, Column::Restoration})
            grid_->item(r, static_cast<int>(column))
                ->setText(FromUtf8(CellText(selection_, r, column)));
    }
}

void EventGrid::AddButton(QWidget* button) {
    buttons_->addSpacing(25);
    buttons_->addWidget(button);
}

void EventGrid::onGroupChosen(int group) {
    selection_.SelectGroup(group);
    Refresh();
}

void EventGrid::onCellPressed(int row, int column) {
    if (selection_.Toggle(row + 1, static_cast<Column>(column)))
        Refresh();
}

void EventGrid::onSave() {
    QString name = Dialogs::saveFileName(this, QStringLiteral("Сохранить настройки событий"),
                                         QDir::currentPath(), kEventListFilter);
    if (name.isEmpty())
        return;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".evl");
    Dialogs::guarded(this, [&] { SaveEventListFile(FilePath(name), selection_); });
}

void EventGrid::onLoad() {
    const QString name = Dialogs::openFileName(this, QStringLiteral("Открыть настройки событий"),
                                               QDir::currentPath(), kEventListFilter);
    if (name.isEmpty())
        return;
    Dialogs::guarded(this, [&] { LoadEventListFile(FilePath(name), selection_); });
    Refresh();
}

} // namespace tesmira::ui
