// Carries an exchange's reports to a window's thread; synchronous ones wait, progress is queued.
#pragma once

#include "link/Exchange.h"

#include <QObject>
#include <QPointer>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace tesmira::ui {

class ReportBridge : public QObject, public ExchangeReportTarget {
    Q_OBJECT

public:
    using Handler = std::function<void(ExchangeReport code, int arg)>;

    // Call on the receiver's thread. Reports are handed to `handler` on that thread while
    // `receiver` lives; once it is destroyed they are dropped. The exchange keeps the bridge
    // alive as long as it needs it; the last owner's release deletes it on its own thread.
    static std::shared_ptr<ReportBridge> create(QObject* receiver, Handler handler);

    // Exchange thread. A synchronous report returns once handled, or once the bridge is shut
    // down. On the bridge's own thread a report is handled at once.
    void Report(ExchangeReport code, int arg, bool posted) override;
    void AbandonReports() override { shutdown(); }

    // Any thread. Pending and later reports are not delivered; a synchronous report that waits
    // returns at once. For program exit, when the window's thread waits for the exchange.
    void shutdown();
    bool isShutDown() const;

private:
    ReportBridge(QObject* receiver, Handler handler);
    void Deliver(ExchangeReport code, int arg);

    QPointer<QObject> receiver_; // used on the bridge's thread only
    Handler handler_;
    mutable std::mutex mutex_;
    std::condition_variable handled_;
    bool shutDown_ = false;
};

} // namespace tesmira::ui
