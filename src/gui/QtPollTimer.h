// The driver's poll timer in the program: a QTimer on its own thread, driven from any thread.
#pragma once

#include "link/PollTimer.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <mutex>

namespace tesmira::ui {

class QtPollTimer : public QObject, public PollTimer {
    Q_OBJECT

public:
    explicit QtPollTimer(QObject* parent = nullptr);
    ~QtPollTimer() override;

    // Any thread. The QTimer itself is started and stopped on this object's thread; ticks run
    // there too.
    void Start(std::uint16_t periodMs, std::function<void()> tick) override;
    void Stop() override;

    // Whether the QTimer runs now (this object's thread only).
    bool isTimerActive() const { return timer_.isActive(); }
    int interval() const { return timer_.interval(); }

private:
    void Sync(); // brings the QTimer in line with what was asked for
    void OnTimeout();
    bool OnOwnThread() const;

    QTimer timer_;
    std::mutex stateMutex_;
    bool wanted_ = false;
    std::uint16_t period_ = 0;
    std::function<void()> tick_;
    std::mutex tickMutex_; // held while a tick runs, so Stop can wait for it
};

} // namespace tesmira::ui
