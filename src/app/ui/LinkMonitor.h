// The link monitor: every frame on the line, decoded, one row each, in a dock of the main window.
#pragma once

#include "link/FrameDecoder.h"

#include <QAbstractTableModel>
#include <QTimer>
#include <QWidget>

#include <deque>

class QAction;
class QTableView;

namespace tesmira {
class LinkModule;
}

namespace tesmira::ui {

// The rows, appended in batches; the oldest go once there are more than kMaxRows.
class LinkMonitorModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kMaxRows = 10000;
    // Bytes shown in the row; the whole frame is in the tooltip and in what is copied.
    static constexpr std::size_t kFoldedBytes = 16;
    enum Column { Time, Direction, Length, What, Crc, Bytes, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void Append(std::vector<TraceRow> rows);
    void Clear();
    const TraceRow& Row(int row) const { return rows_[static_cast<std::size_t>(row)]; }
    // The row as a line of the trace.
    QString TraceLine(int row) const;

private:
    std::deque<TraceRow> rows_;
};

class LinkMonitor : public QWidget {
    Q_OBJECT
public:
    // How often what the tap queued is taken while the monitor listens.
    static constexpr int kTakeIntervalMs = 50;

    // `link` must outlive the monitor.
    explicit LinkMonitor(LinkModule& link, QWidget* parent = nullptr);
    ~LinkMonitor() override;

    // Listening costs the exchange a copy of every chunk; the monitor listens only while open.
    void SetListening(bool on);
    bool listening() const { return timer_.isActive(); }
    // Takes what the tap holds now (the timer's work; tests call it).
    void TakeFromTap();

    LinkMonitorModel& model() { return model_; }
    QTableView* grdMonitor = nullptr;
    QAction* actClearMonitor = nullptr; // "Очистить"
    QAction* actCopyMonitor = nullptr;  // "Копировать"
    QAction* actSaveMonitor = nullptr;  // "Сохранить..."

public slots:
    void clear();
    // The selected rows (all when none is selected) as trace lines to the clipboard.
    void copy();
    // Every row as a trace line into a text file.
    void save();

private:
    LinkModule& link_;
    FrameDecoder decoder_;
    LinkMonitorModel model_;
    QTimer timer_;
};

} // namespace tesmira::ui
