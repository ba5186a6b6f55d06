// "Сравнить с прибором" through the real serial driver to the simulator: after a read and two
// changes the dialog lists exactly those two, and the editor keeps them.
#include "support/ui/FormDriver.h"
#include "support/ui/MainWindowRig.h"
#include "support/ui/WidgetTestMain.h"
#include "tools/DevsimProcess.h"

#include "app/ui/ConfigTools.h"
#include "gui/DifferencesDialog.h"

#include <QCheckBox>
#include <QTableWidget>
#include <QTest>

using namespace tesmira;
using namespace tesmira::test;

class TestCompareWithDevice : public QObject {
    Q_OBJECT
private slots:
    void listsExactlyTheTwoChanges() {
        DevsimProcess sim({"--type", "30", "--version", "9"});
        QVERIFY(sim.running());
        ProgramRig rig;
        rig.window().show();
        QVERIFY(QTest::qWaitForWindowActive(&rig.window()));
        QVERIFY(rig.Read(sim.slavePath()));
        ui::DeviceEditor* editor = rig.editors().Current();
        QVERIFY(editor != nullptr);
        auto* sirenSignals = FindControl<QCheckBox>(*editor, "chkGuardSnd");
        ClickCheckBox(sirenSignals);
        ClickCheckBox(FindControl<QCheckBox>(*editor, "chkBox7")); // "Тревога" on "Реле1"

        auto* tools = rig.window().findChild<ui::ConfigTools*>();
        tools->actDevCompare->trigger();
        QVERIFY(waitUntil([&] { return tools->differences() != nullptr; }, 30000));
        QTableWidget* rows = tools->differences()->tblDifferences;
        QCOMPARE(rows->horizontalHeaderItem(2)->text(), QStringLiteral("В приборе"));
        const QStringList expected = {
            QStringLiteral("Периферия — Сигналы взятия\\снятия сиреной|выкл|вкл"),
            QStringLiteral("Выходы — Реле1: Тревога|вкл|выкл")};
        QStringList shown;
        for (int row = 0; row < rows->rowCount(); ++row)
            shown.append(rows->item(row, 0)->text() + "|" + rows->item(row, 1)->text() + "|" +
                         rows->item(row, 2)->text());
        QCOMPARE(shown, expected);
        QVERIFY(!sirenSignals->isChecked());
        QCOMPARE(editor->windowTitle(), QStringLiteral("Velmar 280, Версия прибора - 9"));
        QVERIFY(rig.window().actDevRead->isEnabled());
        QVERIFY(ui::Dialogs::takeMessages().isEmpty());
    }
};

TESMIRA_WIDGET_TEST(TestCompareWithDevice)
#include "e2e_compare_with_device.moc"
