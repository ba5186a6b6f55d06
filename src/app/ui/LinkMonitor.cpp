#include "app/ui/LinkMonitor.h"

#include "gui/Dialogs.h"
#include "link/LinkModule.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace tesmira::ui {

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// The whole frame, sixteen bytes a line.
QString WrappedHex(const std::vector<std::uint8_t>& bytes) {
    QStringList lines;
    for (std::size_t at = 0; at < bytes.size(); at += LinkMonitorModel::kFoldedBytes) {
        const std::size_t n = std::min(LinkMonitorModel::kFoldedBytes, bytes.size() - at);
        lines << Text(HexText(std::span(bytes).subspan(at, n)));
    }
    return lines.join(QLatin1Char('\n'));
}

QString FoldedHex(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() <= LinkMonitorModel::kFoldedBytes)
        return Text(HexText(bytes));
    return Text(HexText(std::span(bytes).first(LinkMonitorModel::kFoldedBytes))) +
           QStringLiteral(" … (ещё %1 байт)").arg(bytes.size() - LinkMonitorModel::kFoldedBytes);
}

bool IsNote(const TraceRow& row) {
    return row.kind == RowKind::Hint || row.kind == RowKind::Dropped;
}

} // namespace

int LinkMonitorModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int LinkMonitorModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant LinkMonitorModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const TraceRow& row = Row(index.row());
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case Time:
            return QString::number(row.timeMs);
        case Direction:
            return Text(DirectionText(row.direction));
        case Length:
            return IsNote(row) ? QString() : QString::number(row.bytes.size());
        case What:
            return Text(DescribeRow(row));
        case Crc:
            return Text(CrcText(row.crc));
        case Bytes:
            return FoldedHex(row.bytes);
        default:
            return {};
        }
    case Qt::ToolTipRole:
        if (index.column() == Bytes && !row.bytes.empty())
            return WrappedHex(row.bytes);
        if (index.column() == What)
            return Text(DescribeRow(row));
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == Time || index.column() == Length)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case Qt::ForegroundRole:
        if (row.kind == RowKind::Hint || row.crc == CrcCheck::Bad ||
            row.kind == RowKind::Fragment || row.kind == RowKind::ExtraBytes)
            return QColor(Qt::red);
        return {};
    default:
        return {};
    }
}

QVariant LinkMonitorModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Time:
        return QStringLiteral("Время, мс");
    case Direction:
        return QStringLiteral("Направление");
    case Length:
        return QStringLiteral("Длина");
    case What:
        return QStringLiteral("Что");
    case Crc:
        return QStringLiteral("CRC");
    case Bytes:
        return QStringLiteral("Байты");
    default:
        return {};
    }
}

void LinkMonitorModel::Append(std::vector<TraceRow> rows) {
    if (rows.empty())
        return;
    if (rows.size() > static_cast<std::size_t>(kMaxRows))
        rows.erase(rows.begin(), rows.end() - kMaxRows);
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    rows_.insert(rows_.end(), std::make_move_iterator(rows.begin()),
                 std::make_move_iterator(rows.end()));
    endInsertRows();
    const int excess = rowCount() - kMaxRows;
    if (excess > 0) {
        beginRemoveRows({}, 0, excess - 1);
        rows_.erase(rows_.begin(), rows_.begin() + excess);
        endRemoveRows();
    }
}

void LinkMonitorModel::Clear() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

QString LinkMonitorModel::TraceLine(int row) const {
    return Text(FormatTraceLine(Row(row)));
}

LinkMonitor::LinkMonitor(LinkModule& link, QWidget* parent) : QWidget(parent), link_(link) {
    setObjectName(QStringLiteral("LinkMonitor"));
    auto* tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("tbMonitor"));
    actClearMonitor = tools->addAction(QStringLiteral("Очистить"), this, &LinkMonitor::clear);
    actClearMonitor->setObjectName(QStringLiteral("actClearMonitor"));
    actCopyMonitor = tools->addAction(QStringLiteral("Копировать"), this, &LinkMonitor::copy);
    actCopyMonitor->setObjectName(QStringLiteral("actCopyMonitor"));
    actSaveMonitor = tools->addAction(QStringLiteral("Сохранить..."), this,
                                      [this] { Dialogs::guarded(this, [this] { save(); }); });
    actSaveMonitor->setObjectName(QStringLiteral("actSaveMonitor"));

    grdMonitor = new QTableView(this);
    grdMonitor->setObjectName(QStringLiteral("grdMonitor"));
    grdMonitor->setModel(&model_);
    grdMonitor->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdMonitor->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grdMonitor->setWordWrap(false);
    grdMonitor->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdMonitor->verticalHeader()->hide();
    // Fixed row heights: a view of thousands of rows then never measures them.
    grdMonitor->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdMonitor->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    grdMonitor->horizontalHeader()->setStretchLastSection(true);
    grdMonitor->horizontalHeader()->resizeSection(LinkMonitorModel::What, 280);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(grdMonitor);

    timer_.setInterval(kTakeIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &LinkMonitor::TakeFromTap);
}

LinkMonitor::~LinkMonitor() {
    link_.tap.Listen(false);
}

void LinkMonitor::SetListening(bool on) {
    if (on == listening())
        return;
    if (on) {
        link_.tap.Listen(true);
        timer_.start();
        return;
    }
    TakeFromTap(); // what came before the monitor closed
    std::vector<TraceRow> rows;
    decoder_.Finish(rows);
    model_.Append(std::move(rows));
    timer_.stop();
    link_.tap.Listen(false);
}

void LinkMonitor::TakeFromTap() {
    std::vector<TraceRow> rows;
    decoder_.Feed(link_.tap.Take(), rows);
    if (rows.empty())
        return;
    // The view follows the end unless the user has scrolled up.
    QScrollBar* bar = grdMonitor->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    model_.Append(std::move(rows));
    if (atEnd)
        grdMonitor->scrollToBottom();
}

void LinkMonitor::clear() {
    model_.Clear();
}

void LinkMonitor::copy() {
    QModelIndexList selected = grdMonitor->selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end());
    QStringList lines;
    if (selected.isEmpty()) {
        for (int row = 0; row < model_.rowCount(); ++row)
            lines << model_.TraceLine(row);
    } else {
        for (const QModelIndex& index : selected)
            lines << model_.TraceLine(index.row());
    }
    QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

void LinkMonitor::save() {
    const QString name =
        Dialogs::saveFileName(this, QStringLiteral("Сохранить журнал обмена"), QDir::currentPath(),
                              QStringLiteral("Текстовый файл (*.txt)"));
    if (name.isEmpty())
        return;
    QByteArray text;
    for (int row = 0; row < model_.rowCount(); ++row)
        text += model_.TraceLine(row).toUtf8() + '\n';
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size() ||
        !file.flush())
        throw std::runtime_error(
            QStringLiteral("Не удалось записать файл %1").arg(name).toStdString());
}

} // namespace tesmira::ui
