// The read before every write, against the device simulator: what the device held and what it
// was given are kept, a device of another type is written only when the user says so, and a read
// that fails writes and keeps nothing. Then the backups dialog opening one of them.
#include "support/FactoryRecords.h"
#include "support/LinkFakes.h"
#include "support/ui/FormDriver.h"
#include "support/ui/MainWindowRig.h"
#include "support/ui/WidgetTestMain.h"
#include "tools/DevsimProcess.h"

#include "app/ui/BackupsDialog.h"
#include "gui/EditHelpers.h"
#include "model/Backups.h"

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace tesmira;
using namespace tesmira::test;
using tesmira::ui::BackupsDialog;
using tesmira::ui::Dialogs;
using tesmira::ui::MainWindow;
using tesmira::ui::MessageIcon;

namespace {

constexpr int kExchangeWaitMs = 30000;

// A type 26 file with an edited record.
const Bytes kEditedFile26 = {0x01, 0x00, 0x1A, 0x00, 0x0D, 0x05, 0x0C, 0x03, 0x05, 0x05,
                             0x14, 0x00, 0x67, 0x63, 0x07, 0x60, 0x01, 0x00, 0x47};

std::filesystem::path Folder() {
    return ui::FilePath(ui::BackupsFolder());
}

// Presses Write and waits until the command has ended: the controls are back.
bool WriteAndWait(MainWindowRig& rig, const std::string& port) {
    MainWindow& w = rig.window();
    w.cbbPorts->setEditText(QString::fromStdString(port));
    w.actDevWrite->trigger();
    if (CommandsOf(w) != kExchange ||
        w.status().text() != QStringLiteral("Чтение перед записью..."))
        return false;
    return waitUntil([&] { return CommandsOf(w) == kEditor && !rig.link().ExchangeRunning(); },
                     kExchangeWaitMs);
}

} // namespace

class TestBackups : public QObject {
    Q_OBJECT
private slots:
    void aWriteKeepsWhatTheDeviceHeldAndWhatItWasGiven() {
        TempDir dir;
        WriteFileBytes(dir / "held.bcf", kEditedFile26);
        const std::string saved = (dir.path() / "saved.bcf").string();
        DevsimProcess sim({"--config", (dir.path() / "held.bcf").string(), "--save", saved});
        ProgramRig rig;
        rig.window().openEditorOfType(26); // the factory record
        QVERIFY(WriteAndWait(rig, sim.slavePath()));
        QCOMPARE(rig.window().status().text(), QStringLiteral("Данные записаны"));
        QVERIFY(Dialogs::takeMessages().isEmpty());

        const std::vector<BackupEntry> kept = ListBackups(Folder());
        QCOMPARE(kept.size(), std::size_t(2));
        QCOMPARE(kept[0].kind, BackupKind::After);
        QCOMPARE(kept[1].kind, BackupKind::Before);
        QCOMPARE(kept[1].device, std::string("Miren-1"));
        QCOMPARE(ReadFileBytes(kept[1].file), kEditedFile26);
        QCOMPARE(ReadFileBytes(kept[0].file), kFactoryFile26);
        QCOMPARE(sim.Stop(), std::optional<int>(0));
        QCOMPARE(ReadFile(saved), kFactoryFile26);
    }

    void aDeviceOfAnotherTypeIsWrittenOnlyWhenTheUserSaysSo() {
        DevsimProcess sim({"--type", "27"});
        FastSleepClock clock; // the refused write is given up after its time-out
        ProgramRig rig(clock);
        rig.window().openEditorOfType(26);

        Dialogs::setNextAnswer(false);
        QVERIFY(WriteAndWait(rig, sim.slavePath()));
        const auto asked = Dialogs::takeMessages();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].title, QStringLiteral("Программатор"));
        QCOMPARE(asked[0].text,
                 QStringLiteral("Подключен прибор другого типа:\r\nMiren-2\r\nВ окне открыта "
                                "конфигурация прибора Miren-1.\r\nЗаписать всё равно?"));
        QCOMPARE(asked[0].icon, MessageIcon::Warning);
        QCOMPARE(rig.window().status().text(), QStringLiteral("Запись отменена"));
        QVERIFY(ListBackups(Folder()).empty());

        // Yes: what the device held is kept and the write goes out; this simulator refuses a
        // record of another type, which only the write itself reports so.
        Dialogs::setNextAnswer(true);
        QVERIFY(WriteAndWait(rig, sim.slavePath()));
        QCOMPARE(Dialogs::takeMessages().size(), 1);
        QCOMPARE(rig.window().status().text(), QStringLiteral("Нет связи с прибором"));
        const std::vector<BackupEntry> kept = ListBackups(Folder());
        QCOMPARE(kept.size(), std::size_t(1));
        QCOMPARE(kept[0].device, std::string("Miren-2"));
        QCOMPARE(kept[0].kind, BackupKind::Before);
    }

    void aReadThatFailsWritesAndKeepsNothing() {
        ProgramRig rig;
        rig.window().openEditorOfType(26);
        QVERIFY(WriteAndWait(rig, "/dev/tesmira-no-such-port"));
        QVERIFY(rig.window().status().text().startsWith(QStringLiteral("Невозможно открыть порт")));
        QVERIFY(ListBackups(Folder()).empty());
    }

    void theDialogOpensABackupAsOpenDoes() {
        ProgramRig rig;
        MainWindow& w = rig.window();
        const auto file = KeepBackup(Folder(), {2026, 12, 9, 14, 3, 27}, "Miren-1", 9,
                                     BackupKind::Before, kEditedFile26);
        KeepBackup(Folder(), {2026, 12, 8, 9, 0, 0}, "Miren-1", 9, BackupKind::After,
                   kFactoryFile26);
        w.actBackups->trigger();
        auto* dialog = w.findChild<BackupsDialog*>();
        QVERIFY(dialog);
        QCOMPARE(dialog->lvBackups->topLevelItemCount(), 2);
        const QTreeWidgetItem* newest = dialog->lvBackups->topLevelItem(0);
        QCOMPARE(newest->text(0), QStringLiteral("09.12.2026 14:03:27"));
        QCOMPARE(newest->text(1), QStringLiteral("Miren-1"));
        QCOMPARE(newest->text(3), QStringLiteral("до записи"));
        QTest::mouseClick(dialog->findChild<QPushButton*>("btnOpenBackup"), Qt::LeftButton);
        QCOMPARE(w.CurrentDeviceType(), std::uint8_t(26));
        QCOMPARE(rig.editors().Current()->Config().Image(), kEditedFile26);
        QVERIFY(w.status().text().startsWith(QStringLiteral("Файл открыт: ")));
        QVERIFY(w.windowTitle().contains(QString::fromStdString(file.filename().string())));

        // "Сохранить" never writes over a backup: it asks for a name, as "Сохранить как...".
        TempDir dir;
        Dialogs::setNextFileName(QString::fromStdString((dir / "copy.bcf").string()));
        w.FileSave1->trigger();
        QCOMPARE(ReadFileBytes(dir / "copy.bcf"), kEditedFile26);
        QCOMPARE(ReadFileBytes(file), kEditedFile26);
    }
};

TESMIRA_WIDGET_TEST(TestBackups)
#include "e2e_backups.moc"
