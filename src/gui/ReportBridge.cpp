#include "gui/ReportBridge.h"

#include <QThread>

namespace tesmira::ui {

std::shared_ptr<ReportBridge> ReportBridge::create(QObject* receiver, Handler handler) {
    // deleteLater: the last reference may go on the exchange thread, while a report for the
    // bridge may still wait in its thread's queue.
    return std::shared_ptr<ReportBridge>(new ReportBridge(receiver, std::move(handler)),
                                         [](ReportBridge* bridge) { bridge->deleteLater(); });
}

ReportBridge::ReportBridge(QObject* receiver, Handler handler)
    : receiver_(receiver), handler_(std::move(handler)) {}

void ReportBridge::shutdown() {
    {
        std::lock_guard lock(mutex_);
        shutDown_ = true;
    }
    handled_.notify_all();
}

bool ReportBridge::isShutDown() const {
    std::lock_guard lock(mutex_);
    return shutDown_;
}

void ReportBridge::Deliver(ExchangeReport code, int arg) {
    if (isShutDown() || !receiver_ || !handler_)
        return;
    handler_(code, arg);
}

void ReportBridge::Report(ExchangeReport code, int arg, bool posted) {
    if (QThread::currentThread() == thread()) {
        Deliver(code, arg);
        return;
    }
    if (posted) {
        if (!isShutDown())
            QMetaObject::invokeMethod(
                this, [this, code, arg] { Deliver(code, arg); }, Qt::QueuedConnection);
        return;
    }
    // The flag outlives this call: the queued call may run after a shutdown released us.
    auto done = std::make_shared<bool>(false);
    std::unique_lock lock(mutex_);
    if (shutDown_)
        return;
    QMetaObject::invokeMethod(
        this,
        [this, code, arg, done] {
            Deliver(code, arg);
            {
                std::lock_guard handledLock(mutex_);
                *done = true;
            }
            handled_.notify_all();
        },
        Qt::QueuedConnection);
    handled_.wait(lock, [&] { return *done || shutDown_; });
}

} // namespace tesmira::ui
