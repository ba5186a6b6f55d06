// The type 26/27 editor's handlers driven as a user drives them: keys on the lists, clicks on the
// check boxes, typing into the delay edits and leaving them, and committing the edit that still
// has the caret before a save.
#include "editors/ui/TwoLoopEditor.h"
#include "support/FactoryRecords.h"
#include "support/TempDir.h"
#include "support/ui/FormDriver.h"
#include "support/ui/LinkFixture.h"
#include "support/ui/WidgetTestMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <memory>

using tesmira::test::kFactoryRecord26;
using Bytes = std::vector<std::uint8_t>;
using tesmira::test::ClickCheckBox;
using tesmira::test::PickByKeys;
using tesmira::test::TypeInto;
using tesmira::ui::TwoLoopEditor;

using tesmira::test::FindControl;

namespace {

std::uint8_t At(const TwoLoopEditor& form, std::size_t byte) {
    return form.RecordBytes()[byte];
}

Bytes AsBytes(const TwoLoopEditor& form) {
    return Bytes(form.RecordBytes().begin(), form.RecordBytes().end());
}

} // namespace

class TestTwoLoopHandlers : public QObject {
    Q_OBJECT
    std::unique_ptr<tesmira::test::LinkFixture> link_;

    // A shown and active window, so that focus moves as it does for a user.
    static bool Activate(QWidget& form) {
        form.show();
        form.activateWindow();
        return QTest::qWaitForWindowActive(&form);
    }

private slots:
    void init() { link_ = std::make_unique<tesmira::test::LinkFixture>(); }
    void cleanup() { link_.reset(); }

    void transmitterListsStoreWhatIsPicked() {
        TwoLoopEditor form(link_->link, 26);
        auto* letter = FindControl<QComboBox>(form, "bxTxLetter");
        QTest::keyClick(letter, Qt::Key_Down); // from "1" to "2"
        QCOMPARE(At(form, 0), std::uint8_t{2});
        QVERIFY(PickByKeys(letter, QStringLiteral("30")));
        QCOMPARE(At(form, 0), std::uint8_t{30});
        QVERIFY(PickByKeys(FindControl<QComboBox>(form, "bxTxAlarmCnt"), QStringLiteral("12")));
        QCOMPARE(At(form, 1), std::uint8_t{12});
        QVERIFY(PickByKeys(FindControl<QComboBox>(form, "bxTxNormCnt"), QStringLiteral("1")));
        QCOMPARE(At(form, 2), std::uint8_t{1});
        QVERIFY(PickByKeys(FindControl<QComboBox>(form, "bxTxTO"), QStringLiteral("6,5  мин.")));
        QCOMPARE(At(form, 3), std::uint8_t{13});
        QVERIFY(PickByKeys(FindControl<QComboBox>(form, "bxTxTO"), QStringLiteral("откл.")));
        QCOMPARE(At(form, 3), std::uint8_t{0});
        // Nothing else moved.
        const Bytes after = AsBytes(form);
        QVERIFY(std::equal(after.begin() + 4, after.end(), kFactoryRecord26.begin() + 4));
    }

    void aListShowingNoSelectionStoresOnlyWhenTheUserChooses() {
        TwoLoopEditor form(link_->link, 26);
        Bytes record = kFactoryRecord26;
        record[1] = 2;
        link_->PutShortReply(26, record);
        form.LoadFromReply();
        auto* alarms = FindControl<QComboBox>(form, "bxTxAlarmCnt");
        QCOMPARE(alarms->currentIndex(), -1);
        QVERIFY(PickByKeys(FindControl<QComboBox>(form, "bxTxNormCnt"), QStringLiteral("3")));
        QCOMPARE(At(form, 1), std::uint8_t{2});
        QVERIFY(PickByKeys(alarms, QStringLiteral("3")));
        QCOMPARE(At(form, 1), std::uint8_t{3});
    }

    void switchingALoopOffDisablesItsEventsAndKeepsTheEventByte() {
        TwoLoopEditor form(link_->link, 26);
        auto* events = FindControl<QComboBox>(form, "bxLoopEvent2");
        QVERIFY(
            PickByKeys(FindControl<QComboBox>(form, "cbbLoopType2"), QStringLiteral("Отключен")));
        QCOMPARE(At(form, 6), std::uint8_t{0});
        QCOMPARE(At(form, 7), std::uint8_t{101});
        QVERIFY(!events->isEnabled());
        QCOMPARE(events->currentText(), QStringLiteral("370 - ШЛЕЙФ НЕИСПР"));
        // Back on: enabled again, with the new type's own event.
        QVERIFY(
            PickByKeys(FindControl<QComboBox>(form, "cbbLoopType2"), QStringLiteral("Внутренний")));
        QVERIFY(events->isEnabled());
        QCOMPARE(At(form, 6), std::uint8_t{6});
        QCOMPARE(At(form, 7), std::uint8_t{21});
        QCOMPARE(events->currentText(), QStringLiteral("132 - ВНУТРЕННЯЯ"));
    }

    void choosingALoopTypeShowsAndStoresItsDefaultEvent() {
        TwoLoopEditor form(link_->link, 26);
        QVERIFY(
            PickByKeys(FindControl<QComboBox>(form, "cbbLoopType1"), QStringLiteral("Охранный")));
        QCOMPARE(At(form, 4), std::uint8_t{5});
        QCOMPARE(At(form, 5), std::uint8_t{20});
        QCOMPARE(FindControl<QComboBox>(form, "bxLoopEvent1")->currentText(),
                 QStringLiteral("131 - ПЕРИМЕТР"));
        QCOMPARE(At(form, 6), std::uint8_t{7}); // the other loop stays
        QCOMPARE(At(form, 7), std::uint8_t{101});
    }

    void pickingAnEventStoresItsIndex() {
        TwoLoopEditor form(link_->link, 26);
        QVERIFY(PickByKeys(FindControl<QComboBox>(form, "bxLoopEvent1"),
                           QStringLiteral("394 - ПОМЕХА")));
        QCOMPARE(At(form, 5), std::uint8_t{238});
        // Two rows share a name; the text tells them apart.
        QVERIFY(PickByKeys(FindControl<QComboBox>(form, "bxLoopEvent2"),
                           QStringLiteral("442 - СНЯТ С ПОЛЬЗ")));
        QCOMPARE(At(form, 7), std::uint8_t{134});
        QCOMPARE(At(form, 4), std::uint8_t{3});
        QCOMPARE(At(form, 6), std::uint8_t{7});
    }

    void monitoringBoxesSetAndClearTheirBitOnly() {
        TwoLoopEditor form(link_->link, 26);
        Bytes record = kFactoryRecord26;
        record[10] = 0x21;
        link_->PutShortReply(26, record);
        form.LoadFromReply();
        QVERIFY(FindControl<QCheckBox>(form, "chkU2")->isChecked());
        ClickCheckBox(FindControl<QCheckBox>(form, "chkExpBox7"));
        QCOMPARE(At(form, 10), std::uint8_t{0xA1});
        ClickCheckBox(FindControl<QCheckBox>(form, "chkU2"));
        QCOMPARE(At(form, 10), std::uint8_t{0x81});
        QTest::keyClick(FindControl<QCheckBox>(form, "chkExpBox6"), Qt::Key_Space);
        QCOMPARE(At(form, 10), std::uint8_t{0xC1});
        ClickCheckBox(FindControl<QCheckBox>(form, "chkExpBox7"));
        QCOMPARE(At(form, 10), std::uint8_t{0x41});
    }

    void sirenSignalsAndBuzzerFollowTheirBoxes() {
        TwoLoopEditor form(link_->link, 26);
        ClickCheckBox(FindControl<QCheckBox>(form, "chkGuardSnd"));
        QCOMPARE(At(form, 11), std::uint8_t{1});
        ClickCheckBox(FindControl<QCheckBox>(form, "chkUseBuzzer"));
        QCOMPARE(At(form, 12), std::uint8_t{0});
        QTest::keyClick(FindControl<QCheckBox>(form, "chkGuardSnd"), Qt::Key_Space);
        QCOMPARE(At(form, 11), std::uint8_t{0});
        QCOMPARE(At(form, 10), std::uint8_t{0});
    }

    void leavingADelayEditClampsAndStores_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("stored");
        QTest::newRow("entry above 99") << "edtRetDelIn"
                                        << "150"
                                        << "99" << 9 << 99;
        QTest::newRow("entry letters") << "edtRetDelIn"
                                       << "abc"
                                       << "30" << 9 << 30;
        QTest::newRow("exit below 0") << "edtRetDelOut"
                                      << "-5"
                                      << "0" << 8 << 0;
        QTest::newRow("exit in range") << "edtRetDelOut"
                                       << "45"
                                       << "45" << 8 << 45;
        QTest::newRow("entry empty") << "edtRetDelIn"
                                     << ""
                                     << "30" << 9 << 30;
    }

    void leavingADelayEditClampsAndStores() {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, byte);
        QFETCH(int, stored);
        TwoLoopEditor form(link_->link, 26);
        QVERIFY(Activate(form));
        // Start from values the typed ones differ from.
        Bytes record = kFactoryRecord26;
        record[8] = 17;
        record[9] = 18;
        link_->PutShortReply(26, record);
        form.LoadFromReply();
        auto* line = FindControl<QLineEdit>(form, edit.toLatin1().constData());
        TypeInto(line, typed);
        QVERIFY(!line->hasFocus());
        QCOMPARE(line->text(), shown);
        QCOMPARE(int(At(form, std::size_t(byte))), stored);
        QCOMPARE(int(At(form, byte == 9 ? 8 : 9)), byte == 9 ? 17 : 18);
    }

    void typingWithoutLeavingStoresNothingYet() {
        TwoLoopEditor form(link_->link, 26);
        QVERIFY(Activate(form));
        TypeInto(FindControl<QLineEdit>(form, "edtRetDelIn"), QStringLiteral("45"), false);
        QCOMPARE(At(form, 9), std::uint8_t{30});
        form.CommitEdit();
        QCOMPARE(At(form, 9), std::uint8_t{45});
    }

    void savingWithTheCaretInADelayEditStoresTheTypedValue() {
        TwoLoopEditor form(link_->link, 26);
        QVERIFY(Activate(form));
        auto* entry = FindControl<QLineEdit>(form, "edtRetDelIn");
        TypeInto(entry, QStringLiteral("45"), false);
        QVERIFY(entry->hasFocus());
        tesmira::test::TempDir dir;
        form.SaveToFile(QString::fromStdString((dir / "typed.bcf").string()));
        QCOMPARE(tesmira::test::ReadFileBytes(dir / "typed.bcf"),
                 Bytes({0x01, 0x00, 0x1A, 0x00, 0x0D, 0x01, 0x08, 0x05, 0x02, 0x03, 0x04, 0x07,
                        0x65, 0x3C, 0x2D, 0x00, 0x00, 0x01, 0x82}));
    }

    void committingWithTheCaretInAClampedEditCorrectsIt() {
        TwoLoopEditor form(link_->link, 27);
        QVERIFY(Activate(form));
        auto* exit = FindControl<QLineEdit>(form, "edtRetDelOut");
        TypeInto(exit, QStringLiteral("150"), false);
        form.CommitEdit();
        QCOMPARE(exit->text(), QStringLiteral("99"));
        QCOMPARE(At(form, 8), std::uint8_t{99});
    }

    void committingWithTheCaretElsewhereChangesNothing() {
        TwoLoopEditor form(link_->link, 26);
        QVERIFY(Activate(form));
        auto* entry = FindControl<QLineEdit>(form, "edtRetDelIn");
        entry->setText(QStringLiteral("77")); // not typed and not left: not the user's value yet
        FindControl<QComboBox>(form, "bxTxTO")->setFocus();
        form.CommitEdit();
        QCOMPARE(At(form, 9), std::uint8_t{30});
    }
};

TESMIRA_WIDGET_TEST(TestTwoLoopHandlers)
#include "tst_two_loop_handlers.moc"
