// The panel editors' windows (types 30, 31, 33): every control reaching its record update, a shown
// record that no handler touches, and what only the widgets do: boxes disabled or hidden by a
// zone type or a transmission setting, the GSM warning, the device number field, and the direction
// table's lists and key filter.
#include "editors/ui/DirectionTable.h"
#include "editors/ui/FiveZonePanelEditor.h"
#include "editors/ui/PanelEditor.h"
#include "gui/UpDownField.h"
#include "model/ConfigFile.h"
#include "support/ui/FormDriver.h"
#include "support/ui/LinkFixture.h"
#include "support/ui/UiTestSupport.h"
#include "support/ui/WidgetTestMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include <memory>

using namespace tesmira;
using namespace tesmira::test;
using tesmira::ui::DirectionTable;
using tesmira::ui::FiveZonePanelEditor;
using tesmira::ui::PanelEditor;
using tesmira::ui::ShownMessage;

namespace {

enum Action { Pick, Click, Type, StepUp };

// One user action on a control, from a record that is the defaults with one byte set, and the
// record byte it must leave after CommitEdit.
struct Edit {
    const char* control;
    Action action;
    const char* argument;
    int setupAt; // -1: the defaults as they are
    int setupValue;
    int byte;
    int value;
};

const Edit kEdits30[] = {
    {"cbbZonePart2", Pick, "3", -1, 0, 4, 0x2A},
    {"cbbZoneType2", Pick, "Пожарный", -1, 0, 4, 0x18},
    {"bxZoneEvent1", Pick, "394 - ПОМЕХА", -1, 0, 1, 238},
    {"edtDelayIn1", Type, "45", -1, 0, 3, 45},
    {"edtDelayOut1", Type, "150", -1, 0, 2, 99},
    {"chkRequery7", Click, "", -1, 0, 24, 0x98},
    {"chkRearm1", Click, "", -1, 0, 32, 0xFE},
    {"chkDepend2", Click, "", 4, 0x29, 34, 0x02}, // zone 2 guards partition 2
    {"bxTouchMemory", Pick, "Ставить на охрану размыканием входа TM", -1, 0, 57, 2},
    {"bxInternalPartition", Pick, "8", -1, 0, 40, 0x87},
    {"bxInterface", Pick, "Velmar ППМ, Quell", -1, 0, 35, 1},
    {"chkRemoteDisarm", Click, "", 35, 1, 56, 1},
    {"udNetNum", StepUp, "", 35, 3, 43, 2},
    {"chkSmsDisarm", Click, "", 35, 2, 44, 1},
    {"edtChannelTest", Type, "300", 35, 2, 45, 255},
    {"bxRelayAlarm", Pick, "Отключено", -1, 0, 37, 0x03},
    {"bxRelayFire", Pick, "2 минуты", -1, 0, 37, 0x32},
    {"chkSmsAlarm", Click, "", -1, 0, 39, 0x01},
    {"chkSmsFire", Click, "", -1, 0, 39, 0x02},
    {"chkExpBox1", Click, "", -1, 0, 36, 0x02},
    {"chkExpBox2", Click, "", -1, 0, 36, 0x04},
    {"chkExpBox6", Click, "", -1, 0, 36, 0x40},
    {"chkExpBox7", Click, "", -1, 0, 36, 0x80},
    {"chkAttentionPcn", Click, "", -1, 0, 40, 0xA0},
    {"chkAttentionSiren", Click, "", -1, 0, 40, 0xC0},
    {"chkLampBlink", Click, "", -1, 0, 40, 0x88},
    {"chkFeedback", Click, "", -1, 0, 40, 0x90},
    {"chkGuardSnd", Click, "", -1, 0, 41, 0},
    {"bxLampMode", Pick, "Горит если все разделы взяты", -1, 0, 42, 0x19},
    {"bxLedMode", Pick, "Отключен в норме", -1, 0, 42, 0x00},
    {"bxBuzzer", Pick, "Выключен всегда", -1, 0, 55, 255},
    {"edtSirenTime", Type, "700", -1, 0, 54, 0x58},
    {"chkBox7", Click, "", -1, 0, 46, 0x03}, // "Тревога" drives "Реле1"
};

const Edit kEdits33[] = {
    {"cbbZoneType2", Pick, "Отключен", -1, 0, 2, 0},
    {"bxZoneEvent1", Pick, "394 - ПОМЕХА", -1, 0, 1, 238},
    {"edtSirenTime", Type, "0", -1, 0, 16, 1},
    {"bxBuzzer", Pick, "Выключен при тревогах", -1, 0, 17, 254},
    {"bxTouchMemory", Pick, "Ставить на охрану замыканием входа TM", -1, 0, 18, 1},
    {"chkLineShort", Click, "", -1, 0, 14, 0x81},
    {"chkKeyFob", Click, "", -1, 0, 14, 0x82},
    {"chkLampBlink", Click, "", -1, 0, 14, 0x84},
    {"chkFeedback", Click, "", -1, 0, 13, 1},
    {"bxInterface", Pick, "RS-485", -1, 0, 11, 2},
    {"chkGsm", Click, "", -1, 0, 10, 1},
    {"udNetNum", StepUp, "", 11, 2, 12, 2},
    {"chkRemoteDisarm", Click, "", 11, 1, 19, 1},
};

bool Activate(QWidget& form) {
    form.show();
    form.activateWindow();
    return QTest::qWaitForWindowActive(&form);
}

// Brings the control's page to the front, as a user does before using it.
void Act(QWidget& form, const Edit& edit) {
    auto* pages = FindControl<QTabWidget>(form, "pgcConfig");
    for (int i = 0; i < pages->count(); ++i) {
        if (pages->widget(i)->isAncestorOf(FindControl<QWidget>(form, edit.control)))
            pages->setCurrentIndex(i);
    }
    const QString argument = QString::fromUtf8(edit.argument);
    switch (edit.action) {
    case Pick:
        QVERIFY2(PickByKeys(FindControl<QComboBox>(form, edit.control), argument), edit.control);
        break;
    case Click:
        ClickCheckBox(FindControl<QCheckBox>(form, edit.control));
        break;
    case Type:
        TypeInto(FindControl<QLineEdit>(form, edit.control), argument);
        break;
    case StepUp:
        QTest::keyClick(FindControl<ui::UpDownField>(form, edit.control), Qt::Key_Up);
        break;
    }
}

// Runs every edit on a fresh editor that has shown its setup record.
template <class Editor, class Record, class Make>
void RunEdits(std::span<const Edit> edits, std::uint8_t type, Make make) {
    for (const Edit& edit : edits) {
        LinkFixture link;
        std::unique_ptr<Editor> form = make(link.link);
        auto record = Record::Defaults();
        if (edit.setupAt >= 0)
            record[static_cast<std::size_t>(edit.setupAt)] =
                static_cast<std::uint8_t>(edit.setupValue);
        link.PutShortReply(type, {record.begin(), record.end()});
        QVERIFY(form->LoadFromReply());
        QVERIFY(Activate(*form));
        Act(*form, edit);
        form->CommitEdit();
        QVERIFY2(form->Record().bytes()[static_cast<std::size_t>(edit.byte)] == edit.value,
                 edit.control);
    }
}

} // namespace

class TestPanelEditors : public QObject {
    Q_OBJECT
    DialogsInTestMode dialogs_;

private slots:
    void cleanup() { ui::Dialogs::takeMessages(); }

    void eachControlOfTheEightZonePanelStoresItsBytes() {
        RunEdits<PanelEditor, PanelRecord>(kEdits30, 30, [](LinkModule& link) {
            return std::make_unique<PanelEditor>(link, PanelRecord::kType30);
        });
    }

    void eachControlOfTheFiveZonePanelStoresItsBytes() {
        RunEdits<FiveZonePanelEditor, FiveZonePanelRecord>(kEdits33, 33, [](LinkModule& link) {
            return std::make_unique<FiveZonePanelEditor>(link);
        });
    }

    // Values no handler would store, and values outside the lists and ranges: shown and
    // committed, the record is what was read, and the boxes of the previous record are cleared.
    void aShownRecordIsLeftAsItWasRead() {
        LinkFixture link;
        PanelEditor form(link.link, PanelRecord::kType30);
        auto record = PanelRecord::Defaults();
        for (const auto& [at, value] : {std::pair{1, 0},
                                        {2, 5},
                                        {3, 6},
                                        {4, 0x29},
                                        {24, 0x98},
                                        {32, 0x5A},
                                        {34, 0x02},
                                        {35, 2},
                                        {40, 0x00},
                                        {43, 9},
                                        {46, 0x81},
                                        {52, 0},
                                        {55, 50},
                                        {57, 3}})
            record[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value);
        link.PutShortReply(30, {record.begin(), record.end()});
        form.setEnabled(false); // disabled, as during an exchange: the record shows all the same
        QVERIFY(form.LoadFromReply());
        form.setEnabled(true);
        form.CommitEdit();
        QVERIFY(form.Record().bytes() == record);
        QVERIFY(ui::Dialogs::takeMessages().isEmpty());
        QCOMPARE(FindControl<QComboBox>(form, "bxZoneEvent1")->currentIndex(), -1);
        QCOMPARE(FindControl<QComboBox>(form, "bxBuzzer")->currentIndex(), -1);
        QCOMPARE(FindControl<QComboBox>(form, "bxTouchMemory")->currentIndex(), -1);
        QCOMPARE(FindControl<ui::UpDownField>(form, "udNetNum")->text(), QStringLiteral("9"));

        FiveZonePanelEditor five(link.link);
        auto record33 = FiveZonePanelRecord::Defaults();
        record33[3] = 0;   // zone 2 without event
        record33[12] = 40; // network number beyond the up-down's range
        record33[17] = 50;
        link.PutShortReply(33, {record33.begin(), record33.end()});
        QVERIFY(five.LoadFromReply());
        five.CommitEdit();
        QVERIFY(five.Record().bytes() == record33);
        QCOMPARE(FindControl<QComboBox>(five, "bxZoneEvent2")->currentIndex(), -1);
        QCOMPARE(FindControl<QComboBox>(five, "bxBuzzer")->currentIndex(), -1);
    }

    void zoneTypesShowAndHideTheZonesBoxes() {
        LinkFixture link;
        PanelEditor form(link.link, PanelRecord::kType30);
        auto* rearm = FindControl<QCheckBox>(form, "chkRearm3");
        QVERIFY(PickByKeys(FindControl<QComboBox>(form, "cbbZoneType3"), "Технологический"));
        QVERIFY(!rearm->isHidden() && !rearm->isEnabled() && rearm->isChecked());
        QVERIFY(PickByKeys(FindControl<QComboBox>(form, "cbbZoneType3"), "Дверной"));
        QVERIFY(rearm->isEnabled());
        QVERIFY(!FindControl<QLineEdit>(form, "edtDelayIn3")->isHidden());
        QCOMPARE(FindControl<QLineEdit>(form, "edtDelayOut3")->text(), QStringLiteral("30"));
        QVERIFY(PickByKeys(FindControl<QComboBox>(form, "cbbZoneType3"), "Пожарный"));
        QVERIFY(!FindControl<QCheckBox>(form, "chkRequery3")->isHidden());
        QVERIFY(FindControl<QLineEdit>(form, "edtDelayIn3")->isHidden());
        QVERIFY(PickByKeys(FindControl<QComboBox>(form, "cbbZoneType3"), "Отключен"));
        QVERIFY(rearm->isHidden() && !FindControl<QComboBox>(form, "bxZoneEvent3")->isEnabled());
        // Zone 3 moved to partition 2 as a guard zone enables box "2"; switched off, it clears it.
        QVERIFY(PickByKeys(FindControl<QComboBox>(form, "cbbZoneType3"), "Охранный"));
        QVERIFY(PickByKeys(FindControl<QComboBox>(form, "cbbZonePart3"), "2"));
        auto* depend = FindControl<QCheckBox>(form, "chkDepend2");
        QVERIFY(depend->isEnabled());
        ClickCheckBox(depend);
        QVERIFY(PickByKeys(FindControl<QComboBox>(form, "cbbZoneType3"), "Отключен"));
        QVERIFY(!depend->isEnabled() && !depend->isChecked());
    }

    void theGsmInterfaceWarnsAndShowsItsPage() {
        const ShownMessage warning{
            QStringLiteral("Недоступно"),
            QStringLiteral("Извините, пока в программаторе не реализована\r\nподдержка GSM-Vantiq"),
            ui::MessageIcon::Warning};
        LinkFixture link;
        PanelEditor form(link.link, PanelRecord::kType30);
        QVERIFY(Activate(form));
        auto* gsm = FindControl<QWidget>(form, "wgtGsm");
        QVERIFY(gsm->isHidden());
        QVERIFY(PickByKeys(FindControl<QComboBox>(form, "bxInterface"), "GSM-VANTIQ"));
        QCOMPARE(ui::Dialogs::takeMessages(), QList<ShownMessage>{warning});
        QVERIFY(!gsm->isHidden());

        // Only four digits reach the block; anything else shows the stored number again.
        auto* number = FindControl<QLineEdit>(form, "medtDevNum");
        TypeInto(number, "12");
        QCOMPARE(number->text(), QStringLiteral("0001"));
        TypeInto(number, "0042");
        QCOMPARE(form.Record().directions().DeviceNumber(), 42);

        auto* sms = FindControl<QCheckBox>(form, "chkSendSms");
        ClickCheckBox(sms);
        QCOMPARE(ui::Dialogs::takeMessages(), QList<ShownMessage>{warning});
        QVERIFY(!sms->isChecked());
        QVERIFY(FindControl<QWidget>(form, "btnChangeSms")->isHidden());

        PanelEditor form31(link.link, PanelRecord::kType31);
        QCOMPARE(FindControl<QComboBox>(form31, "bxInterface")->count(), 3);
        QVERIFY(form31.findChild<QWidget*>("wgtGsm") == nullptr);
        QVERIFY(PickByKeys(FindControl<QComboBox>(form31, "bxInterface"), "GSM-VANTIQ"));
        QCOMPARE(ui::Dialogs::takeMessages(), QList<ShownMessage>{warning});
    }

    // The block of a file shows in the GSM page; a stored number of five digits is shown whole
    // and left as it is, not cut to the field's four.
    void aFileShowsItsDirectionBlock() {
        auto record = PanelRecord::Defaults();
        record[35] = 2;
        PanelDirections::Bytes block = PanelDirections().bytes();
        block[4] = 0x30; // 12345
        block[5] = 0x39;
        // Tries 7, SIM 2, SIA-IP; an empty direction; one with no phone.
        const std::uint8_t entries[] = {3, 0xF3, '1', '2', 0, 1, 0x20};
        std::copy(std::begin(entries), std::end(entries), block.begin() + 8);
        ConfigFile writer(30);
        writer.AddRecord(record);
        writer.AddRecord(block);
        ConfigFile reader;
        QCOMPARE(reader.LoadFromBytes(writer.Image()), std::uint8_t{30});

        LinkFixture link;
        PanelEditor form(link.link, PanelRecord::kType30);
        QVERIFY(Activate(form));
        form.LoadFromFile(reader);
        auto* table = FindControl<DirectionTable>(form, "grdDirections");
        QVERIFY(table->Row(0) == (DirectionRow{"5", "2", "SIA-IP", "12"}));
        QVERIFY(table->Row(2) == (DirectionRow{"1", "1,2", "Voice", ""}));
        auto* number = FindControl<QLineEdit>(form, "medtDevNum");
        QCOMPARE(number->text(), QStringLiteral("12345"));
        FindControl<QTabWidget>(form, "pgcConfig")->setCurrentIndex(1);
        number->setFocus();
        QVERIFY(number->hasFocus());
        form.CommitEdit();
        QCOMPARE(number->text(), QStringLiteral("12345"));
        QCOMPARE(form.Record().directions().DeviceNumber(), 12345);
    }

    void fiveZoneTransmissionAndTouchMemoryShowTheirBoxes() {
        LinkFixture link;
        FiveZonePanelEditor form(link.link);
        auto* lineShort = FindControl<QCheckBox>(form, "chkLineShort");
        auto* tm = FindControl<QComboBox>(form, "bxTouchMemory");
        QVERIFY(PickByKeys(tm, "Ставить на охрану размыканием входа TM"));
        QVERIFY(lineShort->isHidden());
        QVERIFY(PickByKeys(tm, "Ставить и снимать ключом Touch Memory"));
        QVERIFY(!lineShort->isHidden());

        auto* network = FindControl<QWidget>(form, "wgtNetNum");
        auto* remote = FindControl<QCheckBox>(form, "chkRemoteDisarm");
        QVERIFY(network->isHidden() && remote->isHidden());
        QVERIFY(PickByKeys(FindControl<QComboBox>(form, "bxInterface"), "RS-485"));
        QVERIFY(!network->isHidden() && remote->isHidden());
        ClickCheckBox(FindControl<QCheckBox>(form, "chkGsm"));
        QVERIFY(!remote->isHidden());
        auto* upDown = FindControl<ui::UpDownField>(form, "udNetNum");
        for (int i = 0; i < 40; ++i)
            QTest::keyClick(upDown, Qt::Key_Up);
        QCOMPARE(form.Record().bytes()[12], std::uint8_t{32});
    }

    void theDirectionTableEditsInPlace() {
        DirectionTable table;
        PanelDirections::Rows rows;
        rows.fill({"1", "1,2", "Voice", std::string(30, '1')}); // 120 characters in rows 1..4
        rows[4] = {"Выкл.", "", "", ""};
        table.ShowRows(rows);
        QVERIFY(Activate(table));
        QVERIFY(!(table.item(4, DirectionTable::Phone)->flags() & Qt::ItemIsEditable));

        // A row dragged by its number moves there; the others close up.
        const auto numberAt = [&](int row) {
            return table.visualItemRect(table.item(row, DirectionTable::Number)).center();
        };
        QTest::mousePress(table.viewport(), Qt::LeftButton, {}, numberAt(4));
        QTest::mouseRelease(table.viewport(), Qt::LeftButton, {}, numberAt(0));
        QVERIFY(table.Row(0) == rows[4] && table.Row(4) == rows[3]);
        table.ShowRows(rows);

        // Switching a direction on fills in a sample, and the cursor rests in the hidden column.
        table.setCurrentCell(4, DirectionTable::Tries);
        auto* list = table.findChild<QComboBox*>();
        QVERIFY(list != nullptr);
        QCOMPARE(list->currentText(), QStringLiteral("Выкл."));
        QTest::keyClick(list, '3');
        QVERIFY(table.Row(4) == (DirectionRow{"3", "1,2", "Voice", std::string(kSamplePhone)}));
        QVERIFY(waitUntil([&] { return table.currentColumn() == DirectionTable::Rest; }));
        QVERIFY(table.item(4, DirectionTable::Phone)->flags() & Qt::ItemIsEditable);

        // Refused characters, then only as many as the five cells together may hold.
        rows[4] = {"2", "1", "CSD", ""};
        table.ShowRows(rows);
        const auto editPhone = [&](int row) {
            table.setCurrentCell(row, DirectionTable::Phone);
            return qobject_cast<QLineEdit*>(QApplication::focusWidget());
        };
        QLineEdit* edit = editPhone(4);
        QVERIFY(edit != nullptr);
        QTest::keyClicks(edit, "A/ ");
        QApplication::clipboard()->setText(QStringLiteral("AB/"));
        QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(edit->text(), QString());
        QTest::keyClicks(edit, QString(20, '9'));
        QCOMPARE(edit->text(), QString(16, '9'));

        // A cell of 31 characters takes no 32nd; Backspace always passes.
        for (int row = 1; row < PanelDirections::kRowCount; ++row)
            rows[static_cast<std::size_t>(row)].phone.clear();
        rows[0].phone = std::string(31, '1');
        table.ShowRows(rows);
        edit = editPhone(0);
        QVERIFY(edit != nullptr);
        QTest::keyClick(edit, Qt::Key_End);
        QTest::keyClick(edit, '2');
        QCOMPARE(edit->text(), QString(31, '1'));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, '2');
        QCOMPARE(edit->text(), QString(30, '1') + "2");
    }
};

TESMIRA_WIDGET_TEST(TestPanelEditors)
#include "tst_panel_editors.moc"
