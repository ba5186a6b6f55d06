#include "gui/DeviceEditor.h"
#include "model/ConfigFile.h"
#include "support/FactoryRecords.h"
#include "support/TempDir.h"
#include "support/ui/FakeEditor.h"
#include "support/ui/LinkFixture.h"
#include "support/ui/UiTestSupport.h"
#include "support/ui/WidgetTestMain.h"

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include <memory>

using tesmira::ConfigFile;
using tesmira::ConfigFileError;
using tesmira::test::Bytes;
using tesmira::test::FakeEditor;
using tesmira::test::kFactoryRecord26;
using tesmira::test::kFactoryRecord27;
using tesmira::test::RecordingReceiver;
using tesmira::ui::DeviceEditor;
using tesmira::ui::EditorReport;

namespace {

Bytes readFile(const std::filesystem::path& path) {
    QFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    return Bytes(data.begin(), data.end());
}

QString qpath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

std::vector<EditorReport> codes(const RecordingReceiver& receiver) {
    std::vector<EditorReport> result;
    for (const auto& report : receiver.reports)
        result.push_back(report.code);
    return result;
}

} // namespace

class TestDeviceEditor : public QObject {
    Q_OBJECT
    tesmira::test::LinkFixture fixture;

private slots:
    void threadReportsBecomeEditorReportsAtOnce() {
        RecordingReceiver receiver;
        FakeEditor editor(fixture.link, kFactoryRecord26);
        editor.MainWindowHandle = &receiver;
        for (int ignored : {0, 2, 3, 5, 8, 9, -1, 1025})
            editor.OnExchangeReport(ignored, 0);
        QVERIFY(receiver.reports.isEmpty());
        editor.OnExchangeReport(1, 0);
        editor.OnExchangeReport(6, 0);
        editor.OnExchangeReport(7, 0);
        QVERIFY(codes(receiver) ==
                (std::vector<EditorReport>{EditorReport::Written, EditorReport::PortFailed,
                                           EditorReport::NoLink}));
        QCOMPARE(receiver.reports[0].sender, &editor);
        QCOMPARE(editor.fileCommandCalls, 0);
        editor.OnExchangeReport(4, 0);
        QCOMPARE(editor.fileCommandCalls, 1);
        QCOMPARE(receiver.reports.size(), 3);
    }

    void reportValuesAreTheMessageCodes() {
        QCOMPARE(int(EditorReport::Loaded), 0);
        QCOMPARE(int(EditorReport::Written), 1);
        QCOMPARE(int(EditorReport::PortFailed), 2);
        QCOMPARE(int(EditorReport::NoLink), 3);
        QCOMPARE(int(EditorReport::ConfigError), 5);
        QCOMPARE(int(EditorReport::Closing), 6);
    }

    void shortReplyIsLoadedCaptionedAndReported() {
        RecordingReceiver receiver;
        FakeEditor editor(fixture.link, kFactoryRecord26);
        editor.MainWindowHandle = &receiver;
        // Type 30, firmware version 9; a 13-byte record from byte 5.
        const Bytes reply = {0x7E, 0x13, 0x52, 0x1E, 0x09, 0x11, 0x12, 0x13, 0x14, 0x15,
                             0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x00};
        QVERIFY(editor.loadReply(reply));
        const Bytes expected = {0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17,
                                0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D};
        QVERIFY(editor.record == expected);
        QVERIFY(editor.shown == expected);
        QCOMPARE(editor.windowTitle(), QStringLiteral("Velmar 280, Версия прибора - 9"));
        QVERIFY(codes(receiver) == std::vector<EditorReport>{EditorReport::Loaded});
    }

    void longReplyRecordStartsAtByteSix() {
        FakeEditor editor(fixture.link, Bytes(4, 0x00));
        const Bytes reply = {0x14, 0x00, 0x00, 0x0B, 0x23, 0x07, 0xA1, 0xA2, 0xA3, 0xA4, 0x00};
        QVERIFY(editor.loadReply(reply));
        QVERIFY(editor.record == (Bytes{0xA1, 0xA2, 0xA3, 0xA4}));
        QCOMPARE(editor.windowTitle(), QStringLiteral("Tarn-32R, Версия прибора - 7"));
        // A version of 0 and an unknown type still give a caption.
        QCOMPARE(DeviceEditor::ReplyCaption(Bytes{0x7E, 0x06, 0x52, 0x24, 0x00, 0x00}),
                 QStringLiteral(", Версия прибора - 0"));
    }

    void replyWithoutRoomForTheRecordChangesNothing() {
        RecordingReceiver receiver;
        FakeEditor editor(fixture.link, kFactoryRecord26);
        editor.MainWindowHandle = &receiver;
        editor.setWindowTitle(QStringLiteral("Miren-1"));
        const Bytes tooShort = {0x7E, 0x10, 0x52, 0x1A, 0x01, 0x09, 0x09, 0x09};
        const Bytes foreign = Bytes(40, 0x33);
        QVERIFY(!editor.loadReply(tooShort));
        QVERIFY(!editor.loadReply(foreign));
        QVERIFY(!editor.loadReply({}));
        QVERIFY(editor.record == kFactoryRecord26);
        QCOMPARE(editor.recordToControlsCalls, 0);
        QCOMPARE(editor.windowTitle(), QStringLiteral("Miren-1"));
        QVERIFY(receiver.reports.isEmpty());
    }

    void defaultFilesOfTypes26And27() {
        tesmira::test::TempDir dir;
        FakeEditor editor26(fixture.link, kFactoryRecord26);
        editor26.DeviceType = 26;
        editor26.SetDefaults();
        editor26.SaveToFile(qpath(dir / "26.bcf"));
        QCOMPARE(editor26.commitEditCalls, 1);
        QVERIFY(readFile(dir / "26.bcf") ==
                (Bytes{0x01, 0x00, 0x1A, 0x00, 0x0D, 0x01, 0x08, 0x05, 0x02, 0x03, 0x04, 0x07, 0x65,
                       0x3C, 0x1E, 0x00, 0x00, 0x01, 0x4C}));

        FakeEditor editor27(fixture.link, kFactoryRecord27);
        editor27.DeviceType = 27;
        editor27.SaveToFile(qpath(dir / "27.bcf"));
        QVERIFY(readFile(dir / "27.bcf") ==
                (Bytes{0x01, 0x00, 0x1B, 0x00, 0x0D, 0x01, 0x08, 0x05, 0x0A, 0x03, 0x04, 0x07, 0x65,
                       0x3C, 0x1E, 0x00, 0x00, 0x01, 0x0F}));
    }

    void fileRecordOfTheRightLengthIsShown() {
        FakeEditor editor(fixture.link, Bytes(13, 0x00));
        ConfigFile reader;
        QCOMPARE(int(reader.LoadFromBytes(Bytes{0x01, 0x00, 0x1A, 0x00, 0x0D, 0x01, 0x08, 0x05,
                                                0x02, 0x03, 0x04, 0x07, 0x65, 0x3C, 0x1E, 0x00,
                                                0x00, 0x01, 0x4C})),
                 26);
        editor.LoadFromFile(reader);
        QVERIFY(editor.record == kFactoryRecord26);
        QVERIFY(editor.shown == kFactoryRecord26);
    }

    void fileRecordOfAnotherLengthLoadsNothingAndSaysNothing() {
        tesmira::test::DialogsInTestMode dialogs;
        FakeEditor editor(fixture.link, Bytes(13, 0xEE));
        ConfigFile reader;
        // The type 26 default file with its length field set to 12 (CRC fixed up).
        reader.LoadFromBytes(Bytes{0x01, 0x00, 0x1A, 0x00, 0x0C, 0x01, 0x08, 0x05, 0x02, 0x03, 0x04,
                                   0x07, 0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0x85});
        editor.LoadFromFile(reader);
        QVERIFY(editor.record == Bytes(13, 0xEE));
        QCOMPARE(editor.recordToControlsCalls, 0);
        QVERIFY(tesmira::ui::Dialogs::takeMessages().isEmpty());
    }

    void failedSaveReachesTheStandardErrorBox() {
        tesmira::test::DialogsInTestMode dialogs;
        tesmira::test::TempDir dir;
        FakeEditor editor(fixture.link, kFactoryRecord26);
        editor.DeviceType = 26;
        const QString name = qpath(dir / "missing" / "a.bcf");
        QVERIFY_THROWS_EXCEPTION(ConfigFileError, editor.SaveToFile(name));
        QVERIFY(!tesmira::ui::Dialogs::guarded(nullptr, [&] { editor.SaveToFile(name); }));
        const auto shown = tesmira::ui::Dialogs::takeMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("Не удалось записать файл ") + name + ".");
    }

    void closingReportIsQueuedAndOthersAreNot() {
        RecordingReceiver receiver;
        FakeEditor editor(fixture.link, kFactoryRecord26);
        editor.MainWindowHandle = &receiver;
        editor.report(EditorReport::Closing);
        editor.report(EditorReport::ConfigError);
        QCOMPARE(receiver.reports.size(), 1);
        QCOMPARE(receiver.reports[0].code, EditorReport::ConfigError);
        QVERIFY(tesmira::test::waitUntil([&] { return receiver.reports.size() == 2; }));
        QCOMPARE(receiver.reports[1].code, EditorReport::Closing);
        QCOMPARE(receiver.reports[1].sender, &editor);
    }

    void reportsToAMainWindowThatIsGoneAreDropped() {
        auto receiver = std::make_unique<RecordingReceiver>();
        FakeEditor editor(fixture.link, kFactoryRecord26);
        editor.MainWindowHandle = receiver.get();
        editor.report(EditorReport::Closing); // queued, then its target goes
        receiver.reset();
        QVERIFY(editor.MainWindowHandle.isNull());
        editor.OnExchangeReport(1, 0);
        QTest::qWait(20);
        QObject plain; // a handle that does not take reports
        editor.MainWindowHandle = &plain;
        editor.OnExchangeReport(7, 0);
    }

    void closingReportOfAFreedEditorCarriesNoSender() {
        RecordingReceiver receiver;
        auto* editor = new FakeEditor(fixture.link, kFactoryRecord26);
        editor->MainWindowHandle = &receiver;
        editor->report(EditorReport::Closing);
        delete editor;
        QVERIFY(tesmira::test::waitUntil([&] { return !receiver.reports.isEmpty(); }));
        QCOMPARE(receiver.reports[0].sender, nullptr);
    }

    void onlyTheProgramClosesAnEditor() {
        QMdiArea area;
        area.show();
        auto* editor = new FakeEditor(fixture.link, kFactoryRecord26);
        int closeHandlings = 0;
        editor->whenClosing = [&] {
            ++closeHandlings;
        };
        QPointer<QMdiSubWindow> frame = area.addSubWindow(editor, Qt::FramelessWindowHint);
        frame->setAttribute(Qt::WA_DeleteOnClose);
        frame->show();
        QPointer<FakeEditor> guard(editor);

        QVERIFY(!frame->close());
        QVERIFY(!editor->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(guard && frame);
        QVERIFY(editor->isVisible());
        QCOMPARE(closeHandlings, 0);

        editor->CloseEditor();
        editor->CloseEditor(); // a second request does nothing more
        QCOMPARE(closeHandlings, 1);
        QVERIFY(editor->IsClosing());
        QVERIFY(tesmira::test::waitUntil([&] {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return guard.isNull() && frame.isNull();
        }));
        QVERIFY(area.subWindowList().isEmpty());
    }
};

TESMIRA_WIDGET_TEST(TestDeviceEditor)
#include "tst_device_editor.moc"
