#include "model/ui/DeviceFactory.h"
#include "support/ui/FakeEditor.h"
#include "support/ui/UiTestSupport.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

using tesmira::test::Bytes;
using tesmira::test::FakeEditor;
using tesmira::test::RecordingReceiver;
using tesmira::ui::CurrentEditor;
using tesmira::ui::DeviceReport;
using tesmira::ui::OpenDeviceEditor;
using tesmira::ui::TDeviceForm;
namespace DeviceFactory = tesmira::ui::DeviceFactory;

namespace {

const Bytes kDefaults26 = {0x01, 0x08, 0x05, 0x02, 0x03, 0x04, 0x07,
                           0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01};
const Bytes kDefaults27 = {0x01, 0x08, 0x05, 0x0A, 0x03, 0x04, 0x07,
                           0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01};

// Lets deferred deletions run, as the event loop does between user actions.
void settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

FakeEditor* current() {
    return qobject_cast<FakeEditor*>(CurrentEditor());
}

} // namespace

class TestDeviceFactory : public QObject {
    Q_OBJECT
    QMdiArea* area = nullptr;
    RecordingReceiver* receiver = nullptr;

private slots:
    void initTestCase() {
        // Small editors in place of the real ones; 35 reports its closing, as that editor does.
        DeviceFactory::Register(26, [] { return new FakeEditor(kDefaults26); });
        DeviceFactory::Register(27, [] { return new FakeEditor(kDefaults27); });
        DeviceFactory::Register(35, [] { return new FakeEditor(Bytes(116, 0x35), true); });
    }

    void init() {
        area = new QMdiArea;
        area->resize(600, 400);
        area->show();
        receiver = new RecordingReceiver;
    }

    void cleanup() {
        tesmira::ui::CloseCurrentEditor();
        settle();
        delete area;
        delete receiver;
        settle();
    }

    void newEditorIsPlacedCaptionedAndReset() {
        QVERIFY(OpenDeviceEditor(27, area, receiver));
        FakeEditor* editor = current();
        QVERIFY(editor);
        QCOMPARE(int(editor->DeviceType), 27);
        QCOMPARE(editor->MainWindowHandle.data(), receiver);
        QCOMPARE(editor->windowTitle(), QStringLiteral("Miren-2"));
        QCOMPARE(editor->setDefaultsCalls, 1);
        QVERIFY(editor->shown == kDefaults27);
        QCOMPARE(area->subWindowList().size(), 1);
        QMdiSubWindow* frame = area->subWindowList().first();
        QCOMPARE(frame->widget(), editor);
        QCOMPARE(frame->pos(), QPoint(0, 0));
        QVERIFY(frame->isVisible());
        QVERIFY(frame->windowFlags() & Qt::FramelessWindowHint);
    }

    void sameTypeKeepsTheWindowAndResetsIt() {
        QVERIFY(OpenDeviceEditor(26, area, receiver));
        FakeEditor* editor = current();
        editor->record[3] = 0x7F;
        editor->setWindowTitle(QStringLiteral("Miren-1, Версия прибора - 4"));
        area->subWindowList().first()->move(40, 30);
        RecordingReceiver other;

        QVERIFY(OpenDeviceEditor(26, area, &other));
        settle();
        QCOMPARE(current(), editor);
        QCOMPARE(area->subWindowList().size(), 1);
        QCOMPARE(editor->setDefaultsCalls, 2);
        QVERIFY(editor->record == kDefaults26);
        QCOMPARE(editor->windowTitle(), QStringLiteral("Miren-1"));
        QCOMPARE(area->subWindowList().first()->pos(), QPoint(0, 0));
        QCOMPARE(editor->MainWindowHandle.data(), &other);
    }

    void otherTypeReplacesTheEditor() {
        QVERIFY(OpenDeviceEditor(26, area, receiver));
        QPointer<FakeEditor> old = current();
        int closeHandlings = 0;
        old->onFormClose = [&] {
            ++closeHandlings;
        };

        QVERIFY(OpenDeviceEditor(27, area, receiver));
        QCOMPARE(closeHandlings, 1);
        QVERIFY(current() != old.data());
        QCOMPARE(int(current()->DeviceType), 27);
        settle();
        QVERIFY(old.isNull());
        QCOMPARE(area->subWindowList().size(), 1);
        QCOMPARE(area->subWindowList().first()->widget(), current());
    }

    void codeZeroKeepsEverything() {
        QVERIFY(OpenDeviceEditor(27, area, receiver));
        FakeEditor* editor = current();
        editor->record[0] = 0x55;
        QVERIFY(!OpenDeviceEditor(0, area, receiver));
        settle();
        QCOMPARE(current(), editor);
        QCOMPARE(editor->setDefaultsCalls, 1);
        QCOMPARE(editor->record[0], 0x55);
        QVERIFY(editor->isVisible());
        QVERIFY(!OpenDeviceEditor(0, area, receiver)); // and with nothing open
    }

    void codeWithoutEditorClosesTheCurrentOne() {
        QVERIFY(OpenDeviceEditor(26, area, receiver));
        QPointer<FakeEditor> old = current();
        QVERIFY(!DeviceFactory::HasEditor(28));
        QVERIFY(!OpenDeviceEditor(28, area, receiver));
        QCOMPARE(CurrentEditor(), nullptr);
        settle();
        QVERIFY(old.isNull());
        QVERIFY(area->subWindowList().isEmpty());
        QVERIFY(!OpenDeviceEditor(29, area, receiver)); // named in the catalogue, no editor
        QCOMPARE(CurrentEditor(), nullptr);
    }

    void lateClosingReportDoesNotClearTheNewerEditor() {
        QVERIFY(OpenDeviceEditor(35, area, receiver));
        TDeviceForm* replaced = CurrentEditor();
        QVERIFY(OpenDeviceEditor(26, area, receiver));
        FakeEditor* newer = current();
        QVERIFY(receiver->reports.isEmpty()); // queued, not yet delivered
        QVERIFY(tesmira::test::waitUntil([&] { return !receiver->reports.isEmpty(); }));
        settle();
        QCOMPARE(receiver->reports.size(), 1);
        QCOMPARE(receiver->reports[0].code, DeviceReport::Closing);
        QVERIFY(receiver->reports[0].sender == replaced || receiver->reports[0].sender == nullptr);
        QVERIFY(!receiver->reports[0].forgotEditor);
        QCOMPARE(current(), newer);
        QVERIFY(newer->isVisible());
    }

    void closingReportOfTheCurrentEditorIsHonoured() {
        QVERIFY(OpenDeviceEditor(35, area, receiver));
        tesmira::ui::CloseCurrentEditor();
        QCOMPARE(CurrentEditor(), nullptr);
        QVERIFY(tesmira::test::waitUntil([&] { return !receiver->reports.isEmpty(); }));
        QVERIFY(receiver->reports[0].forgotEditor);

        // An editor that closes itself while current is forgotten when its report comes.
        receiver->reports.clear();
        QVERIFY(OpenDeviceEditor(35, area, receiver));
        CurrentEditor()->CloseEditor();
        QVERIFY(tesmira::test::waitUntil([&] { return !receiver->reports.isEmpty(); }));
        QVERIFY(receiver->reports[0].forgotEditor);
        QCOMPARE(CurrentEditor(), nullptr);
    }

    void currentEditorNeverDangles() {
        QVERIFY(OpenDeviceEditor(26, area, receiver));
        delete CurrentEditor();
        QCOMPARE(CurrentEditor(), nullptr);
        QVERIFY(OpenDeviceEditor(26, area, receiver)); // a fresh one is made
        QVERIFY(current());
        current()->CloseEditor();
        QCOMPARE(CurrentEditor(), nullptr); // a closing editor is not current
        QVERIFY(OpenDeviceEditor(26, area, receiver));
        QCOMPARE(current()->setDefaultsCalls, 1);
    }

    void makersCanBeReplacedAndRemoved() {
        DeviceFactory::Register(31, [] { return static_cast<TDeviceForm*>(nullptr); });
        QVERIFY(!OpenDeviceEditor(31, area, receiver));
        QCOMPARE(CurrentEditor(), nullptr);
        DeviceFactory::Register(31, [] { return new FakeEditor(Bytes(58, 0x31)); });
        QVERIFY(OpenDeviceEditor(31, area, receiver));
        QCOMPARE(current()->windowTitle(), QStringLiteral("Sorel-MX8"));
        DeviceFactory::Register(31, {});
        QVERIFY(!DeviceFactory::HasEditor(31));
        QVERIFY(OpenDeviceEditor(31, area, receiver)); // the open one is kept and reset
        QVERIFY(!OpenDeviceEditor(30, area, receiver));
        QCOMPARE(CurrentEditor(), nullptr);
    }

    void withoutAnAreaTheEditorIsATopLevelWindow() {
        QVERIFY(OpenDeviceEditor(26, nullptr, receiver));
        FakeEditor* editor = current();
        QVERIFY(editor->isWindow());
        QVERIFY(editor->isVisible());
        QVERIFY(area->subWindowList().isEmpty());
    }
};

QTEST_MAIN(TestDeviceFactory)
#include "tst_device_factory.moc"
