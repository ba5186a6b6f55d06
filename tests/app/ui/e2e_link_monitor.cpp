// The link monitor in the main window against the simulator: the rows of a read, the hint of a
// silent device in the monitor and the status bar, saving, and the dock's state kept.
#include "app/ui/LinkMonitor.h"
#include "link/FailureHint.h"
#include "support/LinkFakes.h"
#include "support/ui/MainWindowRig.h"
#include "support/ui/WidgetTestMain.h"
#include "tools/DevsimProcess.h"

#include <QDockWidget>
#include <QFile>
#include <QTest>

using namespace tesmira;
using namespace tesmira::test;
using tesmira::ui::LinkMonitor;
using tesmira::ui::LinkMonitorModel;
using tesmira::ui::MainWindow;

namespace {

// The columns of a row after its time: direction, length, what it is, CRC, bytes as shown.
QStringList RowText(LinkMonitorModel& model, int row) {
    QStringList cells;
    for (int column = LinkMonitorModel::Direction; column < LinkMonitorModel::ColumnCount; ++column)
        cells << model.data(model.index(row, column)).toString();
    return cells;
}

// Opens the monitor, reads, and waits until the monitor has taken `rows` rows.
bool ReadWithMonitor(MainWindowRig& rig, const std::string& port, int rows) {
    rig.window().actLinkMonitor->trigger();
    LinkMonitor& monitor = *rig.window().linkMonitor();
    return monitor.listening() && rig.Read(port) &&
           waitUntil([&] { return monitor.model().rowCount() >= rows; });
}

} // namespace

class TestLinkMonitor : public QObject {
    Q_OBJECT
private slots:

    void aReadShowsItsRequestAndReplyAndSavesThemAsLines() {
        DevsimProcess sim({"--type", "26", "--version", "9"});
        MainWindowRig rig;
        QVERIFY(ReadWithMonitor(rig, sim.slavePath(), 2));
        LinkMonitorModel& model = rig.window().linkMonitor()->model();
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(RowText(model, 0), (QStringList{"→ прибор", "10", "запрос чтения", "верна",
                                                 "7E 0A 52 01 00 00 00 00 00 E3"}));
        QCOMPARE(RowText(model, 1),
                 (QStringList{"← прибор", "19", "ответ прибора: тип 26, версия 9", "верна",
                              "7E 13 52 1A 09 01 08 05 02 03 04 07 65 3C 1E 00 … (ещё 3 байт)"}));
        QCOMPARE(model.data(model.index(1, LinkMonitorModel::Bytes), Qt::ToolTipRole).toString(),
                 QStringLiteral("7E 13 52 1A 09 01 08 05 02 03 04 07 65 3C 1E 00\n00 01 F1"));
        QVERIFY(rig.window().status().hint().isEmpty());

        TempDir dir;
        const QString file = QString::fromStdString((dir / "trace.txt").string());
        ui::Dialogs::setNextFileName(file);
        rig.window().linkMonitor()->actSaveMonitor->trigger();
        QFile saved(file);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(saved.readAll()).split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 3); // two lines, each ended
        QVERIFY(lines[2].isEmpty());
        QCOMPARE(lines[0], model.TraceLine(0));
        QCOMPARE(lines[1].section(QLatin1Char('\t'), 1),
                 QStringLiteral("← прибор\t19\tответ прибора: тип 26, версия 9\tверна\t7E 13 52 "
                                "1A 09 01 08 05 02 03 04 07 65 3C 1E 00 00 01 F1"));
    }

    void aSilentDeviceGetsTheNoAnswerHintInTheMonitorAndTheStatusBar() {
        DevsimProcess sim({"--type", "30", "--silent"});
        FastSleepClock clock(FastSleepClock::kSilentSpeedUp);
        MainWindowRig rig(clock);
        QVERIFY(ReadWithMonitor(rig, sim.slavePath(), 2));
        LinkMonitorModel& model = rig.window().linkMonitor()->model();
        const QString hint =
            QString::fromUtf8(kNoAnswerHint.data(), static_cast<qsizetype>(kNoAnswerHint.size()));
        QCOMPARE(model.data(model.index(1, LinkMonitorModel::What)).toString(), hint);
        QCOMPARE(rig.window().status().text(),
                 QStringLiteral("Нет связи, проверьте соединения или номер порта"));
        QCOMPARE(rig.window().status().hint(), hint);
    }

    void theDockIsOpenAgainInTheNextWindow() {
        MainWindowRig rig;
        QVERIFY(rig.window().dockLinkMonitor->isHidden());
        QVERIFY(!rig.window().linkMonitor()->listening());
        rig.window().actLinkMonitor->trigger();
        QVERIFY(!rig.window().dockLinkMonitor->isHidden());
        {
            MainWindow next(rig.link(), rig.editors());
            QVERIFY(!next.dockLinkMonitor->isHidden());
            QVERIFY(next.linkMonitor()->listening());
            next.actLinkMonitor->trigger(); // closed there
        }
        MainWindow last(rig.link(), rig.editors());
        QVERIFY(last.dockLinkMonitor->isHidden());
    }
};

TESMIRA_WIDGET_TEST(TestLinkMonitor)
#include "e2e_link_monitor.moc"
