#include "gui/EditorFactory.h"
#include "support/FactoryRecords.h"
#include "support/ui/FakeEditor.h"
#include "support/ui/LinkFixture.h"
#include "support/ui/UiTestSupport.h"
#include "support/ui/WidgetTestMain.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

using tesmira::LinkModule;
using tesmira::test::Bytes;
using tesmira::test::FakeEditor;
using tesmira::test::kFactoryRecord26;
using tesmira::test::kFactoryRecord27;
using tesmira::test::RecordingReceiver;
using tesmira::ui::DeviceEditor;
using tesmira::ui::EditorReport;

namespace {

// Lets deferred deletions run, as the event loop does between user actions.
void settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestEditorFactory : public QObject {
    Q_OBJECT
    tesmira::test::LinkFixture fixture;
    tesmira::ui::EditorFactory factory{fixture.link};
    QMdiArea* area = nullptr;
    RecordingReceiver* receiver = nullptr;

    FakeEditor* current() { return qobject_cast<FakeEditor*>(factory.Current()); }

private slots:
    void initTestCase() {
        // Small editors in place of the real ones; 35 reports its closing, as that editor does.
        factory.Register(26,
                         [](LinkModule& link) { return new FakeEditor(link, kFactoryRecord26); });
        factory.Register(27,
                         [](LinkModule& link) { return new FakeEditor(link, kFactoryRecord27); });
        factory.Register(
            35, [](LinkModule& link) { return new FakeEditor(link, Bytes(116, 0x35), true); });
    }

    void init() {
        area = new QMdiArea;
        area->resize(600, 400);
        area->show();
        receiver = new RecordingReceiver(&factory);
    }

    void cleanup() {
        factory.CloseCurrent();
        settle();
        delete area;
        delete receiver;
        settle();
    }

    void newEditorIsPlacedCaptionedAndReset() {
        QVERIFY(factory.Open(27, area, receiver));
        FakeEditor* editor = current();
        QVERIFY(editor);
        QCOMPARE(int(editor->DeviceType), 27);
        QCOMPARE(editor->MainWindowHandle.data(), receiver);
        QCOMPARE(editor->windowTitle(), QStringLiteral("Miren-2"));
        QCOMPARE(editor->setDefaultsCalls, 1);
        QVERIFY(editor->shown == kFactoryRecord27);
        QCOMPARE(area->subWindowList().size(), 1);
        QMdiSubWindow* frame = area->subWindowList().first();
        QCOMPARE(frame->widget(), editor);
        QCOMPARE(frame->pos(), QPoint(0, 0));
        QVERIFY(frame->isVisible());
        QVERIFY(frame->windowFlags() & Qt::FramelessWindowHint);
    }

    void sameTypeKeepsTheWindowAndResetsIt() {
        QVERIFY(factory.Open(26, area, receiver));
        FakeEditor* editor = current();
        editor->record[3] = 0x7F;
        editor->setWindowTitle(QStringLiteral("Miren-1, Версия прибора - 4"));
        area->subWindowList().first()->move(40, 30);
        RecordingReceiver other(&factory);

        QVERIFY(factory.Open(26, area, &other));
        settle();
        QCOMPARE(current(), editor);
        QCOMPARE(area->subWindowList().size(), 1);
        QCOMPARE(editor->setDefaultsCalls, 2);
        QVERIFY(editor->record == kFactoryRecord26);
        QCOMPARE(editor->windowTitle(), QStringLiteral("Miren-1"));
        QCOMPARE(area->subWindowList().first()->pos(), QPoint(0, 0));
        QCOMPARE(editor->MainWindowHandle.data(), &other);
    }

    void otherTypeReplacesTheEditor() {
        QVERIFY(factory.Open(26, area, receiver));
        QPointer<FakeEditor> old = current();
        int closeHandlings = 0;
        old->whenClosing = [&] {
            ++closeHandlings;
        };

        QVERIFY(factory.Open(27, area, receiver));
        QCOMPARE(closeHandlings, 1);
        QVERIFY(current() != old.data());
        QCOMPARE(int(current()->DeviceType), 27);
        settle();
        QVERIFY(old.isNull());
        QCOMPARE(area->subWindowList().size(), 1);
        QCOMPARE(area->subWindowList().first()->widget(), current());
    }

    void codeZeroKeepsEverything() {
        QVERIFY(factory.Open(27, area, receiver));
        FakeEditor* editor = current();
        editor->record[0] = 0x55;
        QVERIFY(!factory.Open(0, area, receiver));
        settle();
        QCOMPARE(current(), editor);
        QCOMPARE(editor->setDefaultsCalls, 1);
        QCOMPARE(editor->record[0], 0x55);
        QVERIFY(editor->isVisible());
        QVERIFY(!factory.Open(0, area, receiver)); // and with nothing open
    }

    void codeWithoutEditorClosesTheCurrentOne() {
        QVERIFY(factory.Open(26, area, receiver));
        QPointer<FakeEditor> old = current();
        QVERIFY(!factory.HasEditor(28));
        QVERIFY(!factory.Open(28, area, receiver));
        QCOMPARE(factory.Current(), nullptr);
        settle();
        QVERIFY(old.isNull());
        QVERIFY(area->subWindowList().isEmpty());
        QVERIFY(!factory.Open(29, area, receiver)); // named in the catalogue, no editor
        QCOMPARE(factory.Current(), nullptr);
    }

    void lateClosingReportDoesNotClearTheNewerEditor() {
        QVERIFY(factory.Open(35, area, receiver));
        DeviceEditor* replaced = factory.Current();
        QVERIFY(factory.Open(26, area, receiver));
        FakeEditor* newer = current();
        QVERIFY(receiver->reports.isEmpty()); // queued, not yet delivered
        QVERIFY(tesmira::test::waitUntil([&] { return !receiver->reports.isEmpty(); }));
        settle();
        QCOMPARE(receiver->reports.size(), 1);
        QCOMPARE(receiver->reports[0].code, EditorReport::Closing);
        QVERIFY(receiver->reports[0].sender == replaced || receiver->reports[0].sender == nullptr);
        QVERIFY(!receiver->reports[0].forgotEditor);
        QCOMPARE(current(), newer);
        QVERIFY(newer->isVisible());
    }

    void closingReportOfTheCurrentEditorIsHonoured() {
        QVERIFY(factory.Open(35, area, receiver));
        factory.CloseCurrent();
        QCOMPARE(factory.Current(), nullptr);
        QVERIFY(tesmira::test::waitUntil([&] { return !receiver->reports.isEmpty(); }));
        QVERIFY(receiver->reports[0].forgotEditor);

        // An editor that closes itself while current is forgotten when its report comes.
        receiver->reports.clear();
        QVERIFY(factory.Open(35, area, receiver));
        factory.Current()->CloseEditor();
        QVERIFY(tesmira::test::waitUntil([&] { return !receiver->reports.isEmpty(); }));
        QVERIFY(receiver->reports[0].forgotEditor);
        QCOMPARE(factory.Current(), nullptr);
    }

    void currentEditorNeverDangles() {
        QVERIFY(factory.Open(26, area, receiver));
        delete factory.Current();
        QCOMPARE(factory.Current(), nullptr);
        QVERIFY(factory.Open(26, area, receiver)); // a fresh one is made
        QVERIFY(current());
        current()->CloseEditor();
        QCOMPARE(factory.Current(), nullptr); // a closing editor is not current
        QVERIFY(factory.Open(26, area, receiver));
        QCOMPARE(current()->setDefaultsCalls, 1);
    }

    void makersCanBeReplacedAndRemoved() {
        factory.Register(31, [](LinkModule&) { return static_cast<DeviceEditor*>(nullptr); });
        QVERIFY(!factory.Open(31, area, receiver));
        QCOMPARE(factory.Current(), nullptr);
        factory.Register(31,
                         [](LinkModule& link) { return new FakeEditor(link, Bytes(58, 0x31)); });
        QVERIFY(factory.Open(31, area, receiver));
        QCOMPARE(current()->windowTitle(), QStringLiteral("Sorel-MX8"));
        factory.Register(31, {});
        QVERIFY(!factory.HasEditor(31));
        QVERIFY(factory.Open(31, area, receiver)); // the open one is kept and reset
        QVERIFY(!factory.Open(30, area, receiver));
        QCOMPARE(factory.Current(), nullptr);
    }

    void withoutAnAreaTheEditorIsATopLevelWindow() {
        QVERIFY(factory.Open(26, nullptr, receiver));
        FakeEditor* editor = current();
        QVERIFY(editor->isWindow());
        QVERIFY(editor->isVisible());
        QVERIFY(area->subWindowList().isEmpty());
    }
};

TESMIRA_WIDGET_TEST(TestEditorFactory)
#include "tst_editor_factory.moc"
