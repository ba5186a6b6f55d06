#include "support/LinkFakes.h"
#include "support/ui/MainWindowRig.h"
#include "support/ui/WidgetTestMain.h"
#include "tools/DevsimProcess.h"

#include <QElapsedTimer>
#include <QTest>

using namespace tesmira;
using namespace tesmira::test;
using tesmira::ui::Dialogs;
using tesmira::ui::MainWindow;
using tesmira::ui::MessageIcon;

class TestMainWindowWithDevice : public QObject {
    Q_OBJECT
private slots:

    void readingASupportedDeviceTwiceKeepsItsEditor() {
        DevsimProcess sim({"--type", "30", "--version", "9"});
        QVERIFY(!sim.slavePath().empty());
        MainWindowRig rig;
        MainWindow& w = rig.window();
        QVERIFY(rig.Read(sim.slavePath()));
        QCOMPARE(w.status().text(), QStringLiteral("Данные прибора считаны"));
        QCOMPARE(w.status().colour(), QColor(0, 128, 0));
        FakeEditor* editor = rig.editor();
        QVERIFY(editor);
        QCOMPARE(editor->windowTitle(), QStringLiteral("Velmar 280, Версия прибора - 9"));
        QCOMPARE(editor->record.size(), std::size_t(58));
        QVERIFY(editor->record != TestDefaults(30)); // the device's record, not the defaults
        QCOMPARE(CommandsOf(w), kEditor);
        QVERIFY(!rig.link().port.Connected());

        editor->record[0] ^= 0xFF;
        QVERIFY(rig.Read(sim.slavePath()));
        QCOMPARE(rig.editor(), editor);
        QCOMPARE(editor->setDefaultsCalls, 1);
        QCOMPARE(editor->shown, editor->record);
        QVERIFY(Dialogs::takeMessages().isEmpty());
    }

    void readingACataloguedTypeWithoutEditor() {
        DevsimProcess sim({"--type", "29"});
        MainWindowRig rig;
        MainWindow& w = rig.window();
        w.openEditorOfType(30);
        QPointer<FakeEditor> old = rig.editor();
        QVERIFY(rig.Read(sim.slavePath()));
        QCOMPARE(w.status().text(), QStringLiteral("Прибор не поддерживается"));
        QCOMPARE(w.status().colour(), QColor(255, 0, 0));
        const auto shown = Dialogs::takeMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QStringLiteral("Information"));
        QCOMPARE(shown[0].text, QStringLiteral("Подключенный прибор:\r\nGSM-коммуникатор "
                                               "объектовый,\r\nданным программатором не "
                                               "поддерживается"));
        QCOMPARE(shown[0].icon, MessageIcon::Information);
        QVERIFY(waitUntil([&] { return old.isNull(); }));
        QCOMPARE(w.CurrentDeviceType(), std::uint8_t(0));
        QCOMPARE(CommandsOf(w), kNoDevice);
    }

    void aReplyOfAnUnknownType_data() {
        QTest::addColumn<QString>("type");
        QTest::newRow("0") << "0";
        QTest::newRow("36") << "36";
    }

    void aReplyOfAnUnknownType() {
        QFETCH(QString, type);
        DevsimProcess sim({"--type", type.toStdString()});
        MainWindowRig rig;
        QVERIFY(rig.Read(sim.slavePath()));
        const auto shown = Dialogs::takeMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QStringLiteral("Ошибка"));
        QCOMPARE(shown[0].text,
                 QStringLiteral("Прибор не поддерживается.\r\nПопробуйте обновить программатор"));
        QCOMPARE(shown[0].icon, MessageIcon::Error);
        QCOMPARE(rig.window().status().text(), QStringLiteral("Ответ прибора получен"));
        QCOMPARE(CommandsOf(rig.window()), kNoDevice);
    }

    void aSilentDevice() {
        DevsimProcess sim({"--type", "30", "--silent"});
        FastSleepClock clock(FastSleepClock::kSilentSpeedUp);
        MainWindowRig rig(clock);
        QVERIFY(rig.Read(sim.slavePath()));
        QCOMPARE(rig.window().status().text(),
                 QStringLiteral("Нет связи, проверьте соединения или номер порта"));
        QCOMPARE(rig.window().status().colour(), QColor(255, 0, 0));
        QCOMPARE(CommandsOf(rig.window()), kNoDevice);
        QVERIFY(Dialogs::takeMessages().isEmpty());
        QVERIFY(!rig.link().port.Connected());
    }

    void aPortThatCannotBeOpened() {
        MainWindowRig rig;
        rig.window().openEditorOfType(26);
        rig.window().cbbPorts->setEditText(QStringLiteral("ttyTesmiraAbsent7"));
        rig.window().actDevRead->trigger();
        QVERIFY(waitUntil([&] { return !rig.link().ExchangeRunning(); }));
        QCOMPARE(rig.window().status().text(), QStringLiteral("Невозможно открыть порт"));
        QCOMPARE(rig.window().status().hint(),
                 QStringLiteral("Порт не найден: проверьте, что шнур подключен и выбран верный "
                                "порт"));
        QCOMPARE(CommandsOf(rig.window()), kEditor);
        QCOMPARE(rig.window().CurrentDeviceType(), std::uint8_t(26));
    }

    void exitDuringARead() {
        DevsimProcess sim({"--type", "30", "--silent"});
        MainWindowRig rig; // the real 10 s wait for the first reply byte
        MainWindow& w = rig.window();
        w.show();
        w.openEditorOfType(30);
        w.cbbPorts->setEditText(QString::fromStdString(sim.slavePath()));
        w.actDevRead->trigger();
        QVERIFY(waitUntil([&] { return w.status().text() == "Порт открыт..."; }));
        QVERIFY(rig.link().ExchangeRunning());
        QElapsedTimer timer;
        timer.start();
        w.FileExit1->trigger();
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(!rig.link().ExchangeRunning());
        QVERIFY(!rig.link().port.Connected());
        QVERIFY(!w.isVisible());
        QVERIFY(rig.editors().Current() == nullptr);
        QTest::qWait(100); // nothing late arrives for the closed window
        QVERIFY(Dialogs::takeMessages().isEmpty());
    }

    void exitWhileTheExchangeWaitsForItsReport() {
        DevsimProcess sim({"--type", "30", "--silent"});
        MainWindowRig rig;
        MainWindow& w = rig.window();
        w.show();
        QElapsedTimer timer;
        // Exit from inside the handling of "port opened": the exchange thread waits for it.
        connect(&w.status(), &ui::StatusLine::textChanged, &w, [&](const QString& text) {
            if (text == QStringLiteral("Порт открыт...")) {
                timer.start();
                w.FileExit1->trigger();
            }
        });
        w.cbbPorts->setEditText(QString::fromStdString(sim.slavePath()));
        w.actDevRead->trigger();
        QVERIFY(waitUntil([&] { return !w.isVisible(); }, 5000));
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(!rig.link().ExchangeRunning());
        QVERIFY(!rig.link().port.Connected());
    }
};

TESMIRA_WIDGET_TEST(TestMainWindowWithDevice)
#include "e2e_main_window.moc"
