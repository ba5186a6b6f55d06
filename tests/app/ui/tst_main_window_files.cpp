#include "support/FactoryRecords.h"
#include "support/TempDir.h"
#include "support/ui/FormDriver.h"
#include "support/ui/MainWindowRig.h"
#include "support/ui/WidgetTestMain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace tesmira;
using namespace tesmira::test;
using tesmira::ui::Dialogs;
using tesmira::ui::MainWindow;
using tesmira::ui::MessageIcon;

namespace {

// Version 1, type 26, one 13-byte record, CRC-8.
const Bytes kFile26 = {0x01, 0x00, 0x1A, 0x00, 0x0D, 0x01, 0x08, 0x05, 0x02, 0x03,
                       0x04, 0x07, 0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0x4C};
// The same with its last byte changed: the CRC no longer matches.
const Bytes kDamaged26 = {0x01, 0x00, 0x1A, 0x00, 0x0D, 0x01, 0x08, 0x05, 0x02, 0x03,
                          0x04, 0x07, 0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0x4D};
const Bytes kVersion2 = {0x02, 0x00, 0x1A, 0x00, 0x0D, 0x01, 0x08, 0x05, 0x02, 0x03,
                         0x04, 0x07, 0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0xB3};
// A valid file of type 28, which the catalogue names but no editor serves.
const Bytes kFile28 = {0x01, 0x00, 0x1C, 0x00, 0x01, 0xAA, 0xB4};
// What the type 26 test editor's defaults (0x1A, 0x1B, ...) save as.
const Bytes kSaved26 = {0x01, 0x00, 0x1A, 0x00, 0x0D, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E,
                        0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x34};

QString Write(const TempDir& dir, const QString& name, const Bytes& bytes) {
    return WriteFileBytes(dir.path() / name.toStdString(), bytes);
}

Bytes Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    return Bytes(data.begin(), data.end());
}

QString Folder(const TempDir& dir) {
    return QString::fromStdString(dir.path().string()) + "/";
}

} // namespace

class TestMainWindowFiles : public QObject {
    Q_OBJECT
private slots:

    void openingAFileShowsItsRecordAndRemembersTheFolder() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        TempDir dir;
        const QString path = Write(dir, "site 1.bcf", kFile26);
        Dialogs::setNextFileName(path);
        w.FileOpen1->trigger();
        QCOMPARE(Dialogs::lastDialogDir(), QDir::currentPath() + "/");
        QCOMPARE(Dialogs::lastDialogFilter(), QStringLiteral("Файл конфигурации прибора (*.bcf)"));
        QVERIFY(Dialogs::takeMessages().isEmpty());
        QCOMPARE(w.CurrentDeviceType(), std::uint8_t(26));
        QCOMPARE(rig.editor()->record, kFactoryRecord26);
        QCOMPARE(rig.editor()->shown, kFactoryRecord26);
        QCOMPARE(w.windowTitle(), QStringLiteral("Программатор : ") + path + " - [Miren-1][*]");
        QCOMPARE(rig.settings().raw("filepath").toString(), Folder(dir));
        QCOMPARE(w.status().text(), QStringLiteral("Файл открыт: ") + path);
        QVERIFY(!w.status().blinking());
        QVERIFY(w.actDevWrite->isEnabled() && w.FileSaveAs1->isEnabled());

        // The next dialog starts in that folder.
        w.FileOpen1->trigger(); // cancelled
        QCOMPARE(Dialogs::lastDialogDir(), Folder(dir));
        QCOMPARE(w.CurrentDeviceType(), std::uint8_t(26));
        QCOMPARE(w.windowTitle(), QStringLiteral("Программатор : ") + path + " - [Miren-1][*]");
    }

    void refusedFilesShowTheStandardErrorBoxAndChangeNothing_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        auto bytes = [](const Bytes& b) {
            return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
        };
        QTest::newRow("damaged") << bytes(kDamaged26) << QStringLiteral("Файл поврежден.");
        QTest::newRow("version") << bytes(kVersion2)
                                 << QStringLiteral("Версия файла не поддерживается.");
        QTest::newRow("short") << bytes({0x01, 0x00, 0x1A, 0x8C})
                               << QStringLiteral("Файл поврежден.");
    }

    void refusedFilesShowTheStandardErrorBoxAndChangeNothing() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        MainWindowRig rig;
        MainWindow& w = rig.window();
        w.openEditorOfType(30);
        FakeEditor* editor = rig.editor();
        TempDir dir;
        Dialogs::setNextFileName(Write(dir, "bad.bcf", Bytes(bytes.begin(), bytes.end())));
        w.FileOpen1->trigger();
        const auto shown = Dialogs::takeMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QStringLiteral("Программатор"));
        QCOMPARE(shown[0].text, text);
        QCOMPARE(shown[0].icon, MessageIcon::Error);
        QCOMPARE(rig.editor(), editor);
        QCOMPARE(w.CurrentDeviceType(), std::uint8_t(30));
        QCOMPARE(w.windowTitle(), QStringLiteral("Tesmira - [Velmar 280][*]"));
        QCOMPARE(rig.settings().raw("filepath").toString(), QDir::currentPath() + "/");
    }

    void aMissingFileIsReportedNotCrashedOn() {
        MainWindowRig rig;
        TempDir dir;
        Dialogs::setNextFileName(Folder(dir) + "gone.bcf");
        rig.window().FileOpen1->trigger();
        const auto shown = Dialogs::takeMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QStringLiteral("Программатор"));
        QVERIFY(!shown[0].text.isEmpty());
        QCOMPARE(rig.window().CurrentDeviceType(), std::uint8_t(0));
    }

    void aFileOfATypeWithoutEditor() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        w.openEditorOfType(30);
        QPointer<FakeEditor> old = rig.editor();
        TempDir dir;
        Dialogs::setNextFileName(Write(dir, "v508.bcf", kFile28));
        w.FileOpen1->trigger();
        const auto shown = Dialogs::takeMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QStringLiteral("Ошибка "));
        QCOMPARE(shown[0].text, QStringLiteral("Данный прибор не поддерживается программатором"));
        QCOMPARE(shown[0].icon, MessageIcon::Information);
        // The open editor, with whatever it holds, stays.
        QCOMPARE(w.CurrentDeviceType(), std::uint8_t(30));
        QCOMPARE(rig.editors().Current(), old.data());
        QVERIFY(w.actDevWrite->isEnabled() && w.FileSaveAs1->isEnabled());
        QCOMPARE(w.windowTitle(), QStringLiteral("Tesmira - [Velmar 280][*]"));
        QCOMPARE(rig.settings().raw("filepath").toString(), QDir::currentPath() + "/");
    }

    void saveAsAppendsTheExtensionOnlyWhenItIsMissing_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::newRow("plain") << "conf"
                               << "conf.bcf";
        QTest::newRow("has it") << "conf.bcf"
                                << "conf.bcf";
        QTest::newRow("in the middle") << "a.bcf.old"
                                       << "a.bcf.old";
        QTest::newRow("upper case") << "x.BCF"
                                    << "x.BCF.bcf";
        QTest::newRow("other") << "site.txt"
                               << "site.txt.bcf";
        QTest::newRow("in a folder's name") << "site.bcf.d/conf"
                                            << "site.bcf.d/conf.bcf";
    }

    void saveAsAppendsTheExtensionOnlyWhenItIsMissing() {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        MainWindowRig rig;
        MainWindow& w = rig.window();
        w.openEditorOfType(26);
        TempDir dir;
        const QFileInfo file(Folder(dir) + written);
        QVERIFY(QDir().mkpath(file.absolutePath()));
        Dialogs::setNextFileName(Folder(dir) + chosen);
        w.FileSaveAs1->trigger();
        QVERIFY(Dialogs::takeMessages().isEmpty());
        QCOMPARE(file.dir().entryList(QDir::Files), QStringList{file.fileName()});
        QCOMPARE(Read(Folder(dir) + written), kSaved26);
        QCOMPARE(rig.editor()->commitEditCalls, 1);
        // No status text, setting or caption change.
        QCOMPARE(w.status().text(), QString());
        QCOMPARE(w.windowTitle(), QStringLiteral("Tesmira - [Miren-1][*]"));
        QVERIFY(!rig.settings().fileText().contains(Folder(dir)));
    }

    void saveAsStartsInTheRememberedFolderAndCanBeCancelled() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        TempDir dir;
        rig.settings().setRaw("filepath", Folder(dir));
        w.openEditorOfType(26);
        w.FileSaveAs1->trigger(); // cancelled
        QCOMPARE(Dialogs::lastDialogDir(), Folder(dir));
        QCOMPARE(Dialogs::lastDialogFilter(), QStringLiteral("Файл конфигурации прибора (*.bcf)"));
        QVERIFY(QDir(Folder(dir)).entryList(QDir::Files).isEmpty());
    }

    void aSaveThatFailsIsReported() {
        MainWindowRig rig;
        MainWindow& w = rig.window();
        w.openEditorOfType(26);
        TempDir dir;
        Dialogs::setNextFileName(Folder(dir) + "no such folder/conf");
        w.FileSaveAs1->trigger();
        const auto shown = Dialogs::takeMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QStringLiteral("Программатор"));
        QCOMPARE(shown[0].icon, MessageIcon::Error);
        QCOMPARE(w.CurrentDeviceType(), std::uint8_t(26));
    }
};

TESMIRA_WIDGET_TEST(TestMainWindowFiles)
#include "tst_main_window_files.moc"
