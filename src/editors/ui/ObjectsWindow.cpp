#include "editors/ui/ObjectsWindow.h"

#include "editors/ui/RepeaterWidgets.h"
#include "editors/ui/TransmitterNumberDialog.h"
#include "gui/EditHelpers.h"
#include "gui/ListImages.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <functional>

namespace tesmira::ui {

namespace {

constexpr int kCellFontPoints = 10;
constexpr int kLabelFontPixels = 19;
constexpr int kMargin = 10;
constexpr int kGridTop = 40;
constexpr QSize kCloseButtonSize{75, 25};

// The object type pictures beside the "off" one, which the zone types already have.
void DrawButton(QPainter& p) {
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(QColor(200, 200, 200));
    p.drawRoundedRect(QRectF(1.5, 3.5, 13, 11), 2, 2);
    p.setPen(QPen(QColor(130, 0, 0), 1));
    p.setBrush(QColor(220, 30, 30));
    p.drawEllipse(QRectF(4, 5, 8, 8));
}

void DrawTransmitter(QPainter& p, const QColor& body) {
    p.setPen(QPen(QColor(40, 40, 40), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, 7), QPointF(11, 1.5));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(3.5, 7, 10, 8), 1.5, 1.5);
    p.setPen(QPen(QColor(40, 40, 40), 1, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(1, 0.5, 6, 6), 60 * 16, 120 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 220, 60));
    p.drawEllipse(QRectF(6, 10, 2.5, 2.5));
}

void DrawPirra(QPainter& p) {
    DrawTransmitter(p, QColor(40, 100, 200));
}

void DrawStavel(QPainter& p) {
    DrawTransmitter(p, QColor(40, 150, 70));
}

QList<QIcon> BuildObjectTypeImages() {
    return {ListImages().value(0), DrawnIcon(DrawButton), DrawnIcon(DrawPirra),
            DrawnIcon(DrawStavel)};
}

// Draws every cell: the header row centred, the pictures stretched into the cell less 2 pixels a
// side, the numbers right-aligned at the top, short of the column's right inset.
class ObjectCellDelegate : public QStyledItemDelegate {
public:
    ObjectCellDelegate(const ObjectList& list, QObject* parent)
        : QStyledItemDelegate(parent), list_(list), font_(FixedPitchFont(kCellFontPoints)) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const int row = index.row();
        const int column = index.column();
        const QRect cell = option.rect;
        const QString text = index.data(Qt::DisplayRole).toString();
        const QPalette& colours = option.palette;
        p->save();
        p->setFont(font_);
        if (row == 0) {
            p->fillRect(cell, colours.button());
            p->setPen(colours.buttonText().color());
            p->drawText(cell, Qt::AlignCenter | Qt::TextSingleLine, text);
        } else if (ObjectList::KindOfColumn(column) == ObjectList::CellKind::ObjectTypeImage) {
            p->fillRect(cell, colours.base());
            if (const auto image = list_.CellImage(row, column); image && !text.isEmpty())
                ObjectTypeImages().value(*image).paint(p, cell.adjusted(2, 2, -2, -2));
        } else {
            p->fillRect(cell, colours.window());
            p->setPen(colours.windowText().color());
            const int inset = ObjectList::Columns()[static_cast<std::size_t>(column)].rightInset;
            p->drawText(cell.adjusted(0, 0, -inset, 0), Qt::AlignRight | Qt::AlignTop, text);
        }
        if (option.state & QStyle::State_HasFocus) {
            p->setPen(QPen(colours.highlight().color(), 1, Qt::DotLine));
            p->drawRect(cell.adjusted(0, 0, -1, -1));
        }
        p->restore();
    }

private:
    const ObjectList& list_;
    QFont font_;
};

} // namespace

const QList<QIcon>& ObjectTypeImages() {
    static const QList<QIcon> images = BuildObjectTypeImages();
    return images;
}

// The grid decides nothing itself: a click, or an arrow key onto a cell, is handed to the window,
// which moves the selection or opens the number dialog.
class ObjectGrid : public QTableWidget {
public:
    using Selected = std::function<void(int row, int column)>;

    ObjectGrid(int rows, Selected selected, QWidget* parent)
        : QTableWidget(rows, ObjectList::kColumnCount, parent), selected_(std::move(selected)) {}

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton)
            return;
        const QModelIndex cell = indexAt(event->position().toPoint());
        if (cell.isValid())
            selected_(cell.row(), cell.column());
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override { mousePressEvent(event); }
    void mouseMoveEvent(QMouseEvent*) override {}
    void mouseReleaseEvent(QMouseEvent*) override {}

    void keyPressEvent(QKeyEvent* event) override {
        int row = currentRow();
        int column = currentColumn();
        switch (event->key()) {
        case Qt::Key_Up:
            --row;
            break;
        case Qt::Key_Down:
            ++row;
            break;
        case Qt::Key_Left:
            --column;
            break;
        case Qt::Key_Right:
            ++column;
            break;
        default:
            QWidget::keyPressEvent(event); // Esc and the rest go on to the window
            return;
        }
        if (row >= 0 && row < rowCount() && column >= 0 && column < columnCount())
            selected_(row, column);
    }

private:
    Selected selected_;
};

ObjectsWindow::ObjectsWindow(std::size_t entryCount, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      list_(entryCount) {
    setObjectName(QStringLiteral("ObjectsWindow"));
    setWindowTitle(FromUtf8(kObjectWindowCaption));
    const ObjectWindowSize size = ObjectWindowSizeFor(entryCount);
    setFixedSize(size.windowWidth, size.windowHeight);

    lblObjList = Named(new QLabel(this), "lblObjList");
    QFont labelFont = lblObjList->font();
    labelFont.setPixelSize(kLabelFontPixels);
    lblObjList->setFont(labelFont);
    lblObjList->setGeometry(kMargin, 8, size.gridWidth, kGridTop - 12);

    grdObjects = Named(new ObjectGrid(
                           list_.DataRowCount() + 1,
                           [this](int row, int column) { onCellSelected(row, column); }, this),
                       "grdObjects");
    grdObjects->setGeometry(kMargin, kGridTop, size.gridWidth, size.gridHeight);
    grdObjects->horizontalHeader()->hide();
    grdObjects->verticalHeader()->hide();
    grdObjects->verticalHeader()->setMinimumSectionSize(ObjectList::kRowHeight);
    grdObjects->verticalHeader()->setDefaultSectionSize(ObjectList::kRowHeight);
    grdObjects->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdObjects->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdObjects->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdObjects->setSelectionMode(QAbstractItemView::SingleSelection);
    grdObjects->setTabKeyNavigation(false);
    grdObjects->setFont(FixedPitchFont(kCellFontPoints));
    grdObjects->setItemDelegate(new ObjectCellDelegate(list_, grdObjects));
    for (int column = 0; column < ObjectList::kColumnCount; ++column)
        grdObjects->setColumnWidth(column,
                                   ObjectList::Columns()[static_cast<std::size_t>(column)].width);
    for (int row = 0; row < grdObjects->rowCount(); ++row) {
        for (int column = 0; column < ObjectList::kColumnCount; ++column) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            grdObjects->setItem(row, column, item);
        }
    }
    grdObjects->setCurrentCell(1, 0);

    btClose = Named(new QPushButton(FromUtf8(kObjectWindowCloseCaption), this), "btClose");
    btClose->setGeometry(size.CloseButtonLeft(kCloseButtonSize.width()),
                         kGridTop + size.gridHeight + 10, kCloseButtonSize.width(),
                         kCloseButtonSize.height());
    btClose->setAutoDefault(false);
    connect(btClose, &QPushButton::clicked, this, &QDialog::accept);
    RefreshGrid();
}

ObjectsWindow::~ObjectsWindow() = default;

TransmitterNumberDialog* ObjectsWindow::NumberDialog() const {
    return numberDialog_.data();
}

void ObjectsWindow::EditObjects(std::span<std::uint8_t> objects) {
    if (!list_.LoadEntries(objects))
        return;
    RefreshGrid();
    CentreOverMainWindow();
    grdObjects->setFocus();
    exec();
    list_.StoreEntries(objects);
}

void ObjectsWindow::LoadEntries(std::span<const std::uint8_t> source) {
    if (list_.LoadEntries(source))
        RefreshGrid();
}

void ObjectsWindow::StoreEntries(std::span<std::uint8_t> destination) const {
    list_.StoreEntries(destination);
}

void ObjectsWindow::done(int result) {
    delete numberDialog_.data();
    QDialog::done(result);
}

void ObjectsWindow::RefreshGrid() {
    for (int row = 0; row < grdObjects->rowCount(); ++row) {
        for (int column = 0; column < ObjectList::kColumnCount; ++column)
            grdObjects->item(row, column)
                ->setText(QString::fromStdString(list_.CellText(row, column)));
    }
    lblObjList->setText(QString::fromStdString(list_.CountLabelText()));
    grdObjects->viewport()->update();
}

void ObjectsWindow::onCellSelected(int row, int column) {
    if (ObjectList::SelectionMoves(row, column))
        grdObjects->setCurrentCell(row, column);
    const bool edited = list_.SelectCell(row, column, [&](const TransmitterEntry& entry) {
        return EditInDialog(row, column, entry);
    });
    if (edited)
        RefreshGrid();
}

// The dialog's corner goes to the cell's place in the grid, counted from this window's corner.
TransmitterEntry ObjectsWindow::EditInDialog(int row, int column, const TransmitterEntry& entry) {
    if (!numberDialog_)
        numberDialog_ = new TransmitterNumberDialog(this);
    const QRect cell = grdObjects->visualRect(grdObjects->model()->index(row, column));
    numberDialog_->move(pos() + cell.topLeft());
    return numberDialog_->EditNumber(entry);
}

void ObjectsWindow::CentreOverMainWindow() {
    const QWidget* owner = parentWidget();
    if (owner == nullptr)
        return;
    const QRect main = owner->window()->frameGeometry();
    move(main.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
}

} // namespace tesmira::ui
