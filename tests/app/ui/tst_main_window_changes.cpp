// The main window keeps the user's configuration: the changed mark in the title, "Сохранить",
// the question before changed edits go, refused files, and undo and redo, with the program's own
// editors and scripted dialog answers.
#include "support/LinkFrames.h"
#include "support/TempDir.h"
#include "support/ui/FormDriver.h"
#include "support/ui/MainWindowRig.h"
#include "support/ui/WidgetTestMain.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QUndoStack>

using namespace tesmira;
using namespace tesmira::test;
using tesmira::ui::Dialogs;
using tesmira::ui::MainWindow;
using tesmira::ui::MessageIcon;
using tesmira::ui::SaveAnswer;

Q_DECLARE_METATYPE(tesmira::ui::SaveAnswer)

namespace {

// Version 1, type 26, the factory record, CRC-8.
const Bytes kFile26 = {0x01, 0x00, 0x1A, 0x00, 0x0D, 0x01, 0x08, 0x05, 0x02, 0x03,
                       0x04, 0x07, 0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0x4C};

QComboBox* Letter(MainWindowRig& rig) {
    return FindControl<QComboBox>(*rig.editors().Current(), "bxTxLetter");
}

// A key on the transmitter letter list, as the user presses it; the change is seen once the
// key has been handled.
void Press(MainWindowRig& rig, Qt::Key key) {
    QTest::keyClick(Letter(rig), key);
    QCoreApplication::processEvents();
}

QString Title(const QString& file, const QString& caption) {
    return file + QStringLiteral(" - [") + caption + QStringLiteral("][*]");
}

} // namespace

class TestMainWindowChanges : public QObject {
    Q_OBJECT
private slots:

    void theTitleNamesWhatIsOpenAndMarksItChanged() {
        ProgramRig rig;
        MainWindow& w = rig.window();
        TempDir dir;
        const QString path = WriteFileBytes(dir / "site.bcf", kFile26);
        Dialogs::setNextFileName(path);
        w.FileOpen1->trigger();
        QCOMPARE(w.windowTitle(), Title(QStringLiteral("Программатор : ") + path, "Miren-1"));
        QVERIFY(!w.isWindowModified());

        Press(rig, Qt::Key_Down);
        QVERIFY(w.isWindowModified());
        Press(rig, Qt::Key_Up); // changed back: no change
        QVERIFY(!w.isWindowModified());

        // "Сохранить" writes the opened file without a dialog.
        Press(rig, Qt::Key_Down);
        w.FileSave1->trigger();
        QVERIFY(!w.isWindowModified());
        QCOMPARE(ReadFileBytes(path.toStdString()).at(5), std::uint8_t(0x02));
        QVERIFY(Dialogs::takeMessages().isEmpty());

        // After a read the window shows the device, not the file, and "Сохранить" asks for a name.
        rig.Receive(ShortReply(26, 19));
        w.onExchangeReport(0, 26);
        QCOMPARE(w.windowTitle(), Title("Tesmira", "Miren-1, Версия прибора - 3"));
        Press(rig, Qt::Key_Down);
        QVERIFY(w.isWindowModified());
        const QString other = QString::fromStdString((dir / "other.bcf").string());
        Dialogs::setNextFileName(other);
        w.FileSave1->trigger();
        QVERIFY(QFile::exists(other));
        QVERIFY(!w.isWindowModified());
        QCOMPARE(w.windowTitle(), Title("Tesmira", "Miren-1, Версия прибора - 3"));

        // An editor that is not changed goes without a question.
        w.openEditorOfType(30);
        QVERIFY(Dialogs::takeMessages().isEmpty());
        QCOMPARE(w.windowTitle(), Title("Tesmira", "Velmar 280"));
    }

    void aChangedEditorIsNotLostWithoutAQuestion_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<SaveAnswer>("answer");
        QTest::addColumn<bool>("named"); // the save dialog, if any, is given a name
        for (const char* how : {"menu pick", "read", "exit"}) {
            QTest::addRow("%s, cancel", how) << how << SaveAnswer::Cancel << true;
            QTest::addRow("%s, discard", how) << how << SaveAnswer::Discard << true;
            QTest::addRow("%s, save", how) << how << SaveAnswer::Save << true;
        }
        QTest::newRow("save dialog cancelled") << "exit" << SaveAnswer::Save << false;
    }

    void aChangedEditorIsNotLostWithoutAQuestion() {
        QFETCH(QString, how);
        QFETCH(SaveAnswer, answer);
        QFETCH(bool, named);
        ProgramRig rig;
        MainWindow& w = rig.window();
        TempDir dir;
        w.openEditorOfType(26);
        QPointer<ui::DeviceEditor> editor = rig.editors().Current();
        Press(rig, Qt::Key_Down);
        const QString saved = QString::fromStdString((dir / "saved.bcf").string());
        Dialogs::setNextSaveAnswer(answer);
        if (named)
            Dialogs::setNextFileName(saved);

        bool closed = false;
        if (how == "menu pick") {
            w.openEditorOfType(30);
        } else if (how == "read") {
            rig.Receive(ShortReply(30, 64));
            w.onExchangeReport(0, 30);
        } else {
            closed = w.close();
        }
        const auto shown = Dialogs::takeMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QStringLiteral("Программатор"));
        QCOMPARE(shown[0].text, QStringLiteral("Конфигурация изменена и не сохранена.\r\n"
                                               "Сохранить изменения в файл?"));
        QCOMPARE(shown[0].icon, MessageIcon::Question);
        QCOMPARE(QFile::exists(saved), answer == SaveAnswer::Save && named);

        if (answer == SaveAnswer::Cancel || !named) {
            QCOMPARE(rig.editors().Current(), editor.data());
            QCOMPARE(Letter(rig)->currentIndex(), 1);
            QVERIFY(w.isWindowModified());
            QVERIFY(!closed);
            QCOMPARE(rig.settings().raw("devicetype").toString(), QStringLiteral("26"));
            if (how == "read")
                QCOMPARE(w.status().text(), QStringLiteral("Чтение отменено"));
            return;
        }
        QVERIFY(waitUntil([&] { return editor.isNull(); }));
        QCOMPARE(closed, how == "exit");
        if (!closed)
            QCOMPARE(w.CurrentDeviceType(), std::uint8_t(30));
    }

    void aRefusedFileKeepsWhatIsOpen_data() {
        QTest::addColumn<QByteArray>("file");
        // Files whose header and CRC are sound, with a 1-byte record where the type needs more.
        QTest::newRow("same type") << QByteArray("\x01\x00\x1A\x00\x01\xAA\xCF", 7);
        QTest::newRow("other type") << QByteArray("\x01\x00\x1E\x00\x01\xAA\x9D", 7);
    }

    void aRefusedFileKeepsWhatIsOpen() {
        QFETCH(QByteArray, file);
        ProgramRig rig;
        MainWindow& w = rig.window();
        w.openEditorOfType(26);
        ui::DeviceEditor* editor = rig.editors().Current();
        Press(rig, Qt::Key_Down);
        const QString title = w.windowTitle();
        const int steps = editor->History()->count();
        TempDir dir;
        Dialogs::setNextFileName(WriteFileBytes(dir / "bad.bcf", Bytes(file.begin(), file.end())));
        w.FileOpen1->trigger();
        const auto shown = Dialogs::takeMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("Файл поврежден."));
        QCOMPARE(rig.editors().Current(), editor);
        QCOMPARE(Letter(rig)->currentIndex(), 1);
        QVERIFY(w.isWindowModified());
        QCOMPARE(editor->History()->count(), steps);
        QCOMPARE(w.windowTitle(), title);
    }

    void undoAndRedoTakeBackChangesResetsAndReads() {
        ProgramRig rig;
        MainWindow& w = rig.window();
        w.openEditorOfType(26);
        QVERIFY(!w.EditUndo1->isEnabled() && !w.EditRedo1->isEnabled());
        Press(rig, Qt::Key_Down);
        QVERIFY(w.EditUndo1->isEnabled());
        w.actSetDefault->trigger();
        QCOMPARE(Letter(rig)->currentIndex(), 0);
        QVERIFY(!w.isWindowModified()); // the defaults the editor was opened with

        w.EditUndo1->trigger(); // the reset
        QCOMPARE(Letter(rig)->currentIndex(), 1);
        QVERIFY(w.isWindowModified());
        w.EditUndo1->trigger(); // the pick
        QCOMPARE(Letter(rig)->currentIndex(), 0);
        QVERIFY(!w.isWindowModified());
        QVERIFY(!w.EditUndo1->isEnabled() && w.EditRedo1->isEnabled());
        w.EditRedo1->trigger();
        QCOMPARE(Letter(rig)->currentIndex(), 1);

        // A read into the same editor, and a pick of its own type, are one step each.
        rig.Receive(kReply26);
        w.onExchangeReport(0, 26);
        QCOMPARE(Letter(rig)->currentIndex(), 0);
        Press(rig, Qt::Key_Down);
        w.openEditorOfType(26);
        QVERIFY(Dialogs::takeMessages().isEmpty());
        QCOMPARE(Letter(rig)->currentIndex(), 0);
        w.EditUndo1->trigger(); // the pick
        QCOMPARE(Letter(rig)->currentIndex(), 1);
        w.EditUndo1->trigger(); // the key
        w.EditUndo1->trigger(); // the read
        QCOMPARE(Letter(rig)->currentIndex(), 1);
        QVERIFY(w.isWindowModified());
    }

    void ctrlZUndoesTheTypingFirstThenTheLastChange() {
        ProgramRig rig;
        MainWindow& w = rig.window();
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.openEditorOfType(26);
        Press(rig, Qt::Key_Down);
        auto* delay = FindControl<QLineEdit>(*rig.editors().Current(), "edtRetDelIn");
        const QString shown = delay->text();
        TypeInto(delay, QStringLiteral("7"), false);
        for (int i = 0; i < 5 && delay->isUndoAvailable(); ++i)
            QTest::keyClick(delay, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(delay->text(), shown); // the edit's own typing
        QCOMPARE(Letter(rig)->currentIndex(), 1);
        QTest::keyClick(delay, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Letter(rig)->currentIndex(), 0); // nothing left to type back: the menu's
    }
};

TESMIRA_WIDGET_TEST(TestMainWindowChanges)
#include "tst_main_window_changes.moc"
