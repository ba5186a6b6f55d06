// The driver's poll timer in the program: ticks on its own thread whoever starts it, and a Stop
// from another thread that leaves no tick behind.
#include "gui/QtPollTimer.h"
#include "link/SerialPort.h"
#include "support/PtyPair.h"
#include "support/ui/UiTestSupport.h"
#include "support/ui/WidgetTestMain.h"

#include <QTest>
#include <QThread>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

using tesmira::test::waitUntil;
using tesmira::ui::QtPollTimer;
using namespace std::chrono_literals;

class TestQtPollTimer : public QObject {
    Q_OBJECT

private slots:
    void ticksRunOnTheTimersThreadWhenStartedFromAnother() {
        QtPollTimer timer;
        std::atomic<int> ticks{0};
        std::atomic<bool> wrongThread{false};
        QThread* const ui = QThread::currentThread();
        std::thread([&] {
            timer.Start(5, [&] {
                wrongThread = wrongThread || QThread::currentThread() != ui;
                ++ticks;
            });
        }).join();
        QVERIFY(waitUntil([&] { return ticks >= 3; }));
        QVERIFY(!wrongThread);
        QVERIFY(timer.isTimerActive());
        QCOMPARE(timer.interval(), 5);
    }

    void noTickAfterAStopFromAnotherThread() {
        QtPollTimer timer;
        std::atomic<int> ticks{0};
        timer.Start(5, [&] { ++ticks; });
        QVERIFY(waitUntil([&] { return ticks >= 2; }));
        std::thread([&] { timer.Stop(); }).join();
        const int atStop = ticks;
        QTest::qWait(100);
        QCOMPARE(ticks.load(), atStop);
        QVERIFY(!timer.isTimerActive());
    }

    void aStopWaitsForTheTickThatRuns() {
        QtPollTimer timer;
        std::atomic<bool> inTick{false};
        std::atomic<bool> stopStarted{false};
        std::atomic<bool> tickWasRunningAfterStop{false};
        timer.Start(5, [&] {
            inTick = true;
            while (!stopStarted)
                QThread::msleep(1);
            QThread::msleep(80); // Stop must wait for this
            inTick = false;
        });
        std::thread worker([&] {
            while (!inTick)
                std::this_thread::sleep_for(1ms);
            stopStarted = true;
            timer.Stop();
            tickWasRunningAfterStop = inTick.load();
        });
        QVERIFY(waitUntil([&] { return stopStarted.load(); }));
        worker.join();
        QVERIFY(!tickWasRunningAfterStop);
    }

    void aTickMayStopAndRestartItsOwnTimer() {
        QtPollTimer timer;
        std::atomic<int> ticks{0};
        timer.Start(5, [&] {
            ++ticks;
            timer.Stop(); // from inside a tick: returns at once
        });
        QVERIFY(waitUntil([&] { return ticks == 1; }));
        QTest::qWait(50);
        QCOMPARE(ticks.load(), 1);
        timer.Start(7, [&] { ++ticks; });
        QCOMPARE(timer.interval(), 7);
        QVERIFY(waitUntil([&] { return ticks >= 3; }));
    }

    void theDriverPollsOnTheUiThreadWhileAnotherThreadOpensIt() {
        tesmira::test::PtyPair pty;
        QVERIFY(pty.ok());
        QtPollTimer timer;
        tesmira::SerialPort port(timer);
        port.SetPortName(pty.slavePath());
        port.SetPollPeriodMs(10);
        std::mutex mutex;
        tesmira::test::Bytes got;
        std::atomic<bool> wrongThread{false};
        QThread* const ui = QThread::currentThread();
        port.SetReceiveHandler([&](tesmira::SerialPort&, const std::uint8_t* d, std::size_t n) {
            wrongThread = wrongThread || QThread::currentThread() != ui;
            std::lock_guard lock(mutex);
            got.insert(got.end(), d, d + n);
        });
        bool opened = false;
        std::thread([&] { opened = port.Connect(); }).join();
        QVERIFY(opened);
        pty.Write({0x7E, 0x05, 0x01, 0x02, 0x03});
        QVERIFY(waitUntil([&] {
            std::lock_guard lock(mutex);
            return got.size() >= 5;
        }));
        std::thread([&] { port.Disconnect(); }).join();
        QVERIFY(!wrongThread);
        QCOMPARE(got, (tesmira::test::Bytes{0x7E, 0x05, 0x01, 0x02, 0x03}));
        QVERIFY(waitUntil([&] { return !timer.isTimerActive(); }));
    }
};

TESMIRA_WIDGET_TEST(TestQtPollTimer)
#include "tst_qt_poll_timer.moc"
