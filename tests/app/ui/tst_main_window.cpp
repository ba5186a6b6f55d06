#include "app/ui/WorkArea.h"
#include "firmware/ui/FirmwareWindow.h"
#include "support/LinkFakes.h"
#include "support/PtyPair.h"
#include "support/TempDir.h"
#include "support/ui/MainWindowRig.h"
#include "support/ui/WidgetTestMain.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>

#include <fstream>

using namespace tesmira;
using namespace tesmira::test;
using tesmira::ui::EditorReport;
using tesmira::ui::MainWindow;
using tesmira::ui::MessageIcon;

namespace {

// A short reply of type 30, version 9, carrying record bytes 0x80, 0x81, ...
Bytes Reply30() {
    Bytes reply = {0x7E, 0x40, 0x52, 0x1E, 0x09};
    for (int i = 0; i < 58; ++i)
        reply.push_back(static_cast<std::uint8_t>(0x80 + i));
    reply.push_back(0x00); // the CRC is the link's business, not the window's
    return reply;
}

const ui::ShownMessage kNotSupportedByProgrammer{
    QStringLiteral("Ошибка "), QStringLiteral("Данный прибор не поддерживается программатором"),
    MessageIcon::Information};

QStringList Texts(const QList<QAction*>& actions) {
    QStringList texts;
    for (QAction* a : actions)
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return texts;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:

    void windowLayoutAndTexts() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.windowTitle(), QStringLiteral("Tesmira"));
        QCOMPARE(w.size(), QSize(770, 560));
        auto* panel = w.findChild<QWidget*>(QStringLiteral("SidePanel"));
        QVERIFY(panel);
        QCOMPARE(panel->width(), 118);
        QCOMPARE(panel->geometry().right(), w.centralWidget()->width() - 1);
        // Top to bottom: Exit, the port label over the port box, Read, Write, Reset.
        QStringList order;
        for (const char* name :
             {"btnExit", "lblPort", "cbbPorts", "btnRead", "btnWrite", "btnReset"}) {
            auto* widget = panel->findChild<QWidget*>(QString::fromLatin1(name));
            QVERIFY2(widget, name);
            if (!order.isEmpty())
                QVERIFY(panel->findChild<QWidget*>(order.last())->y() < widget->y());
            order << QString::fromLatin1(name);
        }
        QCOMPARE(panel->findChild<QPushButton*>("btnExit")->text(), QStringLiteral("Выход"));
        QCOMPARE(panel->findChild<QLabel*>("lblPort")->text(), QStringLiteral("Порт:"));
        QCOMPARE(panel->findChild<QPushButton*>("btnRead")->text(), QStringLiteral("Считать"));
        QCOMPARE(panel->findChild<QPushButton*>("btnWrite")->text(), QStringLiteral("Записать"));
        auto* reset = panel->findChild<QPushButton*>("btnReset");
        QCOMPARE(reset->text(), QStringLiteral("Сброс"));
        QCOMPARE(reset->statusTip(), QStringLiteral("Сброс настроек прибора по умолчанию"));
        QVERIFY(w.cbbPorts->isEditable());
        QCOMPARE(w.cbbPorts->maxVisibleItems(), 5);

        const QStringList start = {
            "Начните работу одним из способов: ",
            "",
            "- Подключите питание прибора,   войдите в сервисный режим",
            "  (может потребоваться ввод мастер кода или ключа),",
            "  подсоедините шнур USB,  нажмите кнопку \"Прочитать\";",
            "",
            "- Выберите тип прибора из меню \"Прибор\";",
            "",
            "- Загрузите конфигурацию прибора из меню \"Файл\"",
        };
        QCOMPARE(ui::WorkArea::StartTextLines(), start);
        // The logo sits at the lower left, clear of the start text.
        const QRect logo = w.workArea()->LogoRect();
        QVERIFY(logo.left() < 40);
        QCOMPARE(logo.bottom(), w.workArea()->viewport()->height() - 16 - 1);
        QVERIFY(!logo.intersects(w.workArea()->StartTextRect()));
        // The text is painted on the work area's background, not by a child that could cover
        // an editor.
        QVERIFY(w.workArea()->viewport()->findChildren<QLabel*>().isEmpty());
    }

    void actionsAndMenus() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        struct Row {
            QAction* action;
            const char* caption;
            QKeySequence shortcut;
            const char* hint;
        };
        const Row rows[] = {
            {w.actDevRead, "Считать", {}, ""},
            {w.actDevWrite, "Записать", {}, ""},
            {w.actSetDefault, "Сброс по умолчанию", {}, ""},
            {w.FileOpen1, "Открыть...", QKeySequence(Qt::CTRL | Qt::Key_O),
             "Открыть настройки из файла"},
            {w.FileSave1, "Сохранить", QKeySequence(Qt::CTRL | Qt::Key_S),
             "Сохранить конфигурацию в тот же файл"},
            {w.FileSaveAs1, "С&охранить как...", {}, "Сохранить конфигурацию"},
            {w.FileExit1, "В&ыход", {}, "Закрыть программу"},
            {w.actUpdateFirmware, "Обновить прошивку", {}, ""},
            {w.EditUndo1, "Отменить", QKeySequence(Qt::CTRL | Qt::Key_Z),
             "Отменить последнее изменение"},
            {w.EditRedo1, "Повторить", QKeySequence(Qt::CTRL | Qt::Key_Y),
             "Повторить отменённое изменение"},
        };
        for (const Row& row : rows) {
            QCOMPARE(row.action->text(), QString::fromUtf8(row.caption));
            QCOMPARE(row.action->shortcut(), row.shortcut);
            QCOMPARE(row.action->statusTip(), QString::fromUtf8(row.hint));
        }
        QCOMPARE(w.EditRedo1->shortcuts().value(1), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
        QCOMPARE(w.HelpAbout1->text(), QStringLiteral("О программе..."));
        QVERIFY(!w.HelpAbout1->statusTip().isEmpty());

        const QList<QAction*> bar = w.menuBar()->actions();
        QCOMPARE(Texts(bar),
                 (QStringList{"&Файл", "Правка", "Прибор", "Обновить прошивку", "Вид", "П&омощь"}));
        QCOMPARE(bar[0]->statusTip(), QStringLiteral("File related commands"));
        QCOMPARE(bar[2]->statusTip(), QStringLiteral("Выберите действие с приборами"));
        QCOMPARE(bar[3], w.actUpdateFirmware);
        QCOMPARE(bar[5]->statusTip(), QStringLiteral("Help topics"));
        const QList<QAction*> file = bar[0]->menu()->actions();
        QCOMPARE(Texts(file), (QStringList{"Открыть...", "Сохранить", "С&охранить как...", "-",
                                           "Резервные копии...", "Сравнить с файлом...", "Отчёт...",
                                           "-", "В&ыход"}));
        QCOMPARE(file.first(), w.FileOpen1);
        QCOMPARE(file[4], w.actBackups);
        QCOMPARE(file.last(), w.FileExit1);
        QCOMPARE(w.actBackups->statusTip(),
                 QStringLiteral("Копии конфигурации, снятые с прибора перед записью"));
        QCOMPARE(bar[1]->menu()->actions(), (QList<QAction*>{w.EditUndo1, w.EditRedo1}));
        QCOMPARE(bar[4]->menu()->actions(), QList<QAction*>{w.actLinkMonitor});
        QCOMPARE(w.actLinkMonitor->text(), QStringLiteral("Монитор обмена"));
        QCOMPARE(w.actLinkMonitor->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));
        QCOMPARE(bar[5]->menu()->actions(), QList<QAction*>{w.HelpAbout1});

        const QList<QAction*> device = w.DeviceMenu->actions();
        QCOMPARE(Texts(device), (QStringList{"Считать", "Записать", "Сравнить с прибором",
                                             "Сброс по умолчанию", "Недавно выбранный", "-", "GSM",
                                             "Velmor", "Pirra", "Sorel-MX8", "Прочее"}));
        QCOMPARE(device[4], w.actRecentDevice);
        QCOMPARE(Texts(device[7]->menu()->actions()),
                 (QStringList{"Velmar 508 c 5-й версии", "Velmar 280 c 9-й версии",
                              "Velmar 250 c 8-й версии"}));
    }

    void startUpAppliesTheStoredPortWithoutStoringIt() {
        MainWindowRig fresh;
        QCOMPARE(fresh.window().cbbPorts->currentText(), QStringLiteral("ttyUSB0"));
        QCOMPARE(fresh.link().port.PortName(), std::string("/dev/ttyUSB0"));
        QCOMPARE(fresh.settings().raw("comportname").toString(), QStringLiteral("ttyUSB0"));
    }

    void startUpWithAStoredPath() {
        TempSettings preset;
        preset.setRaw("comportname", "/dev/pts/42");
        LinkFixture fixture;
        ui::EditorFactory editors(fixture.link);
        ui::MainWindow w(fixture.link, editors);
        QCOMPARE(w.cbbPorts->currentText(), QStringLiteral("/dev/pts/42"));
        QCOMPARE(fixture.link.port.PortName(), std::string("/dev/pts/42"));
        QCOMPARE(w.CurrentDeviceType(), std::uint8_t(0));
        QVERIFY(editors.Current() == nullptr);
    }

    void typingAPortStoresEveryKeystrokeAndSetsThePath() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        w.cbbPorts->lineEdit()->clear();
        QTest::keyClicks(w.cbbPorts->lineEdit(), QStringLiteral("ttyACM1"));
        QCOMPARE(rig.settings().raw("comportname").toString(), QStringLiteral("ttyACM1"));
        QCOMPARE(rig.link().port.PortName(), std::string("/dev/ttyACM1"));
        QTest::keyClick(w.cbbPorts->lineEdit(), Qt::Key_Backspace);
        QCOMPARE(rig.settings().raw("comportname").toString(), QStringLiteral("ttyACM"));
        QCOMPARE(rig.link().port.PortName(), std::string("/dev/ttyACM"));
        // An emptied box is stored as such but names no port: the last path stays.
        w.cbbPorts->lineEdit()->clear();
        QCOMPARE(rig.link().port.PortName(), std::string("/dev/ttyACM"));
        QVERIFY(rig.settings().fileText().contains("comportname=\n") ||
                rig.settings().fileText().contains("comportname=\"\""));
        w.cbbPorts->setEditText(QStringLiteral("/dev/pts/9"));
        QCOMPARE(rig.link().port.PortName(), std::string("/dev/pts/9"));
    }

    void openingThePortListRebuildsItFromTheSystem() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        int asked = 0;
        w.SetPortSource([&] {
            ++asked;
            return std::vector<PortListItem>{{"ttyACM0", true}, {"ttyS0", false}};
        });
        w.show();
        w.cbbPorts->showPopup();
        w.cbbPorts->hidePopup();
        QCOMPARE(asked, 1);
        QCOMPARE(w.cbbPorts->count(), 2);
        QVERIFY(!w.cbbPorts->itemIcon(0).isNull());
        QVERIFY(w.cbbPorts->itemIcon(1).isNull());
        QCOMPARE(w.cbbPorts->currentText(), QStringLiteral("ttyUSB0"));
        w.cbbPorts->setCurrentIndex(0); // the user picks the marked port
        QCOMPARE(rig.settings().raw("comportname").toString(), QStringLiteral("ttyACM0"));
        QCOMPARE(rig.link().port.PortName(), std::string("/dev/ttyACM0"));
        w.cbbPorts->showPopup();
        w.cbbPorts->hidePopup();
        QCOMPARE(asked, 2);
        QCOMPARE(w.cbbPorts->currentText(), QStringLiteral("ttyACM0"));
    }

    void stateTable() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        QCOMPARE(CommandsOf(w), kNoDevice);
        w.openEditorOfType(30);
        QCOMPARE(w.CurrentDeviceType(), std::uint8_t(30));
        QCOMPARE(CommandsOf(w), kEditor);
        w.EnableControls(false);
        QCOMPARE(CommandsOf(w), kExchange);
        QVERIFY(!rig.editor()->isEnabled());
        w.UpdateDeviceActions(); // no write, reset or save while the exchange runs
        QCOMPARE(CommandsOf(w), kExchange);
        // A device chosen from the menu during the exchange does not open the commands.
        w.openEditorOfType(26);
        QCOMPARE(CommandsOf(w), kExchange);
        QVERIFY(!rig.editor()->isEnabled());
        w.EnableControls(true);
        w.UpdateDeviceActions();
        QCOMPARE(CommandsOf(w), kEditor);
        QVERIFY(rig.editor()->isEnabled());
        w.OnEditorReport(EditorReport::Closing, rig.editor());
        QCOMPARE(CommandsOf(w), kNoDevice);
    }

    void anotherWindowsTransferDisablesTheDeviceCommands() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        w.openEditorOfType(26);
        w.SetExchangeRunning(true);
        QCOMPARE(CommandsOf(w), kExchange);
        QVERIFY(!rig.editor()->isEnabled());
        // Reports of the editor do not give the commands back while the transfer runs.
        w.OnEditorReport(EditorReport::Loaded, rig.editor());
        QCOMPARE(CommandsOf(w), kExchange);
        w.SetExchangeRunning(false);
        QCOMPARE(CommandsOf(w), kEditor);
        QVERIFY(rig.editor()->isEnabled());
    }

    void blinkInVirtualTime() {
        MainWindowRig rig;
        ui::StatusLine& status = rig.window().status();
        const QColor normal = status.normalColour();
        QVERIFY(normal != ui::kStatusRed && normal != ui::kStatusGreen);
        rig.window().ShowStatus(QColor(255, 0, 0), QStringLiteral("Нет связи с прибором"));
        QCOMPARE(status.blinkInterval(), 400);
        QVERIFY(status.blinking());
        // 0 ms red; ticks at 400, 800, 1200, 1600, 2000 ms.
        QList<QColor> seen{status.colour()};
        for (int tick = 0; tick < 5; ++tick) {
            status.BlinkTimerTick();
            seen << status.colour();
        }
        const QColor red(255, 0, 0);
        QCOMPARE(seen, (QList<QColor>{red, normal, red, normal, red, normal}));
        QVERIFY(!status.blinking());
        QCOMPARE(status.text(), QStringLiteral("Нет связи с прибором"));

        // A new message in the middle of a blink starts the count again.
        rig.window().ShowStatus(red, QStringLiteral("a"));
        status.BlinkTimerTick();
        status.BlinkTimerTick();
        rig.window().ShowStatus(QColor(0, 128, 0), QStringLiteral("b"));
        QCOMPARE(status.blinkCounter(), 4);
        seen = {status.colour()};
        for (int tick = 0; tick < 5; ++tick) {
            status.BlinkTimerTick();
            seen << status.colour();
        }
        const QColor green(0, 128, 0);
        QCOMPARE(seen, (QList<QColor>{green, normal, green, normal, green, normal}));
    }

    void aHintBorrowsTheBarAndTheStatusTextComesBack() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.ShowStatus(ui::kStatusGreen, QStringLiteral("Данные прибора считаны"));
        w.FileOpen1->showStatusText(&w);
        QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("Открыть настройки из файла"));
        auto* text = w.statusBar()->findChild<QLabel*>(QStringLiteral("StatusText"));
        QVERIFY(!text->isVisible());
        QStatusTipEvent leave{QString()};
        QCoreApplication::sendEvent(&w, &leave);
        QVERIFY(text->isVisible());
        QCOMPARE(text->text(), QStringLiteral("Данные прибора считаны"));
    }

    void aPortRefusedForLackOfRightsSaysWhichGroupGivesThem() {
        auto backend = std::make_unique<FakeSerialBackend>();
        backend->openOk = false;
        backend->openFailure = OpenFailure::AccessDenied;
        MainWindowRig rig(SystemLinkClock(), std::move(backend));
        QVERIFY(rig.Read("ttyUSB0"));
        const QString text = rig.window().status().text();
        QVERIFY2(text.startsWith(QStringLiteral("Невозможно открыть порт — ")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("dialout")), qPrintable(text));
        QCOMPARE(CommandsOf(rig.window()), kNoDevice);
    }

    void linkReportsBecomeStatusTexts() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        w.EnableControls(false);
        w.onExchangeReport(2, 0);
        QCOMPARE(w.status().text(), QStringLiteral("Порт открыт..."));
        QVERIFY(!w.status().blinking());
        w.onExchangeReport(3, 0);
        QCOMPARE(w.status().text(), QStringLiteral("Ответ прибора получен"));
        QCOMPARE(CommandsOf(w), kExchange);
        for (int ignored : {1, 4, 5, 9, 127})
            w.onExchangeReport(ignored, 0);
        QCOMPARE(w.status().text(), QStringLiteral("Ответ прибора получен"));
        QCOMPARE(CommandsOf(w), kExchange);

        w.onExchangeReport(6, 0);
        QCOMPARE(w.status().text(), QStringLiteral("Невозможно открыть порт"));
        QCOMPARE(w.status().colour(), QColor(255, 0, 0));
        QCOMPARE(CommandsOf(w), kNoDevice);

        w.EnableControls(false);
        w.onExchangeReport(0x80 | 7, 0); // only the low seven bits are the code
        QCOMPARE(w.status().text(),
                 QStringLiteral("Нет связи, проверьте соединения или номер порта"));
        QCOMPARE(w.status().colour(), QColor(255, 0, 0));
        QCOMPARE(CommandsOf(w), kNoDevice);

        w.openEditorOfType(30);
        w.EnableControls(false);
        w.onExchangeReport(8, 0);
        const auto shown = ui::Dialogs::takeMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QStringLiteral("Ошибка"));
        QCOMPARE(shown[0].text,
                 QStringLiteral("Прибор не поддерживается.\r\nПопробуйте обновить программатор"));
        QCOMPARE(shown[0].icon, MessageIcon::Error);
        QCOMPARE(CommandsOf(w), kEditor); // the editor that was open stays
        QCOMPARE(w.status().text(),
                 QStringLiteral("Нет связи, проверьте соединения или номер порта"));
    }

    void aReadOfTheCurrentTypeKeepsTheEditorAndDoesNotResetIt() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        rig.Receive(Reply30());
        w.EnableControls(false);
        w.onExchangeReport(0, 30);
        FakeEditor* first = rig.editor();
        QVERIFY(first);
        QCOMPARE(first->setDefaultsCalls, 1);
        QCOMPARE(first->record[0], std::uint8_t(0x80));
        QCOMPARE(first->windowTitle(), QStringLiteral("Velmar 280, Версия прибора - 9"));
        QCOMPARE(w.status().text(), QStringLiteral("Данные прибора считаны"));
        QCOMPARE(w.status().colour(), QColor(0, 128, 0));
        QCOMPARE(CommandsOf(w), kEditor);
        QCOMPARE(first->parentWidget()->pos(), QPoint(0, 0));

        first->record[0] = 0x00; // edited, then read again
        w.EnableControls(false);
        w.onExchangeReport(0, 30);
        QCOMPARE(rig.editor(), first);
        QCOMPARE(first->setDefaultsCalls, 1);
        QCOMPARE(first->record[0], std::uint8_t(0x80));
    }

    // A valid 7-byte frame of type 26 has no room for the 13-byte record: the receive buffer
    // behind it holds only its CRC and zeros, which must not become the record.
    void aReplyTooShortForTheRecordChangesNothingAndIsNoSuccess() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        w.openEditorOfType(26);
        FakeEditor* editor = rig.editor();
        editor->record[0] = 0x55; // an edit of the user's
        rig.Receive({0x7E, 0x07, 0x52, 0x1A, 0x09, 0x00, 0x8C});
        w.EnableControls(false);
        w.onExchangeReport(0, 26);
        QCOMPARE(rig.editor(), editor);
        QCOMPARE(editor->record[0], std::uint8_t(0x55));
        QCOMPARE(editor->recordToControlsCalls, 1); // the reset when it opened, no more
        QCOMPARE(editor->windowTitle(), QStringLiteral("Miren-1"));
        QCOMPARE(w.status().colour(), QColor(255, 0, 0));
        QVERIFY(w.status().text() != QStringLiteral("Данные прибора считаны"));
        QCOMPARE(CommandsOf(w), kEditor);
    }

    void aReadOfAnotherTypeReplacesTheEditor() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        w.openEditorOfType(26);
        QPointer<FakeEditor> old = rig.editor();
        rig.Receive(Reply30());
        w.onExchangeReport(0, 30);
        QVERIFY(waitUntil([&] { return old.isNull(); }));
        QCOMPARE(rig.editor()->DeviceType, std::uint8_t(30));
        QCOMPARE(w.CurrentDeviceType(), std::uint8_t(30));
    }

    void editorReports() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        w.openEditorOfType(26);
        struct Row {
            EditorReport code;
            const char* text;
            QColor colour;
        };
        const Row rows[] = {
            {EditorReport::Written, "Данные записаны", QColor(0, 128, 0)},
            {EditorReport::PortFailed, "Невозможно открыть порт", QColor(255, 0, 0)},
            {EditorReport::NoLink, "Нет связи с прибором", QColor(255, 0, 0)},
            {EditorReport::ConfigError, "Ошибка конфигурации", QColor(255, 0, 0)},
        };
        for (const Row& row : rows) {
            w.EnableControls(false);
            w.OnEditorReport(row.code, rig.editor());
            QCOMPARE(w.status().text(), QString::fromUtf8(row.text));
            QCOMPARE(w.status().colour(), row.colour);
            QCOMPARE(CommandsOf(w), kEditor);
        }
        // A load, an unknown code: no text, the commands come back.
        for (int code : {0, 4, 9}) {
            w.status().SetText(QStringLiteral("before"));
            w.EnableControls(false);
            w.OnEditorReport(static_cast<EditorReport>(code), rig.editor());
            QCOMPARE(w.status().text(), QStringLiteral("before"));
            QCOMPARE(CommandsOf(w), kEditor);
        }
    }

    void aLateClosingReportDoesNotForgetANewerEditor() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        w.openEditorOfType(35);
        // Replacing the type 35 editor queues its closing report behind the new editor.
        w.openEditorOfType(30);
        FakeEditor* newer = rig.editor();
        QTest::qWait(50);
        QCOMPARE(rig.editor(), newer);
        QCOMPARE(w.CurrentDeviceType(), std::uint8_t(30));
        QCOMPARE(CommandsOf(w), kEditor);
        // Its own closing report forgets it.
        w.OnEditorReport(EditorReport::Closing, newer);
        QCOMPARE(w.CurrentDeviceType(), std::uint8_t(0));
        QVERIFY(rig.editors().Current() == nullptr);
    }

    void deviceMenuStoresTheChoice() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        QAction* velmar280 = nullptr;
        for (QAction* item : DeviceItems(w)) {
            if (item->data().toInt() == 30)
                velmar280 = item;
        }
        QVERIFY(velmar280);
        velmar280->trigger();
        QCOMPARE(w.CurrentDeviceType(), std::uint8_t(30));
        QCOMPARE(rig.editor()->windowTitle(), QStringLiteral("Velmar 280"));
        QCOMPARE(rig.settings().raw("devicetype").toString(), QStringLiteral("30"));
        // A type whose editor is not there: stored all the same, said so, and the open editor
        // (with whatever the user changed in it) stays.
        ui::DeviceEditor* open = rig.editor();
        w.openEditorOfType(31);
        QCOMPARE(rig.settings().raw("devicetype").toString(), QStringLiteral("31"));
        QVERIFY(ui::Dialogs::takeMessages() == QList<ui::ShownMessage>{kNotSupportedByProgrammer});
        QCOMPARE(rig.editors().Current(), open);
        QCOMPARE(w.CurrentDeviceType(), std::uint8_t(30));
        QCOMPARE(CommandsOf(w), kEditor);
    }

    void recentlyChosenDevice() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        w.actRecentDevice->trigger(); // nothing stored: "0", nothing happens
        QVERIFY(rig.editors().Current() == nullptr);
        QCOMPARE(rig.settings().raw("devicetype").toString(), QStringLiteral("0"));
        QVERIFY(ui::Dialogs::takeMessages().isEmpty());

        rig.settings().setRaw("devicetype", "286"); // its low byte is 30
        w.actRecentDevice->trigger();
        QCOMPARE(w.CurrentDeviceType(), std::uint8_t(30));
        QCOMPARE(rig.settings().raw("devicetype").toString(), QStringLiteral("286"));
        QCOMPARE(CommandsOf(w), kEditor);

        rig.settings().setRaw("devicetype", "28"); // catalogued, no editor: the editor stays
        w.actRecentDevice->trigger();
        QVERIFY(ui::Dialogs::takeMessages() == QList<ui::ShownMessage>{kNotSupportedByProgrammer});
        QCOMPARE(w.CurrentDeviceType(), std::uint8_t(30));
        QCOMPARE(CommandsOf(w), kEditor);

        w.openEditorOfType(26);
        rig.settings().setRaw("devicetype", "Velmar");
        w.actRecentDevice->trigger();
        const auto shown = ui::Dialogs::takeMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QStringLiteral("Программатор"));
        QCOMPARE(shown[0].text, QStringLiteral("'Velmar' is not a valid integer value."));
        QCOMPARE(shown[0].icon, MessageIcon::Error);
        QCOMPARE(w.CurrentDeviceType(), std::uint8_t(26)); // the state before stays
    }

    void resetAndWriteGoToTheEditor() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        w.actSetDefault->trigger(); // no editor: nothing
        w.actDevWrite->trigger();
        w.openEditorOfType(26);
        FakeEditor* editor = rig.editor();
        editor->record[0] = 0xEE;
        w.actSetDefault->trigger();
        QCOMPARE(editor->record, TestDefaults(26));
        QCOMPARE(editor->setDefaultsCalls, 2);
        QVERIFY(ui::Dialogs::takeMessages().isEmpty());
        // The read before the write finds no device here: the commands must come back.
        w.actDevWrite->trigger();
        QVERIFY(waitUntil([&] { return CommandsOf(w) == kEditor; }));
        QVERIFY(editor->isEnabled());
    }

    void readWhileAnotherExchangeHoldsTheLink() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        PtyPair pty;
        QVERIFY(pty.ok());
        rig.link().port.SetPortName(pty.slavePath());
        auto other = std::make_shared<RecordingTarget>();
        QVERIFY(rig.link().StartExchange(ExchangeMode::Read, other));
        w.openEditorOfType(30);
        w.actDevRead->trigger();
        QCOMPARE(CommandsOf(w), kEditor);
        QCOMPARE(w.status().text(), QStringLiteral("Идет обмен с прибором, повторите позже"));
        w.status().SetText(QString());
        w.actDevWrite->trigger();
        QCOMPARE(CommandsOf(w), kEditor);
        QCOMPARE(w.status().text(), QStringLiteral("Идет обмен с прибором, повторите позже"));
        rig.link().StopExchange();
    }

    void updateFirmwareOpensOneWindowThatHoldsTheDeviceCommandsWhileItTransfers() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        w.show();
        w.openEditorOfType(26);
        w.actUpdateFirmware->trigger();
        QCOMPARE(w.workArea()->subWindowList().size(), 2);
        auto* firmware = w.workArea()->findChild<ui::FirmwareWindow*>();
        QVERIFY(firmware);
        QCOMPARE(w.firmwareWindow(), firmware);
        QCOMPARE(firmware->parentWidget()->pos(), QPoint(0, 0));
        // A title bar with the window's caption and no buttons.
        const Qt::WindowFlags flags = firmware->parentWidget()->windowFlags();
        QVERIFY(!(flags & Qt::FramelessWindowHint));
        QVERIFY(flags & Qt::WindowTitleHint);
        QVERIFY(!(flags & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint)));
        QCOMPARE(firmware->parentWidget()->windowTitle(),
                 QStringLiteral("Обновление прошивки прибора"));
        QVERIFY(!rig.link().ExchangeRunning());

        // Pressed again while an editor covers it: no second window, the one there comes to
        // the front.
        w.workArea()->setActiveSubWindow(
            qobject_cast<QMdiSubWindow*>(rig.editor()->parentWidget()));
        w.actUpdateFirmware->trigger();
        QCOMPARE(w.workArea()->subWindowList().size(), 2);
        QCOMPARE(w.workArea()->findChildren<ui::FirmwareWindow*>().size(), 1);
        QWidget* frame = firmware->parentWidget();
        QVERIFY(w.workArea()->activeSubWindow() == frame);
        QVERIFY(w.workArea()->subWindowList(QMdiArea::StackingOrder).last() == frame);

        emit firmware->transferRunning(true);
        QCOMPARE(CommandsOf(w), kExchange);
        QVERIFY(!rig.editor()->isEnabled());
        emit firmware->transferRunning(false);
        QCOMPARE(CommandsOf(w), kEditor);

        // Left by its exit button, it can be opened again.
        QPointer<ui::FirmwareWindow> left = firmware;
        firmware->btExit->click();
        QVERIFY(QTest::qWaitFor([&] { return left.isNull(); }));
        QVERIFY(w.firmwareWindow() == nullptr);
        QCOMPARE(w.workArea()->subWindowList().size(), 1);
        w.actUpdateFirmware->trigger();
        QCOMPARE(w.workArea()->findChildren<ui::FirmwareWindow*>().size(), 1);
        QVERIFY(ui::Dialogs::takeMessages().isEmpty());
    }

    // The side panel's "Выход", "Файл" -> "Выход" and closing the window all end in the same
    // question while a firmware transfer runs.
    void exitDuringAFirmwareTransferAsksFirst() {
        auto backend = std::make_unique<FakeSerialBackend>(); // takes the block, never answers
        FakeSerialBackend* port = backend.get();
        MainWindowRig rig(SystemLinkClock(), std::move(backend));
        MainWindow& w = rig.window();
        w.show();
        w.actUpdateFirmware->trigger();
        ui::FirmwareWindow* firmware = w.firmwareWindow();
        TempDir dir;
        std::ofstream(dir / "update.enc") << "0003AABBCC";
        ui::Dialogs::setNextFileName(QString::fromStdString((dir / "update.enc").string()));
        firmware->btnOpenFile->click();
        firmware->btnUpdate->click();
        QVERIFY(waitUntil([&] { return port->writtenCount == 5; }));

        w.FileExit1->trigger(); // No, the default
        QVERIFY(w.isVisible());
        QVERIFY(firmware->Updating());
        QVERIFY(rig.link().ExchangeRunning());
        auto shown = ui::Dialogs::takeMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].icon, MessageIcon::Question);

        ui::Dialogs::setNextAnswer(true);
        w.findChild<QPushButton*>(QStringLiteral("btnExit"))->click();
        QVERIFY(!w.isVisible());
        QVERIFY(!rig.link().ExchangeRunning());
        shown = ui::Dialogs::takeMessages();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].icon, MessageIcon::Question);
        QVERIFY(shown[1] == (ui::ShownMessage{"Обновление прошивки", "Обновление прошивки прервано",
                                              MessageIcon::Warning}));
    }

    void aWindowSmallerThanTheEditorScrollsToItsLowerRightPart() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        w.resize(500, 350);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.openEditorOfType(30);
        QWidget* frame = rig.editor()->parentWidget();
        frame->resize(700, 600);
        ui::WorkArea* area = w.workArea();
        QVERIFY(waitUntil([&] { return area->verticalScrollBar()->isVisible(); }));
        QVERIFY(area->horizontalScrollBar()->isVisible());
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
        area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->maximum());
        QVERIFY(waitUntil(
            [&] { return area->viewport()->rect().contains(frame->geometry().bottomRight()); }));
    }

    void exitClosesTheEditorAndTheWindow() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        w.show();
        w.openEditorOfType(26);
        bool closedByForm = false;
        rig.editor()->whenClosing = [&] {
            closedByForm = true;
        };
        w.FileExit1->trigger();
        QVERIFY(closedByForm);
        QVERIFY(!w.isVisible());
        QVERIFY(rig.editors().Current() == nullptr);
        QVERIFY(!rig.link().port.Connected());
        QVERIFY(ui::Dialogs::takeMessages().isEmpty());
    }
};

TESMIRA_WIDGET_TEST(TestMainWindow)
#include "tst_main_window.moc"
