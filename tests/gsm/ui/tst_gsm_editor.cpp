// The type 32 editor's widgets: each control wired to its part of the record, a record shown
// without any handler running, the refusals the editor shows itself, and what its tables' grids,
// choice boxes and menus do.
#include "gsm/ui/GsmEditor.h"
#include "support/HexBytes.h"
#include "support/TempDir.h"
#include "support/ui/FakeEditor.h"
#include "support/ui/FormDriver.h"
#include "support/ui/LinkFixture.h"
#include "support/ui/UiTestSupport.h"
#include "support/ui/WidgetTestMain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <memory>

using namespace tesmira;
using namespace tesmira::test;
using tesmira::ui::Dialogs;
using tesmira::ui::GsmEditor;
using tesmira::ui::MessageIcon;
using tesmira::ui::ShownMessage;

namespace {

Bytes RecordOf(const GsmEditor& editor) {
    const auto& bytes = editor.config().record.bytes();
    return Bytes(bytes.begin(), bytes.end());
}

// A reply as the device sends it: record bytes 0..379, the caption block over the record's last
// four bytes, and a CRC byte the editor does not check.
Bytes Reply(const Bytes& record, const Bytes& block) {
    const std::size_t length = 6 + 380 + block.size() + 1;
    Bytes frame = {0x14, 0x00, std::uint8_t(length >> 8), std::uint8_t(length), 0x20, 0x07};
    frame.insert(frame.end(), record.begin(), record.begin() + 380);
    frame.insert(frame.end(), block.begin(), block.end());
    frame.push_back(0x00);
    return frame;
}

// The tab that holds `control` brought to the front, so that it can take focus and clicks.
void ShowTabOf(QWidget& editor, const QWidget* control) {
    auto* tabs = FindControl<QTabWidget>(editor, "pgcConfig");
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->widget(i)->isAncestorOf(control))
            tabs->setCurrentIndex(i);
    }
}

// The messages since the last call were this one alone.
bool ShownOnly(const ShownMessage& message) {
    return Dialogs::takeMessages() == QList<ShownMessage>{message};
}

QString Cell(QWidget& editor, const char* grid, int row, int column) {
    return FindControl<QTableWidget>(editor, grid)->item(row, column)->text();
}

} // namespace

class TestGsmEditor : public QObject {
    Q_OBJECT
    std::unique_ptr<LinkFixture> link_;
    std::unique_ptr<DialogsInTestMode> dialogs_;
    std::unique_ptr<GsmEditor> editor_;
    RecordingReceiver receiver_;

    GsmEditor& Editor() { return *editor_; }

private slots:
    void init() {
        link_ = std::make_unique<LinkFixture>();
        dialogs_ = std::make_unique<DialogsInTestMode>();
        editor_ = std::make_unique<GsmEditor>(link_->link);
        editor_->MainWindowHandle = &receiver_;
        receiver_.reports.clear();
        editor_->show();
        editor_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(editor_.get()));
    }
    void cleanup() {
        editor_.reset();
        dialogs_.reset();
        link_.reset();
    }

    void eachControlStoresIntoItsOwnBytes_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("input"); // an item, a typed text, or "" for a click
        QTest::addColumn<int>("at");
        QTest::addColumn<QByteArray>("bytes"); // the bytes from `at` that change
        QTest::addColumn<QString>("shown");
        const auto row = [](const char* control, const char* input, int at,
                            std::initializer_list<std::uint8_t> bytes, const char* shown = "") {
            QTest::newRow(control)
                << control << QString::fromUtf8(input) << at
                << QByteArray(reinterpret_cast<const char*>(bytes.begin()), qsizetype(bytes.size()))
                << QString::fromUtf8(shown);
        };
        row("medtDevNum", "42", 0, {0x2A, 0x00});
        row("cbbInputType", "Hesta", 2, {0x04});
        row("chkUsePass", "", 3, {0x01});
        row("chkTxPribor", "", 3, {0x02});
        row("chkTxRazdel", "", 3, {0x04});
        row("chkObboj", "", 3, {0x08});
        row("edtBalancePhn", "*100#77", 324, {'*', '1', '0', '0', '#', 0x00}, "*100#");
        row("chkMontBalance1", "", 330, {0x01});
        row("chkBalance1", "", 331, {50});
        row("edtBalancePhn2", "#5", 332, {'#', '5', 0x00, 0x00, 0x00, 0x00});
        row("chkMontBalance2", "", 338, {0x01});
        row("chkBalance2", "", 339, {50});
        row("bxGPRSProtocol", "SIA_IP", 340, {0x01});
        row("edtGSM_ChTestTime", "999", 341, {0xFF}, "255");
        row("medtPortNum", "70000", 342, {0xFF, 0xFF}, "65535");
        row("edtGPRS_Addr", "a.b", 344, {'a', '.', 'b'});
    }

    void eachControlStoresIntoItsOwnBytes() {
        QFETCH(QString, control);
        QFETCH(QString, input);
        QFETCH(int, at);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        Bytes expected = RecordOf(Editor());
        std::copy(bytes.begin(), bytes.end(), expected.begin() + at);

        QWidget* widget = FindControl<QWidget>(Editor(), qPrintable(control));
        ShowTabOf(Editor(), widget);
        if (auto* box = qobject_cast<QComboBox*>(widget)) {
            QVERIFY(PickByKeys(box, input));
        } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
            ClickCheckBox(check);
        } else {
            auto* edit = qobject_cast<QLineEdit*>(widget);
            TypeInto(edit, input);
            if (!shown.isEmpty())
                QCOMPARE(edit->text(), shown);
        }
        QCOMPARE(RecordOf(Editor()), expected);
        QVERIFY(Dialogs::takeMessages().isEmpty());
    }

    void theThresholdBoxShowsItsEdit() {
        auto* limit = FindControl<QLineEdit>(Editor(), "edtLimit2");
        auto* box = FindControl<QCheckBox>(Editor(), "chkBalance2");
        FindControl<QTabWidget>(Editor(), "pgcConfig")->setCurrentIndex(4);
        QVERIFY(!limit->isVisible());
        ClickCheckBox(box);
        QVERIFY(limit->isVisible() && FindControl<QLabel>(Editor(), "lblLimit2")->isVisible());
        QCOMPARE(limit->text(), QStringLiteral("50"));
        ClickCheckBox(box);
        QVERIFY(!limit->isVisible());

        // Reset while the caret is in the threshold: hiding the edit stores nothing over the 0.
        ClickCheckBox(box);
        TypeInto(limit, "77", false);
        Editor().SetDefaults();
        QCOMPARE(RecordOf(Editor())[339], std::uint8_t(0));
        // Nor does a commit after a read that took the caret away by disabling the editor.
        ClickCheckBox(box);
        limit->setFocus();
        Editor().setEnabled(false);
        Editor().setEnabled(true);
        Editor().SetDefaults();
        Editor().CommitEdit();
        QCOMPARE(RecordOf(Editor())[339], std::uint8_t(0));
    }

    void aBlankLeftInsideAMaskedNumberIsRefused() {
        auto* number = FindControl<QLineEdit>(Editor(), "medtDevNum");
        const Bytes before = RecordOf(Editor());
        TypeInto(number, "1234", false);
        number->setCursorPosition(2);
        QTest::keyClick(number, Qt::Key_Delete); // "12_4", whose text() reads "124"
        QTest::keyClick(number, Qt::Key_Tab);
        QCOMPARE(RecordOf(Editor()), before);
        const auto shown = Dialogs::takeMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].text, QStringLiteral("'12 4' is not a valid integer value."));
    }

    void aReplyIsShownWithoutAnyHandlerRunningAndABadOneChangesNothing() {
        Bytes record = RecordOf(Editor());
        record[0] = 0x34, record[1] = 0x12; // 4660
        record[2] = 9;                      // no such input format
        record[3] = 0xF5;                   // bits 4..7 belong to no control
        const Bytes phone = Hex("37 39 31 32 33 34 35 36 37 38 39 00 00 01 03 02");
        std::copy(phone.begin(), phone.end(), record.begin() + 4);
        record[132] = 0xFD; // event 1: violation off, group 1
        record[331] = 7;    // below the range the edit would clamp to
        record[340] = 1;
        const Bytes block = Hex("01 01 00 0C 01 0C 05 56 68 6F 64 31");
        std::copy(block.begin(), block.begin() + 4, record.begin() + 380);
        link_->PutReply(Reply(record, block));

        QVERIFY(Editor().LoadFromReply());
        QCOMPARE(RecordOf(Editor()), record);
        QCOMPARE(Editor().windowTitle(), QStringLiteral("GSM-коммуникатор объектовый, Версия "
                                                        "прибора - 7"));
        QCOMPARE(FindControl<QLineEdit>(Editor(), "medtDevNum")->text(), QStringLiteral("4660"));
        QCOMPARE(FindControl<QComboBox>(Editor(), "cbbInputType")->currentIndex(), -1);
        QVERIFY(FindControl<QCheckBox>(Editor(), "chkTxRazdel")->isChecked());
        QVERIFY(!FindControl<QCheckBox>(Editor(), "chkTxPribor")->isChecked());
        QVERIFY(FindControl<QCheckBox>(Editor(), "chkBalance1")->isChecked());
        QCOMPARE(FindControl<QLineEdit>(Editor(), "edtLimit1")->text(), QStringLiteral("7"));
        QCOMPARE(FindControl<QComboBox>(Editor(), "bxGPRSProtocol")->currentText(),
                 QStringLiteral("SIA_IP"));
        QCOMPARE(Cell(Editor(), "grdPhones", 0, 1), QStringLiteral("+79123456789"));
        QCOMPARE(Cell(Editor(), "grdPhones", 0, 4), QStringLiteral("Тревоги+Неиспр."));
        QCOMPARE(Cell(Editor(), "grdEvents", 0, 2), QString());
        QCOMPARE(Cell(Editor(), "grdEvents", 0, 3), QStringLiteral("1"));
        QCOMPARE(Cell(Editor(), "grdCaptions", 0, 2), QStringLiteral("Vhod1"));
        QCOMPARE(receiver_.reports.size(), 1);

        // A caption length past the bytes received: refused, the editor as it was, no report.
        Bytes longer = Reply(record, block);
        longer[6 + 383] = 0x0D;
        link_->PutReply(longer);
        QVERIFY(!Editor().LoadFromReply());
        QCOMPARE(FindControl<QLineEdit>(Editor(), "medtDevNum")->text(), QStringLiteral("4660"));
        QCOMPARE(receiver_.reports.size(), 1);
    }

    void aWriteTooLargeIsRefusedOnTheNamesTab() {
        // 87 entries with 16-byte names and one with 6: a block of 1666 bytes, a frame of 2053.
        Bytes block = {88, 0x01, 0x06, 0x82};
        for (int i = 0; i < 88; ++i) {
            const std::size_t length = i < 87 ? 16 : 6;
            block.insert(block.end(), {0x01, std::uint8_t(i + 1), std::uint8_t(length)});
            block.insert(block.end(), length, 'N');
        }
        Bytes record = RecordOf(Editor());
        link_->PutReply(Reply(record, block));
        QVERIFY(Editor().LoadFromReply());
        receiver_.reports.clear();

        Editor().WriteToDevice();
        QVERIFY(ShownOnly({"Запись в прибор",
                           "Превышен допустимый размер конфигурации.\r\nУменьшите "
                           "количество данных в подписях.",
                           MessageIcon::Error}));
        QCOMPARE(FindControl<QTabWidget>(Editor(), "pgcConfig")->currentIndex(), 1);
        QCOMPARE(receiver_.reports.size(), 1);
        QCOMPARE(receiver_.reports[0].code, ui::EditorReport::ConfigError);
        QVERIFY(!link_->link.ExchangeRunning());
    }

    void eventTabWiring() {
        auto* grid = FindControl<QTableWidget>(Editor(), "grdEvents");
        ShowTabOf(Editor(), grid);
        // A press on event 2's violation cell, then the menu's "clear all restorations".
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(1, 2)).center());
        FindControl<QAction>(Editor(), "VosstClear")->trigger();
        QVERIFY(PickByKeys(FindControl<QComboBox>(Editor(), "cbbEventGroup"), "Группа 3"));
        QCOMPARE(Cell(Editor(), "grdEvents", 1, 2), QStringLiteral("1"));
        Editor().CommitEdit();
        const Bytes record = RecordOf(Editor());
        QCOMPARE(record[132], std::uint8_t(0xFB));
        QCOMPARE(record[164], std::uint8_t(0x00));
        QCOMPARE(record[196], std::uint8_t(0xFF));

        // A file that cannot be written or read: the error shown, the selection as it was.
        TempDir dir;
        Dialogs::setNextFileName(QString::fromStdString((dir.path() / "no/x.evl").string()));
        FindControl<QPushButton>(Editor(), "btnSaveEvents")->click();
        Dialogs::setNextFileName(QString::fromStdString((dir.path() / "none.evl").string()));
        FindControl<QPushButton>(Editor(), "btnLoadEvents")->click();
        const QList<ShownMessage> shown = Dialogs::takeMessages();
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown[0].text.startsWith(QStringLiteral("Не удалось записать файл")));
        QVERIFY(shown[1].text.startsWith(QStringLiteral("Не удалось открыть файл")));
        Editor().CommitEdit();
        QCOMPARE(RecordOf(Editor()), record);
    }

    void captionGridChoicesAndMenu() {
        auto* grid = FindControl<QTableWidget>(Editor(), "grdCaptions");
        auto* types = FindControl<QComboBox>(Editor(), "cbbCaptionType");
        // The focus that moves into the grid with the tab switch chooses no cell.
        FindControl<QLineEdit>(Editor(), "medtDevNum")->setFocus();
        FindControl<QTabWidget>(Editor(), "pgcConfig")->setCurrentIndex(1);
        QVERIFY(!types->isVisible());
        QVERIFY(grid->hasFocus());
        QTest::mousePress(grid->viewport(), Qt::RightButton, {},
                          grid->visualRect(grid->model()->index(2, 0)).center());
        QVERIFY(!types->isVisible()); // a right press is for the grid's menu
        grid->setCurrentCell(0, 0);
        QVERIFY(types->isVisible());
        types->setCurrentIndex(1); // "Шлейф", taken when the list closes
        types->hidePopup();
        QVERIFY(waitUntil([&] { return !types->isVisible(); }));
        QCOMPARE(Cell(Editor(), "grdCaptions", 0, 0), QStringLiteral("Шлейф"));
        QCOMPARE(Cell(Editor(), "grdCaptions", 0, 1), QStringLiteral("1"));

        auto* menu = FindControl<QMenu>(Editor(), "pmCaptions");
        Dialogs::setNextAnswer(false);
        FindControl<QAction>(*menu, "miClearAll")->trigger();
        QVERIFY(ShownOnly({"Подтверждение", "Удалить все события?", MessageIcon::Question}));
        QCOMPARE(Cell(Editor(), "grdCaptions", 0, 0), QStringLiteral("Шлейф"));
        Dialogs::setNextAnswer(true);
        FindControl<QAction>(*menu, "miClearAll")->trigger();
        QCOMPARE(Cell(Editor(), "grdCaptions", 0, 0), QString());
    }

    void phoneGridChoiceBoxAndDefaults() {
        auto* grid = FindControl<QTableWidget>(Editor(), "grdPhones");
        grid->item(2, 1)->setText(QStringLiteral("89123456789"));
        // Dragged by its number to the first row; the rows above close up.
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(2, 0)).center());
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {},
                            grid->visualRect(grid->model()->index(0, 0)).center());
        QCOMPARE(Cell(Editor(), "grdPhones", 0, 1), QStringLiteral("89123456789"));
        QCOMPARE(Cell(Editor(), "grdPhones", 2, 1), QString());
        auto* choice = FindControl<QComboBox>(Editor(), "cbbPhoneChoice");
        grid->setCurrentCell(0, 4);
        QVERIFY(choice->isVisible());
        QCOMPARE(Cell(Editor(), "grdPhones", 0, 3), QStringLiteral("Все"));
        choice->setCurrentIndex(1);
        choice->hidePopup();
        QVERIFY(waitUntil([&] { return !choice->isVisible(); }));
        QCOMPARE(Cell(Editor(), "grdPhones", 0, 4), QStringLiteral("Тревоги"));
        grid->setCurrentCell(0, 4); // opened again and closed without a pick
        choice->hidePopup();
        QVERIFY(waitUntil([&] { return !choice->isVisible(); }));
        QCOMPARE(Cell(Editor(), "grdPhones", 0, 4), QStringLiteral("Тревоги"));
        Editor().CommitEdit();
        const Bytes record = RecordOf(Editor());
        QCOMPARE(Bytes(record.begin() + 4, record.begin() + 20),
                 Hex("37 39 31 32 33 34 35 36 37 38 39 00 00 00 00 01"));
    }

    void soundFileRefusalsAndADeclinedDeleteStartNothing() {
        auto* list = FindControl<QListWidget>(Editor(), "lstFiles");
        ShowTabOf(Editor(), list);
        auto* remove = FindControl<QPushButton>(Editor(), "btnDelete");
        list->addItem(QStringLiteral("a.b"));
        remove->click(); // nothing selected
        QVERIFY(Dialogs::takeMessages().isEmpty());
        list->setCurrentRow(0);
        remove->click();
        QVERIFY(ShownOnly({"Удаление файла", "Выберите файл", MessageIcon::Information}));
        QVERIFY(!link_->link.ExchangeRunning());
        QVERIFY(remove->isEnabled());

        list->addItem(QStringLiteral("b2.amr"));
        list->setCurrentRow(1);
        remove->click(); // the question answered No
        QVERIFY(ShownOnly(
            {"Удаление файла", "Удалить файл b2.amr из прибора?", MessageIcon::Question}));
        QVERIFY(!link_->link.ExchangeRunning());
        QVERIFY(remove->isEnabled());
    }
};

TESMIRA_WIDGET_TEST(TestGsmEditor)
#include "tst_gsm_editor.moc"
