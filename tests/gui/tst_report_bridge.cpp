// Reports of an exchange delivered on the window's thread: order, waiting, queuing, shutdown,
// and a window that is gone first.
#include "gui/QtPollTimer.h"
#include "gui/ReportBridge.h"
#include "link/LinkModule.h"
#include "support/LinkFrames.h"
#include "support/LinkPeers.h"
#include "support/ui/UiTestSupport.h"
#include "support/ui/WidgetTestMain.h"

#include <QTest>
#include <QThread>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

using tesmira::ExchangeMode;
using tesmira::ExchangeReport;
using tesmira::test::waitUntil;
using tesmira::ui::ReportBridge;
using namespace std::chrono_literals;

namespace {

struct Delivered {
    ExchangeReport code;
    int arg;
    bool onUiThread;
    bool operator==(const Delivered&) const = default;
};

struct Window {
    QObject object;
    std::vector<Delivered> got;
    std::shared_ptr<ReportBridge> bridge;

    Window() {
        QThread* const ui = QThread::currentThread();
        bridge = ReportBridge::create(&object, [this, ui](ExchangeReport code, int arg) {
            got.push_back({code, arg, QThread::currentThread() == ui});
        });
    }
};

} // namespace

class TestReportBridge : public QObject {
    Q_OBJECT

private slots:
    void reportsArriveOnTheUiThreadInOrder() {
        Window window;
        std::thread worker([bridge = window.bridge] {
            bridge->Report(ExchangeReport::PortOpened, 0, false);
            bridge->Report(ExchangeReport::FirmwareProgress, 0, true);
            bridge->Report(ExchangeReport::FirmwareProgress, 10, true);
            bridge->Report(ExchangeReport::FirmwareProgress, 100, false);
        });
        QVERIFY(waitUntil([&] { return window.got.size() == 4; }));
        worker.join();
        const std::vector<Delivered> expected = {{ExchangeReport::PortOpened, 0, true},
                                                 {ExchangeReport::FirmwareProgress, 0, true},
                                                 {ExchangeReport::FirmwareProgress, 10, true},
                                                 {ExchangeReport::FirmwareProgress, 100, true}};
        QVERIFY(window.got == expected);
    }

    void aSynchronousReportHasRunWhenTheWorkerGoesOn() {
        Window window;
        std::atomic<bool> returned{false};
        std::atomic<bool> handledBeforeReturn{false};
        std::thread worker([&] {
            window.bridge->Report(ExchangeReport::ReplyStarted, 0, false);
            handledBeforeReturn = window.got.size() == 1;
            returned = true;
        });
        QThread::msleep(100); // no events processed: the worker must still wait
        QVERIFY(!returned);
        QVERIFY(waitUntil([&] { return returned.load(); }));
        worker.join();
        QVERIFY(handledBeforeReturn);
    }

    void progressIsQueuedAndTheWorkerGoesOnAtOnce() {
        Window window;
        std::thread([&] {
            window.bridge->Report(ExchangeReport::FirmwareProgress, 42, true);
        }).join(); // returns without the UI thread processing anything
        QVERIFY(window.got.empty());
        QVERIFY(waitUntil([&] { return window.got.size() == 1; }));
        QCOMPARE(window.got[0].arg, 42);
    }

    void shutdownReleasesABlockedWorkerAndDeliversNothingMore() {
        Window window;
        std::atomic<bool> returned{false};
        std::thread worker([&] {
            window.bridge->Report(ExchangeReport::Identified, 26, false);
            returned = true;
        });
        QThread::msleep(50);
        QVERIFY(!returned);
        window.bridge->shutdown(); // the UI thread is about to wait for the exchange
        worker.join();
        QVERIFY(returned);
        std::thread([&] {
            window.bridge->Report(ExchangeReport::NoValidReply, 0, false);
            window.bridge->Report(ExchangeReport::FirmwareProgress, 2, true);
        }).join();
        QTest::qWait(50);
        QVERIFY(window.got.empty());
    }

    void aWindowDestroyedFirstGetsNothingAndBlocksNobody() {
        auto receiver = std::make_unique<QObject>();
        std::atomic<int> handled{0};
        auto bridge = ReportBridge::create(receiver.get(), [&](ExchangeReport, int) { ++handled; });
        receiver.reset(); // the window is gone; the exchange still holds the bridge
        std::atomic<bool> returned{false};
        std::thread worker([&] {
            bridge->Report(ExchangeReport::FirmwareProgress, 4, true);
            bridge->Report(ExchangeReport::Written, 0, false);
            returned = true;
        });
        QVERIFY(waitUntil([&] { return returned.load(); }));
        worker.join();
        QTest::qWait(20);
        QCOMPARE(handled.load(), 0);
    }

    void aReadExchangeReportsThroughTheBridge() {
        tesmira::test::PtyPair pty;
        tesmira::ui::QtPollTimer timer;
        tesmira::LinkModule link(timer);
        link.port.SetPortName(pty.slavePath());
        tesmira::test::PeerThread device(pty, {{10, 0, tesmira::test::kReply26}});
        Window window;
        int typeInBuffer = -1;
        window.bridge = ReportBridge::create(&window.object, [&](ExchangeReport code, int arg) {
            window.got.push_back({code, arg, true});
            if (code == ExchangeReport::Identified) // the reply is there while the thread waits
                typeInBuffer = link.ReceiveBuffer()[3];
        });
        QVERIFY(link.StartExchange(ExchangeMode::Read, window.bridge));
        QVERIFY(waitUntil([&] { return window.got.size() == 3; }));
        QVERIFY(waitUntil([&] { return !link.ExchangeRunning(); }));
        QCOMPARE(window.got[0].code, ExchangeReport::PortOpened);
        QCOMPARE(window.got[1].code, ExchangeReport::ReplyStarted);
        QCOMPARE(window.got[2].code, ExchangeReport::Identified);
        QCOMPARE(window.got[2].arg, 26);
        QCOMPARE(typeInBuffer, 26);
    }

    void exitWhileAnExchangeWaitsNeitherHangsNorCrashes() {
        tesmira::test::PtyPair pty;
        tesmira::ui::QtPollTimer timer;
        auto link = std::make_unique<tesmira::LinkModule>(timer);
        link->port.SetPortName(pty.slavePath());
        Window window;
        QVERIFY(link->StartExchange(ExchangeMode::Read, window.bridge));
        QVERIFY(waitUntil([&] { return window.got.size() == 1; })); // port opened
        QElapsedTimer took;
        took.start();
        link.reset(); // what Exit does: the module ends with the exchange in its 10 s wait
        QVERIFY(took.elapsed() < 2000);
        QTest::qWait(20);
        QCOMPARE(window.got.size(), std::size_t{1});
    }
};

TESMIRA_WIDGET_TEST(TestReportBridge)
#include "tst_report_bridge.moc"
