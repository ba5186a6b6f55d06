// The firmware window without a device: choosing the file, the boxes for files that give no image
// (and that nothing is sent then), a link held by another exchange, leaving the window while a
// transfer runs, and its place and close handling in the main window's work area.
#include "firmware/ui/FirmwareWindow.h"
#include "gui/QtPollTimer.h"
#include "link/LinkModule.h"
#include "support/LinkFakes.h"
#include "support/TempDir.h"
#include "support/ui/UiTestSupport.h"
#include "support/ui/WidgetTestMain.h"

#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <fstream>
#include <string>

using tesmira::ExchangeMode;
using tesmira::ExchangeReport;
using tesmira::test::Bytes;
using tesmira::test::FakeSerialBackend;
using tesmira::test::waitUntil;
using tesmira::ui::Dialogs;
using tesmira::ui::FirmwareWindow;
using tesmira::ui::MessageIcon;
using tesmira::ui::ShownMessage;

namespace {

// The program's link module over a scripted port that opens, takes what is sent and never
// answers.
struct FakeLink {
    FakeSerialBackend* port = new FakeSerialBackend; // owned by the module's driver
    tesmira::ui::QtPollTimer timer;
    tesmira::LinkModule link{timer, tesmira::SystemLinkClock(),
                             std::unique_ptr<tesmira::SerialBackend>(port)};

    FakeLink() = default;
    ~FakeLink() { link.StopExchange(); }
    FakeLink(const FakeLink&) = delete;
    FakeLink& operator=(const FakeLink&) = delete;

    Bytes TransmitHead(std::size_t n) {
        const auto tx = link.TransmitBuffer();
        return Bytes(tx.begin(), tx.begin() + static_cast<std::ptrdiff_t>(n));
    }
};

struct NoReports : tesmira::ExchangeReportTarget {
    void Report(ExchangeReport, int, bool) override {}
};

struct Rig {
    tesmira::test::DialogsInTestMode dialogs;
    FakeLink fake;
    tesmira::test::TempDir dir;
    QPointer<FirmwareWindow> form = new FirmwareWindow(fake.link);
    QSignalSpy running{form.data(), &FirmwareWindow::transferRunning};

    Rig() { Dialogs::takeMessages(); }
    ~Rig() { delete form.data(); }
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    QString Write(const std::string& text, const std::string& name = "update.enc") {
        const auto path = dir / name;
        std::ofstream(path, std::ios::binary) << text;
        return QString::fromStdString(path.string());
    }
    void Choose(const QString& name) {
        Dialogs::setNextFileName(name);
        form->btnOpenFile->click();
    }
    // The transmit buffer's head marked, so that a write to it shows.
    void MarkTransmitBuffer() {
        std::fill_n(fake.link.TransmitBuffer().begin(), 16, std::uint8_t{0xEE});
    }
    bool Idle() const {
        return form->btnOpenFile->isEnabled() && form->btnUpdate->isEnabled() && !form->Updating();
    }
};

const ShownMessage kNotFound{"Ошибка", "Файл не найден", MessageIcon::None};

} // namespace

class TestFirmwareWindow : public QObject {
    Q_OBJECT

private slots:
    void opensIdleAndLeavesThePortAlone() {
        Rig rig;
        FirmwareWindow& form = *rig.form;
        QCOMPARE(form.windowTitle(), QString("Обновление прошивки прибора"));
        QCOMPARE(form.btnOpenFile->text(), QString("Выбрать файл..."));
        QCOMPARE(form.btnUpdate->text(), QString("Обновить"));
        QCOMPARE(form.btExit->text(), QString("Выход"));
        QVERIFY(form.btnUpdate->isHidden());
        QVERIFY(form.pbUpdate->isHidden());
        QCOMPARE(form.pbUpdate->maximum(), 100);
        QVERIFY(rig.fake.port->calls.empty());
    }

    void choosingAFileShowsTheUpdateButtonAndCancellingChangesNothing() {
        Rig rig;
        FirmwareWindow& form = *rig.form;
        form.btnOpenFile->click(); // nothing queued: the user cancels
        QCOMPARE(Dialogs::lastDialogDir(), QDir::currentPath());
        QCOMPARE(Dialogs::lastDialogFilter(), QString("Файл прошивок (*.enc)"));
        QVERIFY(form.edtUpdFileName->text().isEmpty());
        QVERIFY(form.btnUpdate->isHidden());

        const QString name = rig.Write("0003AABBCC");
        rig.Choose(name);
        QCOMPARE(form.edtUpdFileName->text(), QDir::toNativeSeparators(name));
        QVERIFY(!form.btnUpdate->isHidden());

        form.btnOpenFile->click();
        QCOMPARE(form.edtUpdFileName->text(), QDir::toNativeSeparators(name));
        QVERIFY(!form.btnUpdate->isHidden());
        QVERIFY(Dialogs::takeMessages().isEmpty());
        QVERIFY(rig.fake.port->calls.empty());
    }

    void updateWithoutAFileNameAsksForOne() {
        Rig rig;
        rig.form->startUpdate();
        const auto shown = Dialogs::takeMessages();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0] ==
                (ShownMessage{"Прошивка прибора", "Выберите файл", MessageIcon::Information}));
        QVERIFY(rig.fake.port->calls.empty());
        QCOMPARE(rig.running.count(), 0);
    }

    void filesThatAreNotDigitPairsOrCannotBeReadSendNothing_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("exists");
        QTest::newRow("nine digits") << "0003AABBC" << true;
        QTest::newRow("line break after the digits") << "0003AABBCC\n" << true;
        QTest::newRow("carriage return and line feed") << "0003AABBCC\r\n" << true;
        QTest::newRow("blank between pairs") << "0003 AABBCC" << true;
        QTest::newRow("letter past F") << "0003AABBCG" << true;
        QTest::newRow("Pascal hex prefix") << "$0003AABBCC" << true;
        QTest::newRow("missing file") << "" << false;
    }
    void filesThatAreNotDigitPairsOrCannotBeReadSendNothing() {
        QFETCH(QString, text);
        QFETCH(bool, exists);
        Rig rig;
        rig.MarkTransmitBuffer();
        const QString name = exists ? rig.Write(text.toStdString())
                                    : QString::fromStdString((rig.dir / "none.enc").string());
        rig.Choose(name);
        rig.form->btnUpdate->click();
        const auto shown = Dialogs::takeMessages();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0] == kNotFound);
        QVERIFY(rig.fake.port->calls.empty());
        QCOMPARE(rig.fake.TransmitHead(4), Bytes(4, 0xEE));
        QCOMPARE(rig.running.count(), 0);
        QVERIFY(rig.Idle());
        QVERIFY(rig.form->pbUpdate->isHidden());
    }

    void aFolderInsteadOfAFileIsNotFound() {
        Rig rig;
        rig.Choose(QString::fromStdString(rig.dir.path().string()));
        rig.form->btnUpdate->click();
        const auto shown = Dialogs::takeMessages();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0] == kNotFound);
        QVERIFY(rig.fake.port->calls.empty());
    }

    void imagesTooLargeOrWithBlocksPastTheEndAreRefusedBeforeTheBuffer_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        // One byte more than the 122,881-byte transmit buffer holds.
        QTest::newRow("122,882 bytes")
            << QString(2 * 122882, QChar('0')) << "Файл прошивки слишком велик";
        QTest::newRow("length 5, three bytes follow") << "0005AABBCC"
                                                      << "Файл прошивки поврежден";
        QTest::newRow("a lone byte after the last block") << "0003AABBCC00"
                                                          << "Файл прошивки поврежден";
        QTest::newRow("length FFFF in a short file") << "FFFF00"
                                                     << "Файл прошивки поврежден";
        QTest::newRow("empty file") << ""
                                    << "Файл прошивки поврежден";
    }
    void imagesTooLargeOrWithBlocksPastTheEndAreRefusedBeforeTheBuffer() {
        QFETCH(QString, text);
        QFETCH(QString, message);
        Rig rig;
        rig.MarkTransmitBuffer();
        rig.Choose(rig.Write(text.toStdString()));
        rig.form->btnUpdate->click();
        const auto shown = Dialogs::takeMessages();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0] == (ShownMessage{"Обновление прошивки", message, MessageIcon::Error}));
        QVERIFY(rig.fake.port->calls.empty());
        QCOMPARE(rig.fake.TransmitHead(16), Bytes(16, 0xEE));
        QCOMPARE(rig.running.count(), 0);
        QVERIFY(rig.Idle());
    }

    // A read started from the main window may be sending from the transmit buffer.
    void aLinkHeldByAnotherExchangeIsNotTouched() {
        Rig rig;
        QVERIFY(rig.fake.link.StartExchange(ExchangeMode::Read, std::make_shared<NoReports>()));
        // Once the read has put its request in the buffer, the window must leave it there.
        QVERIFY(QTest::qWaitFor([&] { return rig.fake.TransmitHead(10)[9] == 0xE3; }));
        rig.Choose(rig.Write("0003AABBCC"));
        rig.form->btnUpdate->click();
        const auto shown = Dialogs::takeMessages();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0] ==
                (ShownMessage{"Обновление прошивки", "Идет обмен с прибором, повторите позже",
                              MessageIcon::Information}));
        QVERIFY(rig.fake.link.ExchangeRunning());
        QCOMPARE(rig.fake.TransmitHead(10),
                 Bytes({0x7E, 0x0A, 0x52, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE3}));
        QCOMPARE(rig.running.count(), 0);
        QVERIFY(rig.Idle());
    }

    void leavingDuringATransferStopsItAndReportsNothingMore() {
        Rig rig;
        FirmwareWindow* form = rig.form;
        rig.Choose(rig.Write("0003AABBCC"));
        form->btnUpdate->click();
        QVERIFY(waitUntil([&] { return !form->pbUpdate->isHidden(); }));
        // The block is out and the transfer waits for its answer when the user leaves.
        QVERIFY(waitUntil([&] { return rig.fake.port->writtenCount == 5; }));
        QCOMPARE(form->pbUpdate->value(), 0);
        QVERIFY(!form->btnOpenFile->isEnabled());
        QVERIFY(!form->btnUpdate->isEnabled());
        QVERIFY(form->btExit->isEnabled());
        QCOMPARE(rig.running.count(), 1);
        QCOMPARE(rig.running[0][0].toBool(), true);

        // Pressed again behind the disabled button: no second transfer, no box.
        form->startUpdate();
        QVERIFY(form->Updating());
        QCOMPARE(rig.running.count(), 1);

        // Asked first: "No" lets the transfer go on.
        form->btExit->click();
        QVERIFY(form->Updating());
        QVERIFY(rig.fake.link.ExchangeRunning());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!rig.form.isNull());
        auto shown = Dialogs::takeMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].icon, MessageIcon::Question);
        QCOMPARE(rig.running.count(), 1);

        Dialogs::setNextAnswer(true);
        form->btExit->click();
        QVERIFY(!rig.fake.link.ExchangeRunning());
        QCOMPARE(rig.running.count(), 2);
        QCOMPARE(rig.running[1][0].toBool(), false);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(rig.form.isNull());
        QTest::qWait(300);
        shown = Dialogs::takeMessages();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].icon, MessageIcon::Question);
        QVERIFY(shown[1] == (ShownMessage{"Обновление прошивки", "Обновление прошивки прервано",
                                          MessageIcon::Warning}));
        QCOMPARE(rig.fake.port->written, Bytes({0x00, 0x03, 0xAA, 0xBB, 0xCC}));
        QVERIFY(!rig.fake.port->open);
    }

    // The question about interrupting waits in a loop of its own; the transfer may end in it.
    void aTransferEndingWhileTheQuestionIsOpenClosesItAndShowsTheOutcome() {
        Rig rig;
        FirmwareWindow* form = rig.form;
        rig.Choose(rig.Write("0003AABBCC"));
        form->btnUpdate->click();
        QVERIFY(waitUntil([&] { return rig.fake.port->writtenCount == 5; }));
        Dialogs::setNextAnswer(true); // what the user would press, had the question stayed
        Dialogs::setWhileAsking([&] {
            rig.fake.port->input.push_back(0x11); // the block's answer, read by the poll here
            QVERIFY(waitUntil([&] { return !form->Updating(); }));
        });
        form->btExit->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!rig.form.isNull()); // the answer no longer counted: the window stays
        const auto shown = Dialogs::takeMessages();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].icon, MessageIcon::Question);
        QVERIFY(shown[1] == (ShownMessage{"Обновление прошивки", "Прошивка обновлена",
                                          MessageIcon::Information}));
        QVERIFY(form->pbUpdate->isHidden());
        QVERIFY(rig.Idle());
        QCOMPARE(rig.running.count(), 2);
        QCOMPARE(rig.running[1][0].toBool(), false);
        QVERIFY(waitUntil([&] { return !rig.fake.link.ExchangeRunning(); }));
    }

    void inTheWorkAreaItSitsTopLeftAndOnlyItsExitButtonClosesIt() {
        Rig rig;
        QMdiArea area;
        area.resize(800, 600);
        area.addSubWindow(new QWidget, Qt::FramelessWindowHint)->setGeometry(0, 0, 300, 200);
        area.show();
        QMdiSubWindow* frame = area.addSubWindow(rig.form, Qt::FramelessWindowHint);
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        QCOMPARE(frame->pos(), QPoint(0, 0));

        frame->close(); // as the work area's Ctrl+F4 would
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!rig.form.isNull());
        QCOMPARE(area.subWindowList().size(), 2);

        rig.form->btExit->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(rig.form.isNull());
        QCOMPARE(area.subWindowList().size(), 1);
        QCOMPARE(rig.running.count(), 0);
    }
};

TESMIRA_WIDGET_TEST(TestFirmwareWindow)
#include "tst_firmware_window.moc"
