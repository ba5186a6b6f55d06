// The type 32 editor inside the real main window, over the real serial driver to the device
// simulator: read, edit the record and its three tables, write (checked in the device's own
// file), save and open, the sound-file commands, a silent device during a file command and a
// commit that refuses a blank number.
#include "support/HexBytes.h"
#include "support/LinkFakes.h"
#include "support/ui/FormDriver.h"
#include "support/ui/MainWindowRig.h"
#include "support/ui/WidgetTestMain.h"
#include "tools/DevsimProcess.h"

#include "gsm/ui/GsmEditor.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

using namespace tesmira;
using namespace tesmira::test;
using tesmira::ui::Dialogs;
using tesmira::ui::GsmEditor;
using tesmira::ui::MainWindow;
using tesmira::ui::MessageIcon;
using tesmira::ui::ShownMessage;

namespace {

constexpr int kExchangeWaitMs = 30000;
const QColor kRed(255, 0, 0);

GsmEditor* Gsm(MainWindowRig& rig) {
    return dynamic_cast<GsmEditor*>(rig.editors().Current());
}

bool ShowWindow(MainWindow& window) {
    window.show();
    return QTest::qWaitForWindowActive(&window);
}

void ShowTab(QWidget& editor, int index) {
    FindControl<QTabWidget>(editor, "pgcConfig")->setCurrentIndex(index);
}

QStringList Files(QWidget& editor) {
    QStringList names;
    auto* list = FindControl<QListWidget>(editor, "lstFiles");
    for (int i = 0; i < list->count(); ++i)
        names += list->item(i)->text();
    return names;
}

// Clicks a file button and waits for the command's end; true when the buttons were held back
// while it ran and are back after it.
bool FileCommand(MainWindowRig& rig, QWidget& editor, const char* button) {
    auto* pressed = FindControl<QPushButton>(editor, button);
    pressed->click();
    if (!rig.link().ExchangeRunning() || pressed->isEnabled() ||
        FindControl<QPushButton>(editor, "btnRead")->isEnabled())
        return false;
    return waitUntil([&] { return !rig.link().ExchangeRunning(); }, kExchangeWaitMs) &&
           waitUntil([&] { return pressed->isEnabled(); });
}

Bytes RecordOf(const GsmEditor& editor) {
    return Bytes(editor.config().record.bytes().begin(), editor.config().record.bytes().end());
}

// The record after the edits of readEditWriteSaveAndOpen.
Bytes EditedRecord() {
    Bytes r = Hex("D2 04 00 08"); // number 1234, "Отбивать звонок"
    const Bytes phone = Hex("37 39 31 32 33 34 35 36 37 38 39 00 00 00 00 00");
    r.insert(r.end(), phone.begin(), phone.end());
    r.resize(132, 0x00);
    r.resize(164, 0x00); // group 1: no violation
    r.resize(324, 0xFF);
    for (std::uint8_t b : Hex("2A 31 30 32 23 00 00 00 2A 31 30 32 23 00 00 00 00 00 0E 5F"))
        r.push_back(b);
    r.resize(376, 0x00);
    for (std::uint8_t b : Hex("00 00 BA AB"))
        r.push_back(b);
    return r;
}

const Bytes kEditedBlock = Hex("01 01 00 0C 01 01 05 56 68 6F 64 31"); // zone 1 "Vhod1"

} // namespace

class TestGsmInMainWindow : public QObject {
    Q_OBJECT
private slots:
    void readEditWriteSaveAndOpen() {
        TempDir dir;
        const std::string saved = (dir.path() / "device.bcf").string();
        DevsimProcess sim(
            {"--type", "32", "--version", "5", "--save", saved, "--files", "a1.amr,b2.amr"});
        QVERIFY(sim.running());
        ProgramRig rig;
        MainWindow& w = rig.window();
        QVERIFY(ShowWindow(w));

        QVERIFY(rig.Read(sim.slavePath()));
        GsmEditor* editor = Gsm(rig);
        QVERIFY(editor);
        QCOMPARE(editor->windowTitle(),
                 QStringLiteral("GSM-коммуникатор объектовый, Версия прибора - 5"));
        QCOMPARE(w.status().text(), QStringLiteral("Данные прибора считаны"));

        TypeInto(FindControl<QLineEdit>(*editor, "medtDevNum"), "1234");
        ClickCheckBox(FindControl<QCheckBox>(*editor, "chkObboj"));
        FindControl<QTableWidget>(*editor, "grdPhones")->item(0, 1)->setText("+79123456789");
        FindControl<QAction>(*editor, "AlarmClear")->trigger();
        ShowTab(*editor, 1);
        auto* captions = FindControl<QTableWidget>(*editor, "grdCaptions");
        captions->setCurrentCell(0, 0);
        auto* types = FindControl<QComboBox>(*editor, "cbbCaptionType");
        types->setCurrentIndex(1);
        types->hidePopup();
        QVERIFY(waitUntil([&] { return !types->isVisible(); }));
        captions->item(0, 2)->setText("Vhod1");

        w.actDevWrite->trigger();
        QVERIFY(waitUntil([&] { return !rig.link().ExchangeRunning(); }, kExchangeWaitMs));
        QVERIFY(waitUntil([&] { return w.status().text() == "Данные записаны"; }));
        QCOMPARE(CommandsOf(w), kEditor);

        // Saved, reset, opened again: the edits are back, the names tab sorted from the block.
        const QString file = QString::fromStdString((dir.path() / "site.bcf").string());
        const Bytes written = RecordOf(*editor);
        Dialogs::setNextFileName(file);
        w.FileSaveAs1->trigger();
        w.actSetDefault->trigger();
        QCOMPARE(FindControl<QLineEdit>(*editor, "medtDevNum")->text(), QStringLiteral("0001"));
        Dialogs::setNextFileName(file);
        w.FileOpen1->trigger();
        QCOMPARE(RecordOf(*editor), written);
        QCOMPARE(FindControl<QLineEdit>(*editor, "medtDevNum")->text(), QStringLiteral("1234"));
        QCOMPARE(captions->item(0, 2)->text(), QStringLiteral("Vhod1"));
        QVERIFY(Dialogs::takeMessages().isEmpty());

        // The sound files: listed, one uploaded, one deleted.
        ShowTab(*editor, 5);
        QVERIFY(FileCommand(rig, *editor, "btnRead"));
        QCOMPARE(Files(*editor), QStringList({"a1.amr", "b2.amr"}));
        const auto sound = dir.path() / "c3.amr";
        QFile(QString::fromStdString(sound.string())).open(QIODevice::WriteOnly);
        Dialogs::setNextFileName(QString::fromStdString(sound.string()));
        QVERIFY(FileCommand(rig, *editor, "btnUpload"));
        QCOMPARE(Files(*editor), QStringList({"a1.amr", "b2.amr", "c3.amr"}));
        FindControl<QListWidget>(*editor, "lstFiles")->setCurrentRow(0);
        Dialogs::setNextAnswer(true);
        QVERIFY(FileCommand(rig, *editor, "btnDelete"));
        QCOMPARE(Files(*editor), QStringList({"b2.amr", "c3.amr"}));
        QCOMPARE(Dialogs::takeMessages(),
                 QList<ShownMessage>({{"Удаление файла", "Удалить файл a1.amr из прибора?",
                                       MessageIcon::Question}}));

        // What the device holds: the record with the block's header over its last four bytes,
        // then the block.
        QCOMPARE(sim.Stop(), std::optional<int>(0));
        const Bytes device = ReadFile(saved);
        QCOMPARE(device.size(), std::size_t(5 + 384 + 2 + 12 + 1));
        QCOMPARE(Bytes(device.begin(), device.begin() + 5), Hex("01 00 20 01 80"));
        Bytes record = EditedRecord();
        record.insert(record.end(), kEditedBlock.begin(), kEditedBlock.begin() + 4);
        QCOMPARE(Bytes(device.begin() + 5, device.begin() + 389), record);
        Bytes section = Hex("00 0C");
        section.insert(section.end(), kEditedBlock.begin(), kEditedBlock.end());
        QCOMPARE(Bytes(device.begin() + 389, device.end() - 1), section);
    }

    void aSilentDeviceDuringAFileCommandAndARefusedCommit() {
        DevsimProcess sim({"--type", "32", "--silent"});
        FastSleepClock clock(FastSleepClock::kSilentSpeedUp);
        ProgramRig rig(clock);
        MainWindow& w = rig.window();
        QVERIFY(ShowWindow(w));
        w.openEditorOfType(32);
        GsmEditor* editor = Gsm(rig);
        QVERIFY(editor);
        w.cbbPorts->setEditText(QString::fromStdString(sim.slavePath()));

        // A blank device number: its error, and the commands back to mend it.
        TypeInto(FindControl<QLineEdit>(*editor, "medtDevNum"), "", false);
        w.actDevWrite->trigger();
        const auto shown = Dialogs::takeMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("'' is not a valid integer value."));
        QVERIFY(!rig.link().ExchangeRunning());
        QCOMPARE(CommandsOf(w), kEditor);

        // Only the file buttons wait for the file command; a read meanwhile is refused.
        ShowTab(*editor, 5);
        auto* refresh = FindControl<QPushButton>(*editor, "btnRead");
        refresh->click();
        QVERIFY(!refresh->isEnabled());
        w.actDevRead->trigger();
        QCOMPARE(w.status().text(), QStringLiteral("Идет обмен с прибором, повторите позже"));
        QVERIFY(waitUntil([&] { return !rig.link().ExchangeRunning(); }, kExchangeWaitMs));
        QVERIFY(waitUntil([&] { return w.status().text() == "Нет связи с прибором"; }));
        QCOMPARE(w.status().colour(), kRed);
        QVERIFY(refresh->isEnabled());
        QCOMPARE(CommandsOf(w), kEditor);
    }
};

TESMIRA_WIDGET_TEST(TestGsmInMainWindow)
#include "e2e_gsm_main_window.moc"
