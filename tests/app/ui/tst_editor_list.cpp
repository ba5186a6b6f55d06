// The program's own editor list: every item of the device menu opens an editor of its type.
#include "support/ui/MainWindowRig.h"
#include "support/ui/WidgetTestMain.h"

#include "app/ui/EditorList.h"
#include "gui/DeviceEditor.h"

#include <QTest>

using namespace tesmira;
using namespace tesmira::test;

class TestEditorList : public QObject {
    Q_OBJECT
private slots:
    void everyDeviceMenuItemOpensItsEditor() {
        MainWindowRig rig(SystemLinkClock(), MakeSerialBackend(), ui::RegisterEditors);
        ui::MainWindow& w = rig.window();
        QList<QAction*> items = DeviceItems(w);
        items.removeAll(w.actRecentDevice);
        QCOMPARE(items.size(), 8); // 26, 27, 30, 31, 32, 33, 34, 35
        for (QAction* item : items) {
            const auto type = static_cast<std::uint8_t>(item->data().toInt());
            item->trigger();
            QVERIFY2(rig.editors().Current() != nullptr, qPrintable(item->text()));
            QCOMPARE(rig.editors().Current()->DeviceType, type);
            QCOMPARE(w.CurrentDeviceType(), type);
            QVERIFY(ui::Dialogs::takeMessages().isEmpty());
        }
    }
};

TESMIRA_WIDGET_TEST(TestEditorList)
#include "tst_editor_list.moc"
