// Writing a type 26 record through the real link module, serial driver and pseudo-terminal to the
// device simulator, and what the editor reports when the device is silent, the port cannot be
// opened, or another exchange holds the link.
#include "editors/ui/TwoLoopEditor.h"
#include "support/LinkFakes.h"
#include "support/ui/FakeEditor.h"
#include "support/ui/FormDriver.h"
#include "support/ui/LinkFixture.h"
#include "support/ui/UiTestSupport.h"
#include "support/ui/WidgetTestMain.h"
#include "tools/DevsimProcess.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

using tesmira::ExchangeMode;
using tesmira::ExchangeReport;
using tesmira::test::Bytes;
using tesmira::test::DevsimProcess;
using tesmira::test::LinkFixture;
using tesmira::test::RecordingReceiver;
using tesmira::test::waitUntil;
using tesmira::ui::EditorReport;
using tesmira::ui::TwoLoopEditor;

using tesmira::test::FindControl;

namespace {

constexpr int kReportWaitMs = 30000; // a silent device is given up after 10 s

struct Editor {
    LinkFixture fixture;
    RecordingReceiver receiver;
    TwoLoopEditor form{fixture.link, 26};

    explicit Editor(const std::string& portPath,
                    tesmira::LinkClock& clock = tesmira::SystemLinkClock())
        : fixture(clock) {
        fixture.link.port.SetPortName(portPath);
        form.MainWindowHandle = &receiver;
    }

    bool WriteAndWait(int reports) {
        form.WriteToDevice();
        return waitUntil([&] { return receiver.reports.size() >= reports; }, kReportWaitMs);
    }
};

struct NoReports : tesmira::ExchangeReportTarget {
    void Report(ExchangeReport, int, bool) override {}
};

} // namespace

class TestTwoLoopWrite : public QObject {
    Q_OBJECT

private slots:
    void writtenRecordsReachTheDevice() {
        tesmira::test::TempDir dir;
        DevsimProcess sim({"--type", "26", "--save", (dir / "saved.bcf").string()});
        QVERIFY(sim.running());
        Editor editor(sim.slavePath());
        TwoLoopEditor& form = editor.form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QVERIFY(tesmira::test::PickByKeys(FindControl<QComboBox>(form, "bxTxLetter"), "5"));
        QVERIFY(
            tesmira::test::PickByKeys(FindControl<QComboBox>(form, "cbbLoopType1"), "Охранный"));
        tesmira::test::ClickCheckBox(FindControl<QCheckBox>(form, "chkExpBox7"));
        // The caret stays in the edit: the write commits it.
        tesmira::test::TypeInto(FindControl<QLineEdit>(form, "edtRetDelIn"), "45", false);
        QVERIFY(editor.WriteAndWait(1));
        QCOMPARE(editor.receiver.reports[0].code, EditorReport::Written);
        QCOMPARE(editor.receiver.reports[0].sender, &form);

        // Again at once, while the first exchange may still be closing the port.
        tesmira::test::ClickCheckBox(FindControl<QCheckBox>(form, "chkGuardSnd"));
        QVERIFY(editor.WriteAndWait(2));
        QCOMPARE(editor.receiver.reports[1].code, EditorReport::Written);
        QVERIFY(waitUntil([&] { return !editor.fixture.link.ExchangeRunning(); }));

        QCOMPARE(sim.Stop(), std::optional<int>(0));
        QCOMPARE(tesmira::test::ReadFile((dir / "saved.bcf").string()),
                 Bytes({0x01, 0x00, 0x1A, 0x00, 0x0D, 0x05, 0x08, 0x05, 0x02, 0x05, 0x14, 0x07,
                        0x65, 0x3C, 0x2D, 0x80, 0x01, 0x01, 0x3C}));
        QCOMPARE(editor.receiver.reports.size(), 2);
    }

    void aSilentDeviceEndsInNoLinkWithTheRecordKept() {
        DevsimProcess sim({"--type", "26", "--silent"});
        QVERIFY(sim.running());
        tesmira::test::FastSleepClock clock(tesmira::test::FastSleepClock::kSilentSpeedUp);
        Editor editor(sim.slavePath(), clock);
        const auto before = editor.form.RecordBytes();
        QVERIFY(editor.WriteAndWait(1));
        QCOMPARE(editor.receiver.reports[0].code, EditorReport::NoLink);
        QVERIFY(editor.form.RecordBytes() == before);
    }

    void aPortThatCannotBeOpenedEndsInPortFailed() {
        Editor editor("/nonexistent/tty-tesmira");
        QVERIFY(editor.WriteAndWait(1));
        QCOMPARE(editor.receiver.reports[0].code, EditorReport::PortFailed);
    }

    // Another exchange may be sending from the transmit buffer; the write must not overwrite it
    // and must still give the main window its report.
    void aWriteWhileAnotherExchangeRunsLeavesTheLinkAlone() {
        DevsimProcess sim({"--type", "26", "--silent"});
        QVERIFY(sim.running());
        Editor editor(sim.slavePath());
        QVERIFY(
            editor.fixture.link.StartExchange(ExchangeMode::Read, std::make_shared<NoReports>()));
        // Once the read has put its request in the buffer, the write must leave it there.
        const auto tx = editor.fixture.link.TransmitBuffer();
        QVERIFY(QTest::qWaitFor([&] { return tx[9] == 0xE3; }));
        QVERIFY(editor.WriteAndWait(1));
        QCOMPARE(editor.receiver.reports[0].code, EditorReport::NoLink);
        QVERIFY(editor.fixture.link.ExchangeRunning());
        QCOMPARE(Bytes(tx.begin(), tx.begin() + 19),
                 Bytes({0x7E, 0x0A, 0x52, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE3, 0x00, 0x00,
                        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}));
    }
};

TESMIRA_WIDGET_TEST(TestTwoLoopWrite)
#include "e2e_two_loop_write.moc"
