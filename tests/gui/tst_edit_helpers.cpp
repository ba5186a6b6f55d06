#include "gui/EditHelpers.h"
#include "gui/FormControls.h"
#include "model/ValueRules.h"
#include "support/ui/WidgetTestMain.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <string_view>

using namespace tesmira::ui;

class TestEditHelpers : public QObject {
    Q_OBJECT
private slots:
    void silentCheckRunsNoHandlerAndRestoresSignals() {
        QCheckBox box;
        QSignalSpy clicked(&box, &QCheckBox::clicked);
        QSignalSpy toggled(&box, &QCheckBox::toggled);
        SetCheckedSilently(&box, true);
        QVERIFY(box.isChecked());
        SetCheckedSilently(&box, false);
        QVERIFY(!box.isChecked());
        QCOMPARE(clicked.count(), 0);
        QCOMPARE(toggled.count(), 0);
        QVERIFY(!box.signalsBlocked());
        box.setChecked(true);
        QCOMPARE(toggled.count(), 1);
        SetCheckedSilently(nullptr, true);
    }

    void silentCheckKeepsAnAlreadyBlockedButtonBlocked() {
        QCheckBox box;
        box.blockSignals(true);
        SetCheckedSilently(&box, true);
        QVERIFY(box.signalsBlocked());
    }

    // Checking one radio button unchecks its peer, which must stay as quiet as the button itself.
    void silentRadioQuietensTheUncheckedPeer() {
        QWidget parent;
        auto* any = new QRadioButton(&parent);
        auto* all = new QRadioButton(&parent);
        all->setChecked(true);
        QSignalSpy anyToggled(any, &QRadioButton::toggled);
        QSignalSpy allToggled(all, &QRadioButton::toggled);
        SetCheckedSilently(any, true);
        QVERIFY(any->isChecked());
        QVERIFY(!all->isChecked());
        QCOMPARE(anyToggled.count(), 0);
        QCOMPARE(allToggled.count(), 0);
        QVERIFY(!all->signalsBlocked());
    }

    void silentRadioInAGroupQuietensTheGroup() {
        QWidget parent;
        auto* first = new QRadioButton(&parent);
        auto* second = new QRadioButton(&parent);
        QButtonGroup group;
        group.addButton(first, 0);
        group.addButton(second, 1);
        first->setChecked(true);
        QSignalSpy idToggled(&group, &QButtonGroup::idToggled);
        QSignalSpy firstToggled(first, &QRadioButton::toggled);
        SetCheckedSilently(second, true);
        QVERIFY(second->isChecked());
        QVERIFY(!first->isChecked());
        QCOMPARE(idToggled.count(), 0);
        QCOMPARE(firstToggled.count(), 0);
        QVERIFY(!group.signalsBlocked());
    }

    void clampedReadShowsTheCorrection_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letters") << "abc" << 30 << "30";
        QTest::newRow("above") << "150" << 99 << "99";
        QTest::newRow("below") << "-5" << 0 << "0";
        QTest::newRow("empty") << "" << 30 << "30";
        QTest::newRow("in range keeps text") << "07" << 7 << "07";
        QTest::newRow("cyrillic") << "пять" << 30 << "30";
    }

    void clampedReadShowsTheCorrection() {
        QFETCH(QString, typed);
        QFETCH(int, value);
        QFETCH(QString, shown);
        QLineEdit edit;
        edit.setText(typed);
        QCOMPARE(ReadClampedInt(&edit, 0, 99, 30), value);
        QCOMPARE(edit.text(), shown);
    }

    void clampedReadOfNoEditIsTheFallback() { QCOMPARE(ReadClampedInt(nullptr, 0, 99, 30), 30); }

    void fillComboReplacesTheItemsInOrder() {
        QComboBox box;
        box.addItems({"x", "y"});
        FillComboFromList(&box, {"Выкл.", "1", "2"});
        QCOMPARE(box.count(), 3);
        QCOMPARE(box.itemText(0), QStringLiteral("Выкл."));
        QCOMPARE(box.itemText(2), QStringLiteral("2"));
        FillComboFromList(&box, {});
        QCOMPARE(box.count(), 0);
        FillComboFromList(nullptr, {"a"});
    }

    // A list's items carry their codes: their positions, or the codes given; none shown is -1.
    void listItemsCarryTheirCodes() {
        static constexpr std::string_view kTexts[] = {"Выкл.", "Радио"};
        static constexpr tesmira::CodedItem kItems[] = {{"Выкл.", 0}, {"8", 8}, {"16", 16}};
        const std::unique_ptr<QComboBox> positions(List("bxPositions", kTexts));
        const std::unique_ptr<QComboBox> coded(List("bxCoded", kItems));
        QCOMPARE(positions->objectName(), QStringLiteral("bxPositions"));
        QCOMPARE(ItemCodeOf(positions.get()), -1);
        QCOMPARE(ItemCodeOf(coded.get()), -1);
        positions->setCurrentIndex(1);
        coded->setCurrentIndex(2);
        QCOMPARE(ItemCodeOf(positions.get()), 1);
        QCOMPARE(ItemCodeOf(coded.get()), 16);
    }

    // An editable list shows a stored value as the item that carries it, else typed in.
    void codedValueShowsItsItemOrIsTypedIn() {
        static constexpr tesmira::CodedItem kItems[] = {{"Выкл.", 0}, {"8", 8}};
        const std::unique_ptr<QComboBox> box(List("cbbCheck", kItems));
        box->setEditable(true);
        ShowCoded(box.get(), 0, QStringLiteral("0"));
        QCOMPARE(box->currentIndex(), 0);
        QCOMPARE(box->currentText(), QStringLiteral("Выкл."));
        ShowCoded(box.get(), 12, QStringLiteral("12"));
        QCOMPARE(box->currentIndex(), -1);
        QCOMPARE(box->currentText(), QStringLiteral("12"));
        ShowCoded(box.get(), 8, QStringLiteral("8"));
        QCOMPARE(ItemCodeOf(box.get()), 8);
    }
};

TESMIRA_WIDGET_TEST(TestEditHelpers)
#include "tst_edit_helpers.moc"
