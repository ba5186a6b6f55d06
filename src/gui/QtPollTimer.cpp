#include "gui/QtPollTimer.h"

#include <QThread>

namespace tesmira::ui {

QtPollTimer::QtPollTimer(QObject* parent) : QObject(parent), timer_(this) {
    connect(&timer_, &QTimer::timeout, this, &QtPollTimer::OnTimeout);
}

QtPollTimer::~QtPollTimer() {
    {
        std::lock_guard lock(stateMutex_);
        wanted_ = false;
    }
    timer_.stop();
}

bool QtPollTimer::OnOwnThread() const {
    return QThread::currentThread() == thread();
}

void QtPollTimer::Start(std::uint16_t periodMs, std::function<void()> tick) {
    {
        std::lock_guard lock(stateMutex_);
        wanted_ = true;
        period_ = periodMs;
        tick_ = std::move(tick);
    }
    if (OnOwnThread())
        Sync();
    else
        QMetaObject::invokeMethod(
            this, [this] { Sync(); }, Qt::QueuedConnection);
}

void QtPollTimer::Stop() {
    {
        std::lock_guard lock(stateMutex_);
        wanted_ = false; // from here on a timeout does nothing
    }
    if (OnOwnThread()) {
        Sync();
        return; // also inside a tick: nothing to wait for
    }
    QMetaObject::invokeMethod(
        this, [this] { Sync(); }, Qt::QueuedConnection);
    std::lock_guard wait(tickMutex_); // a tick already running ends first
}

void QtPollTimer::Sync() {
    bool wanted = false;
    int period = 0;
    {
        std::lock_guard lock(stateMutex_);
        wanted = wanted_;
        period = period_;
    }
    if (!wanted)
        timer_.stop();
    else if (!timer_.isActive() || timer_.interval() != period)
        timer_.start(period);
}

void QtPollTimer::OnTimeout() {
    std::lock_guard running(tickMutex_);
    std::function<void()> tick;
    {
        std::lock_guard lock(stateMutex_);
        if (!wanted_)
            return;
        tick = tick_;
    }
    if (tick)
        tick();
}

} // namespace tesmira::ui
