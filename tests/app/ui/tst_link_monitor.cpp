// The link monitor's own rules: the last 10,000 rows kept, whole frames copied, the view following
// the end unless the user has scrolled up.
#include "app/ui/LinkMonitor.h"
#include "support/HexBytes.h"
#include "support/ui/LinkFixture.h"
#include "support/ui/WidgetTestMain.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

using namespace tesmira;
using namespace tesmira::test;
using tesmira::ui::LinkMonitor;
using tesmira::ui::LinkMonitorModel;

namespace {

std::vector<TraceRow> Rows(std::size_t count, std::uint64_t firstTime) {
    std::vector<TraceRow> rows(count);
    for (std::size_t i = 0; i < count; ++i) {
        rows[i].timeMs = firstTime + i;
        rows[i].bytes = {0x11};
        rows[i].kind = RowKind::LoaderAnswer;
    }
    return rows;
}

// A reply of type 30 as the device sends it, in one chunk.
void DeviceSendsAReply(LinkModule& link) {
    const std::vector<std::uint8_t> reply = Hex("7E 07 52 1E 09 00 21");
    link.tap.RecordBytes(TapEventKind::Received, 0, reply.data(), reply.size());
}

} // namespace

class TestLinkMonitorRules : public QObject {
    Q_OBJECT
private slots:

    void onlyTheLastTenThousandRowsAreKept() {
        LinkMonitorModel model;
        model.Append(Rows(9999, 0));
        model.Append(Rows(3, 9999));
        QCOMPARE(model.rowCount(), 10000);
        QCOMPARE(model.Row(0).timeMs, std::uint64_t(2));
        QCOMPARE(model.Row(9999).timeMs, std::uint64_t(10001));
        model.Append(Rows(10005, 20000)); // a batch longer than the bound on its own
        QCOMPARE(model.rowCount(), 10000);
        QCOMPARE(model.Row(0).timeMs, std::uint64_t(20005));
    }

    void copyingGivesTheWholeFramesOfTheSelectedRowsInOrder() {
        LinkFixture fixture;
        LinkMonitor monitor(fixture.link);
        TraceRow big;
        big.direction = LinkDirection::ToDevice;
        big.kind = RowKind::FirmwareBlock;
        big.block = 1;
        big.bytes = Hex("00 12 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11 12");
        std::vector<TraceRow> rows = Rows(2, 7);
        rows.insert(rows.begin(), big);
        monitor.model().Append(rows);
        monitor.grdMonitor->selectRow(2);
        monitor.grdMonitor->selectionModel()->select(
            monitor.model().index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        monitor.actCopyMonitor->trigger();
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("0\t→ прибор\t20\tблок прошивки 1\t\t00 12 01 02 03 04 05 06 07 "
                                "08 09 0A 0B 0C 0D 0E 0F 10 11 12\n"
                                "8\t\t1\tответ загрузчика 11: блок принят\t\t11"));
    }

    void theViewFollowsTheEndUnlessScrolledUp() {
        LinkFixture fixture;
        LinkMonitor monitor(fixture.link);
        monitor.resize(600, 200);
        monitor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&monitor));
        monitor.SetListening(true);
        for (int i = 0; i < 50; ++i)
            DeviceSendsAReply(fixture.link);
        monitor.TakeFromTap();
        QScrollBar* bar = monitor.grdMonitor->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), bar->maximum());
        bar->setValue(0);
        DeviceSendsAReply(fixture.link);
        monitor.TakeFromTap();
        QCOMPARE(monitor.model().rowCount(), 51);
        QCOMPARE(bar->value(), 0);
        bar->setValue(bar->maximum());
        DeviceSendsAReply(fixture.link);
        monitor.TakeFromTap();
        QCOMPARE(bar->value(), bar->maximum());
    }
};

TESMIRA_WIDGET_TEST(TestLinkMonitorRules)
#include "tst_link_monitor.moc"
