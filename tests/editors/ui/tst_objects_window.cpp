// The objects window and the transmitter number dialog as a user meets them: the grid shown from
// the entries, which clicks open the dialog and where, the dialog's fields converting on leaving,
// the hexadecimal key filter, pasted text refused in the error box, Esc, and the dialog freed.
#include "editors/ui/ObjectsWindow.h"
#include "editors/ui/TransmitterNumberDialog.h"
#include "support/ui/FormDriver.h"
#include "support/ui/UiTestSupport.h"
#include "support/ui/WidgetTestMain.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>

#include <vector>

using tesmira::TransmitterEntry;
using tesmira::test::DialogsInTestMode;
using tesmira::test::FindControl;
using tesmira::test::TypeInto;
using tesmira::test::whenModal;
using tesmira::ui::Dialogs;
using tesmira::ui::ObjectsWindow;
using tesmira::ui::TransmitterNumberDialog;

namespace {

void ClickCell(QTableWidget* grid, int row, int column) {
    const QRect cell = grid->visualRect(grid->model()->index(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
}

QString FieldText(QWidget& dialog, const char* name) {
    return FindControl<QLineEdit>(dialog, name)->text();
}

bool HasFrameButtons(const QWidget& window) {
    const Qt::WindowFlags buttons = Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint |
                                    Qt::WindowSystemMenuHint | Qt::WindowContextHelpButtonHint;
    return (window.windowFlags() & buttons) != 0 || window.minimumSize() != window.maximumSize();
}

} // namespace

class TestObjectsWindow : public QObject {
    Q_OBJECT
    DialogsInTestMode dialogs_;

private slots:
    void gridShowsTheEntriesAndOnlyNumberCellsOpenTheDialog() {
        std::vector<std::uint8_t> objects(42, 0);
        const std::uint8_t noType[] = {0x3C, 0x12, 0x34}; // a number, but type 0
        const std::uint8_t eighth[] = {0xBD, 0x12, 0x34}; // "Кнопка" with bits 2..5 set
        std::copy(std::begin(noType), std::end(noType), objects.begin());
        std::copy(std::begin(eighth), std::end(eighth), objects.begin() + 21);
        QWidget owner;
        ObjectsWindow window(14, &owner);
        QVERIFY(!HasFrameButtons(window));
        auto* grid = FindControl<QTableWidget>(window, "grdObjects");
        QStringList shown;
        QPoint expectedCorner;
        QPoint dialogCorner;
        bool dialogOnlyAfterNumberCell = false;

        whenModal("ObjectsWindow", [&](QWidget&) {
            shown << QString::number(grid->rowCount())
                  << FindControl<QLabel>(window, "lblObjList")->text() << grid->item(1, 1)->text()
                  << grid->item(1, 5)->text();
            for (const auto& [row, column] : {std::pair{0, 1}, {1, 3}, {1, 4}, {0, 5}})
                ClickCell(grid, row, column);
            const bool noneYet = window.NumberDialog() == nullptr;
            whenModal("TransmitterNumberDialog", [&](QWidget& dialog) {
                dialogCorner = dialog.pos();
                QTest::mouseClick(FindControl<QPushButton>(dialog, "btnOK"), Qt::LeftButton);
            });
            expectedCorner = window.pos() + grid->visualRect(grid->model()->index(1, 5)).topLeft();
            ClickCell(grid, 1, 5);
            dialogOnlyAfterNumberCell = noneYet && window.NumberDialog() != nullptr;
            QTest::keyClick(grid, Qt::Key_Escape);
        });
        window.EditObjects(objects);

        QCOMPARE(shown, QStringList({"8", "Объектов:1", "", "21234"}));
        QVERIFY(dialogOnlyAfterNumberCell);
        QCOMPARE(dialogCorner, expectedCorner);
        QVERIFY(window.NumberDialog() == nullptr); // freed with the closing
        // "Готово" without change cleared bits 2..5; the entry nobody opened came back as it was.
        QCOMPARE(std::vector<std::uint8_t>(objects.begin() + 21, objects.begin() + 24),
                 std::vector<std::uint8_t>({0x81, 0x12, 0x34}));
        QCOMPARE(std::vector<std::uint8_t>(objects.begin(), objects.begin() + 3),
                 std::vector<std::uint8_t>({0x3C, 0x12, 0x34}));
    }

    void numberFieldsConvertOnLeavingAndPastedTextIsRefused() {
        TransmitterNumberDialog dialog;
        QVERIFY(!HasFrameButtons(dialog));
        QList<tesmira::ui::ShownMessage> refusal;
        QStringList seen;
        whenModal("TransmitterNumberDialog", [&](QWidget&) {
            auto* hex = FindControl<QLineEdit>(dialog, "edtHex");
            seen << QString::number(hex->hasFocus()) << hex->text();
            TypeInto(hex, "3eG-f"); // only hexadecimal digits, in upper case
            seen << FieldText(dialog, "edtHex") << FieldText(dialog, "medtBtn");
            TypeInto(FindControl<QLineEdit>(dialog, "medtPCN"), "0999999");
            seen << FieldText(dialog, "edtHex") << FieldText(dialog, "medtBtn");
            TypeInto(FindControl<QLineEdit>(dialog, "medtBtn"), "123456");
            seen << FieldText(dialog, "edtHex") << FieldText(dialog, "medtPCN");

            QApplication::clipboard()->setText("12G4ZZ9");
            hex->setFocus();
            hex->selectAll();
            hex->paste();
            QTest::keyClick(hex, Qt::Key_Tab);
            refusal = Dialogs::takeMessages();
            seen << FieldText(dialog, "edtHex");

            // Esc ends it like "Готово", with the number still being typed.
            QTest::mouseClick(FindControl<QRadioButton>(dialog, "rbObjType2"), Qt::LeftButton);
            TypeInto(hex, "2bcde", false);
            QTest::keyClick(hex, Qt::Key_Escape);
        });
        const TransmitterEntry edited = dialog.EditNumber({0x41, 0xAB, 0xCD});

        QCOMPARE(seen, QStringList({"1", "1ABCD", "003EF", "001007", "3EAE7", "256743", "1E240",
                                    "1.226.064", "1E240"}));
        QCOMPARE(refusal.size(), 1);
        QCOMPARE(refusal[0].text, "'$12G4ZZ' is not a valid integer value.");
        QCOMPARE(refusal[0].icon, tesmira::ui::MessageIcon::Error);
        QCOMPARE(edited, (TransmitterEntry{0x82, 0xBC, 0xDE}));
    }

    // Coming back to the dialog puts the focus on the hexadecimal field.
    void aNumberTypedBeforeSwitchingWindowsIsKept() {
        TransmitterNumberDialog dialog;
        QStringList seen;
        whenModal("TransmitterNumberDialog", [&](QWidget&) {
            TypeInto(FindControl<QLineEdit>(dialog, "medtBtn"), "123456", false);
            QWidget other; // another window, active for a while
            other.setWindowModality(Qt::ApplicationModal);
            other.show();
            seen << QString::number(QTest::qWaitForWindowActive(&other));
            other.close();
            dialog.activateWindow(); // the user comes back
            seen << QString::number(QTest::qWaitForWindowActive(&dialog))
                 << QString::number(FindControl<QLineEdit>(dialog, "edtHex")->hasFocus())
                 << FieldText(dialog, "edtHex");
            QTest::keyClick(FindControl<QLineEdit>(dialog, "edtHex"), Qt::Key_Escape);
        });
        const TransmitterEntry edited = dialog.EditNumber({0x41, 0xAB, 0xCD});
        QCOMPARE(seen, QStringList({"1", "1", "1", "1E240"}));
        QCOMPARE(edited, (TransmitterEntry{0x41, 0xE2, 0x40}));
    }

    void aCloseByTheWindowSystemKeepsTheGivenEntry() {
        TransmitterNumberDialog dialog;
        whenModal("TransmitterNumberDialog", [&](QWidget&) {
            TypeInto(FindControl<QLineEdit>(dialog, "edtHex"), "2bcde");
            dialog.close();
        });
        QCOMPARE(dialog.EditNumber({0x41, 0xAB, 0xCD}), (TransmitterEntry{0x41, 0xAB, 0xCD}));
    }
};

TESMIRA_WIDGET_TEST(TestObjectsWindow)
#include "tst_objects_window.moc"
