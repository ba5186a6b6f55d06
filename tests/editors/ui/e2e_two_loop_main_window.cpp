// The type 26 and 27 editors inside the real main window, talking through the real serial driver
// to the device simulator: read, edit by keys and clicks, write, reset, save and open, reading
// again and reading another type, and a write that gets no answer.
#include "support/FactoryRecords.h"
#include "support/LinkFakes.h"
#include "support/ui/FormDriver.h"
#include "support/ui/MainWindowRig.h"
#include "support/ui/WidgetTestMain.h"
#include "tools/DevsimProcess.h"

#include "app/ui/BackupsDialog.h"
#include "app/ui/WorkArea.h"
#include "editors/ui/TwoLoopEditor.h"
#include "gui/EditHelpers.h"
#include "model/Backups.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using tesmira::test::kFactoryRecord26;
using namespace tesmira;
using namespace tesmira::test;
using tesmira::ui::Dialogs;
using tesmira::ui::MainWindow;
using tesmira::ui::TwoLoopEditor;

namespace {

constexpr int kExchangeWaitMs = 30000;
const QColor kGreen(0, 128, 0);
const QColor kRed(255, 0, 0);

// What a type 26 device fresh from the factory shows.
const QString kDefaultView26 =
    "letter 1 | alarms 8 | restores 5 | check 1 мин. | loop1 Пожарный, 110 - ПОЖАР | "
    "loop2 Дверной, 370 - ШЛЕЙФ НЕИСПР | exit 60 | entry 30 | siren - lamp - u2 - guard - "
    "buzzer x";

// After EditEverything: letter 5, 12 alarm and 3 restore transmissions, check every 2.5 min
// (5), loop 1 guard (5) with its default event 131 (row 20), loop 2 off (0) keeping the
// chosen event 372 (row 103), exit delay 150 clamped to 99, entry delay 7, U2 and siren
// monitored (bits 5 and 6), siren signals on, buzzer off.
const QString kEditedView =
    "letter 5 | alarms 12 | restores 3 | check 2,5  мин. | loop1 Охранный, 131 - ПЕРИМЕТР | "
    "loop2 Отключен, (off) 372 - ШЛЕЙФ К.З. | exit 99 | entry 7 | siren x lamp - u2 x guard x "
    "buzzer -";
const Bytes kEditedRecord = {0x05, 0x0C, 0x03, 0x05, 0x05, 0x14, 0x00,
                             0x67, 0x63, 0x07, 0x60, 0x01, 0x00};
const Bytes kEditedFile = {0x01, 0x00, 0x1A, 0x00, 0x0D, 0x05, 0x0C, 0x03, 0x05, 0x05,
                           0x14, 0x00, 0x67, 0x63, 0x07, 0x60, 0x01, 0x00, 0x47};

// `editor` when it is the two-loop editor of `type`, else null.
TwoLoopEditor* AsTwoLoop(ui::DeviceEditor* editor, std::uint8_t type) {
    auto* twoLoop = dynamic_cast<TwoLoopEditor*>(editor);
    return twoLoop != nullptr && twoLoop->DeviceType == type ? twoLoop : nullptr;
}

// Each text the status line was given, with the colour the bar had once the handler that set
// it returned (before the first blink step, which comes 400 ms later).
class StatusLog : public QObject {
public:
    explicit StatusLog(ui::StatusLine& line) : line_(line) {
        connect(&line, &ui::StatusLine::textChanged, this, [this](const QString& text) {
            QTimer::singleShot(0, this, [this, text] { shown.append({text, line_.colour()}); });
        });
    }

    struct Entry {
        QString text;
        QColor colour;
    };
    QList<Entry> shown;

    QStringList texts() const {
        QStringList list;
        for (const Entry& entry : shown)
            list += entry.text;
        return list;
    }

private:
    ui::StatusLine& line_;
};

QComboBox* Box(QWidget& editor, const char* name) {
    return FindControl<QComboBox>(editor, name);
}

QCheckBox* Check(QWidget& editor, const char* name) {
    return FindControl<QCheckBox>(editor, name);
}

QLineEdit* Edit(QWidget& editor, const char* name) {
    return FindControl<QLineEdit>(editor, name);
}

// Everything the editor's controls show, on one line; a disabled event list is marked "(off)".
QString ViewOf(QWidget& editor) {
    const auto event = [&](const char* name) {
        QComboBox* box = Box(editor, name);
        return (box->isEnabled() ? QString() : QStringLiteral("(off) ")) + box->currentText();
    };
    const auto mark = [&](const char* name) {
        return Check(editor, name)->isChecked() ? QStringLiteral("x") : QStringLiteral("-");
    };
    return QStringLiteral("letter %1 | alarms %2 | restores %3 | check %4 | loop1 %5, %6 | "
                          "loop2 %7, %8 | exit %9 | entry %10 | siren %11 lamp %12 u2 %13 "
                          "guard %14 buzzer %15")
        .arg(Box(editor, "bxTxLetter")->currentText(), Box(editor, "bxTxAlarmCnt")->currentText(),
             Box(editor, "bxTxNormCnt")->currentText(), Box(editor, "bxTxTO")->currentText(),
             Box(editor, "cbbLoopType1")->currentText(), event("bxLoopEvent1"),
             Box(editor, "cbbLoopType2")->currentText(), event("bxLoopEvent2"),
             Edit(editor, "edtRetDelOut")->text())
        .arg(Edit(editor, "edtRetDelIn")->text(), mark("chkExpBox6"), mark("chkExpBox7"),
             mark("chkU2"), mark("chkGuardSnd"), mark("chkUseBuzzer"));
}

Bytes RecordOf(const TwoLoopEditor& editor) {
    return Bytes(editor.RecordBytes().begin(), editor.RecordBytes().end());
}

// Every change a user makes by keys and clicks, so each control's handler runs.
bool EditEverything(QWidget& editor) {
    bool picked = PickByKeys(Box(editor, "bxTxLetter"), "5") &&
                  PickByKeys(Box(editor, "bxTxAlarmCnt"), "12") &&
                  PickByKeys(Box(editor, "bxTxNormCnt"), "3") &&
                  PickByKeys(Box(editor, "bxTxTO"), QStringLiteral("2,5  мин.")) &&
                  PickByKeys(Box(editor, "cbbLoopType1"), QStringLiteral("Охранный")) &&
                  PickByKeys(Box(editor, "bxLoopEvent2"), QStringLiteral("372 - ШЛЕЙФ К.З.")) &&
                  PickByKeys(Box(editor, "cbbLoopType2"), QStringLiteral("Отключен"));
    TypeInto(Edit(editor, "edtRetDelOut"), "150");
    TypeInto(Edit(editor, "edtRetDelIn"), "7");
    for (const char* name : {"chkU2", "chkExpBox6", "chkGuardSnd", "chkUseBuzzer"})
        ClickCheckBox(Check(editor, name));
    return picked;
}

QString Folder(const TempDir& dir) {
    return QString::fromStdString(dir.path().string()) + "/";
}

// The window shown and active, so that keys, clicks and focus reach the editor.
bool ShowWindow(MainWindow& window) {
    window.show();
    return QTest::qWaitForWindowActive(&window);
}

// Presses Write; true when the commands went to the exchange state, the editor was disabled,
// and the exchange ended.
bool Write(MainWindowRig& rig) {
    MainWindow& w = rig.window();
    w.actDevWrite->trigger();
    if (CommandsOf(w) != kExchange || rig.editors().Current()->isEnabled())
        return false;
    return waitUntil([&] { return !rig.link().ExchangeRunning(); }, kExchangeWaitMs);
}

} // namespace

class TestTwoLoopInMainWindow : public QObject {
    Q_OBJECT
private slots:
    void readEditWriteResetReadSaveAndOpen() {
        TempDir dir;
        const std::string saved = (dir.path() / "device.bcf").string();
        DevsimProcess sim({"--type", "26", "--version", "9", "--save", saved});
        QVERIFY(sim.running());
        ProgramRig rig;
        MainWindow& w = rig.window();
        QVERIFY(ShowWindow(w));
        StatusLog log(w.status());
        QCOMPARE(CommandsOf(w), kNoDevice);

        // The read: a new editor showing the factory record of the device.
        QVERIFY(rig.Read(sim.slavePath()));
        QVERIFY(waitUntil([&] { return log.shown.size() == 3; }));
        QCOMPARE(log.texts(), QStringList({"Порт открыт...", "Ответ прибора получен",
                                           "Данные прибора считаны"}));
        QCOMPARE(log.shown[0].colour, w.status().normalColour());
        QCOMPARE(log.shown[2].colour, kGreen);
        QCOMPARE(CommandsOf(w), kEditor);
        QCOMPARE(w.CurrentDeviceType(), std::uint8_t(26));
        auto* editor = AsTwoLoop(rig.editors().Current(), 26);
        QVERIFY(editor);
        QVERIFY(editor->isEnabled());
        QCOMPARE(editor->windowTitle(), QStringLiteral("Miren-1, Версия прибора - 9"));
        QCOMPARE(ViewOf(*editor), kDefaultView26);
        QCOMPARE(RecordOf(*editor), kFactoryRecord26);
        QVERIFY(!rig.link().port.Connected());

        // Edit and write: the read before it says what it is for until the device answers.
        QVERIFY(EditEverything(*editor));
        QCOMPARE(ViewOf(*editor), kEditedView);
        QCOMPARE(RecordOf(*editor), kEditedRecord);
        log.shown.clear();
        w.actDevWrite->trigger();
        QCOMPARE(CommandsOf(w), kExchange);
        QVERIFY(!editor->isEnabled());
        QVERIFY(w.isWindowModified());
        QVERIFY(waitUntil([&] { return !rig.link().ExchangeRunning(); }, kExchangeWaitMs));
        QVERIFY(waitUntil([&] { return log.shown.size() == 2; }));
        QCOMPARE(log.texts(), QStringList({"Чтение перед записью...", "Данные записаны"}));
        QCOMPARE(log.shown[1].colour, kGreen);
        QCOMPARE(CommandsOf(w), kEditor);
        QVERIFY(!w.isWindowModified()); // the device holds what is shown
        QVERIFY(editor->isEnabled());
        QCOMPARE(RecordOf(*editor), kEditedRecord);

        // Reset: the factory record, without a word to the device or on the status line.
        w.actSetDefault->trigger();
        QCOMPARE(ViewOf(*editor), kDefaultView26);
        QCOMPARE(RecordOf(*editor), kFactoryRecord26);
        QVERIFY(!rig.link().ExchangeRunning());
        QCOMPARE(w.status().text(), QStringLiteral("Данные записаны"));
        QCOMPARE(CommandsOf(w), kEditor);

        // Reading again keeps this editor and loads into it without resetting it first: the
        // letter goes from the user's 9 straight to the device's 5, never through the default 1.
        QVERIFY(PickByKeys(Box(*editor, "bxTxLetter"), "9"));
        QPointer<TwoLoopEditor> same = editor;
        QSignalSpy letters(Box(*editor, "bxTxLetter"), &QComboBox::currentIndexChanged);
        QVERIFY(rig.Read(sim.slavePath()));
        QCOMPARE(rig.editors().Current(), editor);
        QVERIFY(!same.isNull());
        QCOMPARE(letters.size(), 1);
        QCOMPARE(letters[0][0].toInt(), 4);
        QCOMPARE(ViewOf(*editor), kEditedView);
        QCOMPARE(RecordOf(*editor), kEditedRecord);
        QCOMPARE(w.status().text(), QStringLiteral("Данные прибора считаны"));
        QCOMPARE(CommandsOf(w), kEditor);

        // Save as: the name gets its extension; no status text, caption or setting changes.
        const QString before = w.status().text();
        Dialogs::setNextFileName(Folder(dir) + "site");
        w.FileSaveAs1->trigger();
        QVERIFY(Dialogs::takeMessages().isEmpty());
        QCOMPARE(ReadFileBytes((dir.path() / "site.bcf")), kEditedFile);
        QCOMPARE(w.status().text(), before);
        QCOMPARE(w.windowTitle(), QStringLiteral("Tesmira - [Miren-1, Версия прибора - 9][*]"));
        QVERIFY(rig.settings().raw("filepath").toString() != Folder(dir));
        QCOMPARE(CommandsOf(w), kEditor);

        // Reset, then open the file: the saved values again, and the window names the file.
        w.actSetDefault->trigger();
        QCOMPARE(ViewOf(*editor), kDefaultView26);
        // The read's blink runs its steps out here rather than on its timer, so that the open
        // below is seen neither to blink nor to colour the bar.
        for (int step = 0; step <= ui::StatusLine::kBlinkSteps && w.status().blinking(); ++step)
            w.status().BlinkTimerTick();
        QVERIFY(!w.status().blinking());
        const QString path = Folder(dir) + "site.bcf";
        Dialogs::setNextFileName(path);
        w.FileOpen1->trigger();
        QVERIFY(Dialogs::takeMessages().isEmpty());
        QCOMPARE(rig.editors().Current(), editor);
        QCOMPARE(ViewOf(*editor), kEditedView);
        QCOMPARE(RecordOf(*editor), kEditedRecord);
        QCOMPARE(w.windowTitle(), QStringLiteral("Программатор : ") + path + " - [Miren-1][*]");
        QCOMPARE(rig.settings().raw("filepath").toString(), Folder(dir));
        QCOMPARE(w.status().text(), QStringLiteral("Файл открыт: ") + path);
        QVERIFY(!w.status().blinking());
        QCOMPARE(w.status().colour(), w.status().normalColour());
        QCOMPARE(w.CurrentDeviceType(), std::uint8_t(26));
        QCOMPARE(CommandsOf(w), kEditor);

        // What the device holds now.
        QCOMPARE(sim.Stop(), std::optional<int>(0));
        QCOMPARE(ReadFile(saved), kEditedFile);
        QVERIFY(Dialogs::takeMessages().isEmpty());
    }

    void readingAType27DeviceReplacesTheType26Editor() {
        TempDir dir;
        const std::string saved27 = (dir.path() / "27.bcf").string();
        DevsimProcess sim26({"--type", "26", "--version", "9"});
        DevsimProcess sim27({"--type", "27", "--version", "4", "--save", saved27});
        QVERIFY(sim26.running() && sim27.running());
        ProgramRig rig;
        MainWindow& w = rig.window();
        QVERIFY(ShowWindow(w));
        QVERIFY(rig.Read(sim26.slavePath()));
        QPointer<ui::DeviceEditor> old = rig.editors().Current();
        QVERIFY(AsTwoLoop(old.data(), 26));

        QVERIFY(rig.Read(sim27.slavePath()));
        QVERIFY(waitUntil([&] { return old.isNull(); }));
        auto* editor = AsTwoLoop(rig.editors().Current(), 27);
        QVERIFY(editor);
        QCOMPARE(w.CurrentDeviceType(), std::uint8_t(27));
        QCOMPARE(editor->windowTitle(), QStringLiteral("Miren-2, Версия прибора - 4"));
        QCOMPARE(ViewOf(*editor),
                 QStringLiteral("letter 1 | alarms 8 | restores 5 | check 5  мин. | loop1 "
                                "Пожарный, 110 - ПОЖАР | loop2 Дверной, 370 - ШЛЕЙФ НЕИСПР | "
                                "exit 60 | entry 30 | siren - lamp - u2 - guard - buzzer x"));
        QCOMPARE(w.status().text(), QStringLiteral("Данные прибора считаны"));
        QCOMPARE(CommandsOf(w), kEditor);
        QCOMPARE(w.workArea()->subWindowList().size(), 1);

        // The new editor writes as a type 27 device.
        ClickCheckBox(Check(*editor, "chkGuardSnd"));
        QVERIFY(Write(rig));
        QCOMPARE(w.status().text(), QStringLiteral("Данные записаны"));
        QCOMPARE(sim27.Stop(), std::optional<int>(0));
        QCOMPARE(ReadFile(saved27),
                 Bytes({0x01, 0x00, 0x1B, 0x00, 0x0D, 0x01, 0x08, 0x05, 0x0A, 0x03, 0x04, 0x07,
                        0x65, 0x3C, 0x1E, 0x00, 0x01, 0x01, 0x9C}));
    }

    void aWriteTakesTheDelayStillBeingTyped_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("byButton");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("file");
        const auto file = [](std::initializer_list<std::uint8_t> bytes) {
            return QByteArray(reinterpret_cast<const char*>(bytes.begin()),
                              qsizetype(bytes.size()));
        };
        QTest::newRow("entry, Write from the menu")
            << "edtRetDelIn"
            << "45" << false << "45"
            << file({0x01, 0x00, 0x1A, 0x00, 0x0D, 0x01, 0x08, 0x05, 0x02, 0x03, 0x04, 0x07, 0x65,
                     0x3C, 0x2D, 0x00, 0x00, 0x01, 0x82});
        QTest::newRow("exit above the range, Write from the menu")
            << "edtRetDelOut"
            << "150" << false << "99"
            << file({0x01, 0x00, 0x1A, 0x00, 0x0D, 0x01, 0x08, 0x05, 0x02, 0x03, 0x04, 0x07, 0x65,
                     0x63, 0x1E, 0x00, 0x00, 0x01, 0x40});
        QTest::newRow("exit not a number, Write button")
            << "edtRetDelOut"
            << "abc" << true << "30"
            << file({0x01, 0x00, 0x1A, 0x00, 0x0D, 0x01, 0x08, 0x05, 0x02, 0x03, 0x04, 0x07, 0x65,
                     0x1E, 0x1E, 0x00, 0x00, 0x01, 0x18});
    }

    void aWriteTakesTheDelayStillBeingTyped() {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(bool, byButton);
        QFETCH(QString, shown);
        QFETCH(QByteArray, file);
        TempDir dir;
        const std::string saved = (dir.path() / "device.bcf").string();
        DevsimProcess sim({"--type", "26", "--save", saved});
        ProgramRig rig;
        MainWindow& w = rig.window();
        QVERIFY(ShowWindow(w));
        QVERIFY(rig.Read(sim.slavePath()));
        TwoLoopEditor* editor = dynamic_cast<TwoLoopEditor*>(rig.editors().Current());
        QVERIFY(editor);
        QLineEdit* field = Edit(*editor, qPrintable(edit));
        TypeInto(field, typed, false);
        QVERIFY(field->hasFocus());
        QCOMPARE(RecordOf(*editor), kFactoryRecord26); // not stored before the write

        if (byButton)
            QTest::mouseClick(FindControl<QPushButton>(w, "btnWrite"), Qt::LeftButton);
        else
            w.actDevWrite->trigger();
        QVERIFY(waitUntil([&] { return !rig.link().ExchangeRunning(); }, kExchangeWaitMs));
        QCOMPARE(w.status().text(), QStringLiteral("Данные записаны"));
        QCOMPARE(field->text(), shown);
        QCOMPARE(CommandsOf(w), kEditor);
        QCOMPARE(sim.Stop(), std::optional<int>(0));
        QCOMPARE(ReadFile(saved), Bytes(file.begin(), file.end()));
    }

    // The device items stay usable while a write runs; replacing its editor must not leave the
    // main window waiting for a report that nobody passes on.
    void replacingTheEditorDuringItsWriteStillGivesTheControlsBack() {
        DevsimProcess sim({"--type", "26", "--delay", "800"});
        QVERIFY(sim.running());
        ProgramRig rig;
        MainWindow& w = rig.window();
        QVERIFY(ShowWindow(w));
        // Opened rather than read: every exchange with this device takes its 800 ms.
        w.openEditorOfType(26);
        w.cbbPorts->setEditText(QString::fromStdString(sim.slavePath()));
        QPointer<ui::DeviceEditor> writer = rig.editors().Current();
        QVERIFY(writer);

        w.actDevWrite->trigger();
        QCOMPARE(CommandsOf(w), kExchange);
        // The write starts right after what the device held is kept.
        QVERIFY(waitUntil([&] { return !ListBackups(ui::FilePath(ui::BackupsFolder())).empty(); },
                          kExchangeWaitMs));
        w.openEditorOfType(27);
        QVERIFY(waitUntil([&] { return writer.isNull(); }));
        QVERIFY(AsTwoLoop(rig.editors().Current(), 27));
        QCOMPARE(CommandsOf(w), kExchange);

        QVERIFY(waitUntil([&] { return !rig.link().ExchangeRunning(); }, kExchangeWaitMs));
        QCOMPARE(w.status().text(), QStringLiteral("Данные записаны"));
        QCOMPARE(w.CurrentDeviceType(), std::uint8_t(27));
        QCOMPARE(CommandsOf(w), kEditor);
        QVERIFY(rig.editors().Current()->isEnabled());
    }

    void aWriteToASilentDeviceKeepsTheRecord() {
        DevsimProcess sim({"--type", "26", "--silent"});
        FastSleepClock clock(FastSleepClock::kSilentSpeedUp);
        ProgramRig rig(clock);
        MainWindow& w = rig.window();
        QVERIFY(ShowWindow(w));
        StatusLog log(w.status());
        w.openEditorOfType(26);
        auto* editor = AsTwoLoop(rig.editors().Current(), 26);
        QVERIFY(editor);
        QVERIFY(PickByKeys(Box(*editor, "bxTxLetter"), "30"));
        ClickCheckBox(Check(*editor, "chkExpBox7"));
        const Bytes edited = {0x1E, 0x08, 0x05, 0x02, 0x03, 0x04, 0x07,
                              0x65, 0x3C, 0x1E, 0x80, 0x00, 0x01};
        QCOMPARE(RecordOf(*editor), edited);
        w.cbbPorts->setEditText(QString::fromStdString(sim.slavePath()));

        // The read before the write gets no answer, so nothing is written.
        QVERIFY(Write(rig));
        QVERIFY(waitUntil([&] { return log.shown.size() >= 2; }));
        QCOMPARE(log.texts(), QStringList({"Чтение перед записью...",
                                           "Нет связи, проверьте соединения или номер порта"}));
        QCOMPARE(log.shown[1].colour, kRed);
        QCOMPARE(CommandsOf(w), kEditor);
        QVERIFY(editor->isEnabled());
        QCOMPARE(RecordOf(*editor), edited);
        QCOMPARE(Box(*editor, "bxTxLetter")->currentText(), QStringLiteral("30"));
        QVERIFY(Check(*editor, "chkExpBox7")->isChecked());
        QVERIFY(Dialogs::takeMessages().isEmpty());
        QVERIFY(!rig.link().port.Connected());
    }
};

TESMIRA_WIDGET_TEST(TestTwoLoopInMainWindow)
#include "e2e_two_loop_main_window.moc"
