// The panel editors (types 30, 31, 33) in the real main window, through the real serial driver to
// the device simulator: read, edit a zone and the output matrix, write, save, open; and type 30's
// device number kept across a save and an open.
#include "support/ui/FormDriver.h"
#include "support/ui/MainWindowRig.h"
#include "support/ui/WidgetTestMain.h"
#include "tools/DevsimProcess.h"

#include "editors/ui/FiveZonePanelEditor.h"
#include "editors/ui/PanelEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

using namespace tesmira;
using namespace tesmira::test;
using tesmira::ui::Dialogs;
using tesmira::ui::MainWindow;

namespace {

constexpr int kExchangeWaitMs = 30000;

// The window shown, then a read of the device on `port`; the editor it opened, or null.
ui::DeviceEditor* ShowAndRead(ProgramRig& rig, const std::string& port) {
    rig.window().show();
    if (!QTest::qWaitForWindowActive(&rig.window()) || !rig.Read(port))
        return nullptr;
    return rig.editors().Current();
}

Bytes RecordOf(ui::DeviceEditor* editor) {
    if (auto* panel = dynamic_cast<ui::PanelEditor*>(editor))
        return Bytes(panel->Record().bytes().begin(), panel->Record().bytes().end());
    if (auto* five = dynamic_cast<ui::FiveZonePanelEditor*>(editor))
        return Bytes(five->Record().bytes().begin(), five->Record().bytes().end());
    return {};
}

bool Write(MainWindowRig& rig) {
    rig.window().actDevWrite->trigger();
    return waitUntil([&] { return !rig.link().ExchangeRunning(); }, kExchangeWaitMs) &&
           waitUntil([&] { return rig.window().status().text() == "Данные записаны"; });
}

// Save as, then Reset, then open the file again; the file's bytes.
Bytes SaveResetOpen(MainWindowRig& rig, const QString& path) {
    Dialogs::setNextFileName(path);
    rig.window().FileSaveAs1->trigger();
    rig.window().actSetDefault->trigger();
    Dialogs::setNextFileName(path);
    rig.window().FileOpen1->trigger();
    return ReadFileBytes(path.toStdString());
}

} // namespace

class TestPanelEditorsInMainWindow : public QObject {
    Q_OBJECT
private slots:
    void readEditWriteSaveAndOpen_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("caption");
        QTest::newRow("30") << "30"
                            << "9"
                            << "Velmar 280, Версия прибора - 9";
        QTest::newRow("31") << "31"
                            << "4"
                            << "Sorel-MX8, Версия прибора - 4";
        QTest::newRow("33") << "33"
                            << "8"
                            << "Velmar 250, Версия прибора - 8";
    }

    void readEditWriteSaveAndOpen() {
        QFETCH(QString, type);
        QFETCH(QString, version);
        QFETCH(QString, caption);
        const bool eightZones = type != "33";
        TempDir dir;
        const std::string deviceFile = (dir.path() / "device.bcf").string();
        DevsimProcess sim({"--type", type.toStdString(), "--version", version.toStdString(),
                           "--save", deviceFile});
        QVERIFY(sim.running());
        ProgramRig rig;
        ui::DeviceEditor* editor = ShowAndRead(rig, sim.slavePath());
        QVERIFY(editor != nullptr);
        QCOMPARE(editor->windowTitle(), caption);
        QVERIFY(PickByKeys(FindControl<QComboBox>(*editor, "cbbZoneType2"), "Пожарный"));
        if (eightZones) {
            FindControl<QTabWidget>(*editor, "pgcConfig")->setCurrentIndex(3);
            ClickCheckBox(FindControl<QCheckBox>(*editor, "chkBox7")); // "Тревога" on "Реле1"
        }
        QVERIFY(Write(rig));
        const Bytes written = RecordOf(editor);
        if (eightZones) {
            QCOMPARE(written.size(), std::size_t{58});
            QCOMPARE(Bytes(written.begin() + 4, written.begin() + 6), Bytes({0x18, 0x04}));
            QCOMPARE(written[46], std::uint8_t{0x03});
        } else {
            QCOMPARE(written.size(), std::size_t{20});
            QCOMPARE(Bytes(written.begin() + 2, written.begin() + 4), Bytes({0x03, 0x04}));
        }

        const QString file = QString::fromStdString((dir.path() / "site.bcf").string());
        const Bytes saved = SaveResetOpen(rig, file);
        QCOMPARE(saved.size(), written.size() + 6); // one block: nothing after the record
        QCOMPARE(rig.editors().Current(), editor);
        QCOMPARE(RecordOf(editor), written);
        QVERIFY(Dialogs::takeMessages().isEmpty());

        // The device holds what the editor wrote, to the byte.
        QCOMPARE(sim.Stop(), std::optional<int>(0));
        QCOMPARE(ReadFile(deviceFile), saved);
    }

    void theDeviceNumberComesBackFromTheFile() {
        DevsimProcess sim({"--type", "30"});
        QVERIFY(sim.running());
        ProgramRig rig;
        ui::DeviceEditor* editor = ShowAndRead(rig, sim.slavePath());
        QVERIFY(editor != nullptr);
        FindControl<QTabWidget>(*editor, "pgcConfig")->setCurrentIndex(1);
        auto* interface = FindControl<QComboBox>(*editor, "bxInterface");
        QVERIFY(PickByKeys(interface, "GSM-VANTIQ"));
        QCOMPARE(Dialogs::takeMessages().size(), 1); // "Недоступно"
        auto* number = FindControl<QLineEdit>(*editor, "medtDevNum");
        TypeInto(number, "0042");

        TempDir dir;
        const QString file = QString::fromStdString((dir.path() / "gsm.bcf").string());
        Dialogs::setNextFileName(file);
        rig.window().FileSaveAs1->trigger();
        QCOMPARE(ReadFileBytes(file.toStdString()).size(), std::size_t{3 + 2 + 58 + 2 + 150 + 1});
        TypeInto(number, "0077");
        rig.window().actSetDefault->trigger();
        Dialogs::setNextFileName(file);
        rig.window().FileOpen1->trigger();
        QCOMPARE(number->text(), QStringLiteral("0042"));
        QCOMPARE(interface->currentText(), QStringLiteral("GSM-VANTIQ"));
        QVERIFY(!FindControl<QWidget>(*editor, "wgtGsm")->isHidden());
        QVERIFY(Dialogs::takeMessages().isEmpty());
    }
};

TESMIRA_WIDGET_TEST(TestPanelEditorsInMainWindow)
#include "e2e_panel_editors.moc"
