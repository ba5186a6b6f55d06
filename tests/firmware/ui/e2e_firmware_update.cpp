// Flashing from the firmware window through the real link module, serial driver and
// pseudo-terminal to the simulator's loader at 115200 baud: the image the device keeps, the
// progress the window shows, and what it says when a block is refused or unanswered or the port
// cannot be opened.
#include "firmware/ui/FirmwareWindow.h"
#include "support/LinkFakes.h"
#include "support/ui/LinkFixture.h"
#include "support/ui/UiTestSupport.h"
#include "support/ui/WidgetTestMain.h"
#include "tools/DevsimProcess.h"

#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using tesmira::test::Bytes;
using tesmira::test::DevsimProcess;
using tesmira::test::waitUntil;
using tesmira::ui::Dialogs;
using tesmira::ui::FirmwareWindow;
using tesmira::ui::MessageIcon;
using tesmira::ui::ShownMessage;

namespace {

constexpr int kOutcomeWaitMs = 40000; // an unanswered block is given up after 5 s

// What the progress bar went through: its positions, and when it was shown and hidden.
class BarWatch : public QObject {
public:
    explicit BarWatch(QProgressBar* bar) {
        bar->installEventFilter(this);
        connect(bar, &QProgressBar::valueChanged, this, [this](int v) { positions.push_back(v); });
    }
    std::vector<int> positions;
    int shown = 0;
    int hidden = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            ++shown;
        else if (event->type() == QEvent::Hide)
            ++hidden;
        return false;
    }
};

// `count` blocks of 98 data bytes each (100 bytes with the length field), data bytes b*7 + i.
Bytes HundredByteBlocks(int count) {
    Bytes image;
    for (int b = 0; b < count; ++b) {
        image.insert(image.end(), {0x00, 0x62});
        for (int i = 0; i < 98; ++i)
            image.push_back(static_cast<std::uint8_t>(b * 7 + i));
    }
    return image;
}

std::string HexText(const Bytes& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string text;
    for (std::uint8_t b : bytes) {
        text.push_back(digits[b >> 4]);
        text.push_back(digits[b & 0x0F]);
    }
    return text;
}

struct Flash {
    tesmira::test::DialogsInTestMode dialogs;
    tesmira::test::TempDir dir;
    std::string imagePath = (dir / "kept.bin").string();
    DevsimProcess sim;
    tesmira::test::LinkFixture fixture;
    QPointer<FirmwareWindow> form = new FirmwareWindow(fixture.link);
    BarWatch bar{form->pbUpdate};
    QSignalSpy running{form.data(), &FirmwareWindow::transferRunning};

    explicit Flash(std::vector<std::string> faults = {},
                   tesmira::LinkClock& clock = tesmira::SystemLinkClock())
        : sim(Args(std::move(faults))), fixture(clock) {
        fixture.link.port.SetPortName(sim.slavePath());
        Dialogs::takeMessages();
        form->show();
    }
    ~Flash() { delete form.data(); }
    Flash(const Flash&) = delete;
    Flash& operator=(const Flash&) = delete;

    std::vector<std::string> Args(std::vector<std::string> faults) {
        std::vector<std::string> args = {"--type", "35", "--log", "--firmware-out", imagePath};
        args.insert(args.end(), faults.begin(), faults.end());
        return args;
    }

    // Chooses a read-only file holding `text` and presses "Обновить"; the boxes shown once the
    // transfer has ended.
    QList<ShownMessage> Update(const std::string& text) {
        const auto path = dir / "update.enc";
        std::ofstream(path, std::ios::binary) << text;
        std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                               std::filesystem::perms::group_read |
                                               std::filesystem::perms::others_read);
        Dialogs::setNextFileName(QString::fromStdString(path.string()));
        form->btnOpenFile->click();
        form->btnUpdate->click();
        QList<ShownMessage> shown;
        waitUntil(
            [&] {
                shown += Dialogs::takeMessages();
                return !shown.isEmpty() && !form->Updating();
            },
            kOutcomeWaitMs);
        return shown;
    }

    bool Idle() const {
        return form->btnOpenFile->isEnabled() && form->btnUpdate->isEnabled() &&
               form->btExit->isEnabled();
    }
    // What the device kept, once it has stopped.
    Bytes Kept() {
        waitUntil([&] { return !fixture.link.ExchangeRunning(); });
        if (sim.Stop() != std::optional<int>(0))
            return {0xDE, 0xAD};
        return tesmira::test::ReadFile(imagePath);
    }
};

const ShownMessage kUpdated{"Обновление прошивки", "Прошивка обновлена", MessageIcon::Information};
const ShownMessage kNoAnswer{"Обновление прошивки", "Устройство не отвечает", MessageIcon::Error};

} // namespace

class TestFirmwareUpdate : public QObject {
    Q_OBJECT

private slots:
    void severalBlocksArriveWholeWithTheProgressInOrder() {
        Flash flash;
        const Bytes image = HundredByteBlocks(10);
        const auto shown = flash.Update(HexText(image));
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0] == kUpdated);
        QCOMPARE(flash.bar.positions, (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90}));
        QCOMPARE(flash.bar.shown, 1);
        QCOMPARE(flash.bar.hidden, 1);
        QVERIFY(flash.form->pbUpdate->isHidden());
        QVERIFY(flash.Idle());
        QCOMPARE(flash.running.count(), 2);

        // A progress value still queued when the final report came shows nothing again.
        flash.form->onExchangeReport(5, 90);
        QVERIFY(flash.form->pbUpdate->isHidden());
        QVERIFY(Dialogs::takeMessages().isEmpty());
        QCOMPARE(flash.Kept(), image);
    }

    void oneBlockInEitherCaseIsSentAsItStands_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("upper case") << "0003AABBCC";
        QTest::newRow("lower case") << "0003aabbcc";
    }
    void oneBlockInEitherCaseIsSentAsItStands() {
        QFETCH(QString, text);
        Flash flash;
        const auto shown = flash.Update(text.toStdString());
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0] == kUpdated);
        QCOMPARE(flash.bar.positions, std::vector<int>{0});
        QVERIFY(flash.form->pbUpdate->isHidden());
        QCOMPARE(flash.Kept(), Bytes({0x00, 0x03, 0xAA, 0xBB, 0xCC}));
    }

    // Block 3 of 10 refused (0x22) or left unanswered: blocks 1 and 2 were accepted, at 0 % and
    // 10 %, and the bar stays there.
    void aRefusedOrUnansweredBlockEndsInNoAnswerWithTheBarKept_data() {
        QTest::addColumn<QString>("fault");
        QTest::newRow("answered 0x22") << "--refuse-block";
        QTest::newRow("silent loader") << "--drop-block";
    }
    void aRefusedOrUnansweredBlockEndsInNoAnswerWithTheBarKept() {
        QFETCH(QString, fault);
        tesmira::test::FastSleepClock clock; // the unanswered block's 5 s run out in 0.5 s
        Flash flash({fault.toStdString(), "3"}, clock);
        const Bytes image = HundredByteBlocks(10);
        const auto shown = flash.Update(HexText(image));
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0] == kNoAnswer);
        QCOMPARE(flash.bar.positions, (std::vector<int>{0, 10}));
        QVERIFY(!flash.form->pbUpdate->isHidden());
        QCOMPARE(flash.form->pbUpdate->value(), 10);
        QVERIFY(flash.Idle());
        QCOMPARE(flash.running.count(), 2);
        QCOMPARE(flash.running[1][0].toBool(), false);
        // The device keeps what it took before the refused block.
        QCOMPARE(flash.Kept(), Bytes(image.begin(), image.begin() + 200));
    }

    void aPortThatCannotBeOpenedIsSaidSo() {
        Flash flash;
        flash.fixture.link.port.SetPortName("/nonexistent/tty-tesmira");
        const auto shown = flash.Update("0003AABBCC");
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0] == (ShownMessage{"Обновление прошивки", "Невозможно открыть порт",
                                          MessageIcon::Error}));
        QVERIFY(flash.form->pbUpdate->isHidden());
        QVERIFY(flash.Idle());
        QCOMPARE(flash.running.count(), 2);
    }
};

TESMIRA_WIDGET_TEST(TestFirmwareUpdate)
#include "e2e_firmware_update.moc"
