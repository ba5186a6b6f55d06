// The type 34 and 35 editors' forms: every control wired to its record byte, records shown without
// a handler running, the type 35 letter controls per mode, its objects button caption, and its
// closing report arriving after a newer editor has taken its place.
#include "editors/ui/RepeaterEditor34.h"
#include "editors/ui/RepeaterEditor35.h"
#include "gui/EditorFactory.h"
#include "support/ui/FakeEditor.h"
#include "support/ui/FormDriver.h"
#include "support/ui/LinkFixture.h"
#include "support/ui/UiTestSupport.h"
#include "support/ui/WidgetTestMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <memory>

using tesmira::test::Bytes;
using tesmira::test::ClickCheckBox;
using tesmira::test::FindControl;
using tesmira::test::LinkFixture;
using tesmira::test::TypeInto;
using tesmira::ui::DeviceEditor;
using tesmira::ui::RepeaterEditor34;
using tesmira::ui::RepeaterEditor35;

namespace {

const Bytes kHead34 = {0x00, 0x18, 0x00, 0x01, 0x05, 0x05, 0x05,
                       0x08, 0x01, 0x03, 0x33, 0x00, 0x0C};
const Bytes kHead35 = {0x01, 0x00, 0x00, 0x03, 0x04, 0x07, 0x17, 0x1E, 0x1E, 0x01,
                       0x01, 0x03, 0x00, 0x01, 0x18, 0x28, 0x01, 0x01, 0x33, 0x00};

Bytes Record(const Bytes& head, std::size_t size) {
    Bytes record(size, 0x00);
    std::copy(head.begin(), head.end(), record.begin());
    return record;
}

std::unique_ptr<DeviceEditor> MakeEditor(tesmira::LinkModule& link, std::uint8_t type) {
    if (type == 34)
        return std::make_unique<RepeaterEditor34>(link);
    return std::make_unique<RepeaterEditor35>(link);
}

Bytes RecordOf(const DeviceEditor& editor) {
    if (const auto* r34 = dynamic_cast<const RepeaterEditor34*>(&editor))
        return Bytes(r34->RecordBytes().begin(), r34->RecordBytes().end());
    const auto& bytes = dynamic_cast<const RepeaterEditor35&>(editor).RecordBytes();
    return Bytes(bytes.begin(), bytes.end());
}

// The receive buffer after a read of a repeater holding `record`; the CRC is left 0, editors do
// not check it.
void PutLongReply(LinkFixture& link, std::uint8_t type, const Bytes& record) {
    const std::size_t length = record.size() + 7;
    Bytes frame = {0x14, 0x00, std::uint8_t(length >> 8), std::uint8_t(length), type, 0x01};
    frame.insert(frame.end(), record.begin(), record.end());
    frame.push_back(0x00);
    link.PutReply(frame);
}

// The tab holding the control comes to the front, so that focus and keys reach it.
void ShowPageOf(QWidget& form, QWidget* control) {
    auto* pages = FindControl<QTabWidget>(form, "pgcConfig");
    for (int i = 0; i < pages->count(); ++i) {
        if (pages->widget(i)->isAncestorOf(control))
            pages->setCurrentIndex(i);
    }
}

// Picks by keys as a user does; an editable list is stepped from its current item, since Home
// moves its caret instead.
bool Pick(QComboBox* box, const QString& text) {
    if (!box->isEditable())
        return tesmira::test::PickByKeys(box, text);
    const int target = box->findText(text);
    while (target >= 0 && box->currentIndex() != target)
        QTest::keyClick(box, box->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
    return target >= 0;
}

QLineEdit* LineOf(QWidget* control) {
    if (auto* box = qobject_cast<QComboBox*>(control))
        return box->lineEdit();
    return qobject_cast<QLineEdit*>(control);
}

// What each named control shows: a list's text ("(none)" without selection), a check mark, an
// edit's or a button's text; "(off) " before a disabled control, "(hidden)" for a hidden one.
QString ViewOf(QWidget& form, const std::vector<const char*>& names) {
    QStringList view;
    for (const char* name : names) {
        auto* control = FindControl<QWidget>(form, name);
        QString shown;
        if (auto* box = qobject_cast<QComboBox*>(control))
            shown = box->currentIndex() < 0 && !box->isEditable() ? "(none)" : box->currentText();
        else if (auto* check = qobject_cast<QCheckBox*>(control))
            shown = check->isChecked() ? "x" : "-";
        else if (auto* edit = qobject_cast<QLineEdit*>(control))
            shown = edit->text();
        else if (auto* button = qobject_cast<QPushButton*>(control))
            shown = button->text();
        else if (auto* label = qobject_cast<QLabel*>(control))
            shown = label->text();
        if (!control->isEnabled())
            shown.prepend("(off) ");
        view << (control->isHidden() ? QStringLiteral("(hidden)") : shown);
    }
    return view.join('|');
}

const std::vector<const char*> kView34 = {
    "cbbTxMode",         "edtSysNum",         "cbbRetLiterRX",  "edtRetObjCheck",
    "chkRetBuzOn",       "chkRetIndTxTM",     "chkRetIndTxLed", "cbbRetReleAlarmCfg",
    "cbbRetReleFireCfg", "chkRetReleFireCtr", "btnRetObj"};
const std::vector<const char*> kView35 = {
    "bxRetLiterRX",       "bxRetTxMode",       "bxRetLiterTX",    "chkRetTx485",
    "chkRetIndTxTM",      "chkRetIndTxLed",    "chkCNC_TxGSM",    "chkStavelDelay",
    "chkRetActivateRele", "cbbStavelCheck",    "cbbObjCheck",     "bxRetReleAlarmCfg",
    "bxRetReleFireCfg",   "chkRetReleFireCtr", "chkRetBuzOn",     "chkLockAlrm",
    "cbbRetShlfType1",    "bxShlfEvent1",      "cbbRetShlfType2", "bxShlfEvent2",
    "edtRetDelIn",        "edtRetDelOut",      "btnRetObj"};

enum class Act { Pick, Click, Type, TypeThenCommit };

} // namespace

class TestRepeaterEditors : public QObject {
    Q_OBJECT
    std::unique_ptr<LinkFixture> link_;

private slots:
    void init() { link_ = std::make_unique<LinkFixture>(); }
    void cleanup() { link_.reset(); }

    void eachControlStoresItsByte() {
        struct Row {
            std::uint8_t type;
            const char* control;
            Act act;
            QString value;
            std::vector<std::pair<std::size_t, std::uint8_t>> changes;
            QString shown; // what an edit shows after it was left, when it was corrected
        };
        const Row rows[] = {
            {34, "cbbTxMode", Act::Pick, "Промежуточный 6", {{0, 6}}, {}},
            {34, "edtSysNum", Act::Type, "300", {{1, 255}}, "255"},
            {34, "cbbRetLiterRX", Act::Pick, "8", {{3, 8}}, {}},
            {34, "edtRetObjCheck", Act::TypeThenCommit, "45", {{7, 30}}, "30"},
            {34, "chkRetBuzOn", Act::Click, {}, {{8, 0}}, {}},
            {34, "chkRetIndTxTM", Act::Click, {}, {{9, 0x02}}, {}},
            {34, "chkRetIndTxLed", Act::Click, {}, {{9, 0x01}}, {}},
            {34, "cbbRetReleAlarmCfg", Act::Pick, "Прерывисто до сброса", {{10, 0x53}}, {}},
            {34, "cbbRetReleFireCfg", Act::Pick, "3 секунды", {{10, 0x31}}, {}},
            {34, "chkRetReleFireCtr", Act::Click, {}, {{11, 1}}, {}},
            {35, "chkRetBuzOn", Act::Click, {}, {{0, 0}}, {}},
            {35, "chkLockAlrm", Act::Click, {}, {{1, 1}}, {}},
            {35, "cbbRetShlfType1", Act::Pick, "Охранный", {{3, 5}, {4, 20}}, {}},
            {35, "cbbRetShlfType2", Act::Pick, "Отключен", {{5, 0}}, {}},
            {35, "bxShlfEvent2", Act::Pick, "394 - ПОМЕХА", {{6, 238}}, {}},
            {35, "edtRetDelOut", Act::Type, "-5", {{7, 0}}, "0"},
            {35, "edtRetDelIn", Act::TypeThenCommit, "150", {{8, 99}}, "99"},
            {35, "bxRetLiterRX", Act::Pick, "8", {{9, 8}}, {}},
            {35, "bxRetLiterTX", Act::Pick, "8", {{10, 8}}, {}},
            {35, "chkRetIndTxLed", Act::Click, {}, {{11, 0x01}}, {}},
            {35, "chkCNC_TxGSM", Act::Click, {}, {{12, 0x01}}, {}},
            {35, "bxRetTxMode", Act::Pick, "Pirra-202", {{13, 2}}, {}},
            {35, "chkRetTx485", Act::Click, {}, {{13, 0x81}}, {}},
            {35, "cbbStavelCheck", Act::Type, "50", {{14, 32}}, "32"},
            {35, "cbbStavelCheck", Act::TypeThenCommit, "25", {{14, 25}}, {}},
            {35, "cbbObjCheck", Act::Type, "abc", {{15, 0}}, "Выкл."},
            {35, "cbbObjCheck", Act::Pick, "90", {{15, 90}}, {}},
            {35, "chkStavelDelay", Act::Click, {}, {{16, 0}}, {}},
            {35, "chkRetActivateRele", Act::Click, {}, {{17, 0}}, {}},
            {35, "bxRetReleFireCfg", Act::Pick, "Отключено", {{18, 0x30}}, {}},
            {35, "chkRetReleFireCtr", Act::Click, {}, {{19, 1}}, {}},
        };
        for (const Row& row : rows) {
            const QByteArray named = QByteArray(row.control) + " " + row.value.toUtf8();
            const char* name = named.constData();
            auto form = MakeEditor(link_->link, row.type);
            form->show();
            form->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(form.get()));
            auto* control = FindControl<QWidget>(*form, row.control);
            ShowPageOf(*form, control);
            Bytes expected = RecordOf(*form);
            for (const auto& [at, value] : row.changes)
                expected[at] = value;
            switch (row.act) {
            case Act::Pick:
                QVERIFY2(Pick(qobject_cast<QComboBox*>(control), row.value), name);
                break;
            case Act::Click:
                ClickCheckBox(qobject_cast<QCheckBox*>(control));
                break;
            case Act::Type:
                TypeInto(LineOf(control), row.value);
                QVERIFY2(!control->hasFocus(), name);
                break;
            case Act::TypeThenCommit:
                TypeInto(LineOf(control), row.value, false);
                form->CommitEdit(); // as a write or a save does
                break;
            }
            QVERIFY2(RecordOf(*form) == expected, name);
            if (!row.shown.isEmpty())
                QCOMPARE(LineOf(control)->text(), row.shown);
        }
    }

    void recordsAreShownWithoutRunningAHandler_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QString>("view");
        const auto bytes = [](const Bytes& b) {
            return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
        };
        QTest::newRow("34 defaults") << 34 << bytes(Record(kHead34, 55))
                                     << "Velmor 550|24|1|8|x|x|x|До сброса|До сброса|-|Объекты";
        QTest::newRow("34 other values")
            << 34
            << bytes(Record({0x06, 0xC8, 0x11, 0x08, 1, 2, 3, 0x1E, 0x00, 0xFD, 0x05, 0x01, 0x77,
                             0x41, 0xAB, 0xCD},
                            55))
            << "Промежуточный 6|200|8|30|-|x|-|Отключено|Прерывисто до сброса|x|Объекты";
        QTest::newRow("35 defaults")
            << 35 << bytes(Record(kHead35, 116))
            << "1|Pirra-201|1|-|x|x|-|x|x|24|40|До сброса|До сброса|-|x|-|Пожарный|110 - ПОЖАР|"
               "Дверной|134 - ВХОД/ВЫХОД|30|30|Объекты";
        // Zone 1 off with the event byte 0: no event shown, not the one shown before.
        QTest::newRow("35 other values")
            << 35
            << bytes(Record({0x00, 0x01, 0x5A, 0x00, 0x00, 0x05, 0xEE, 0x63, 0x05, 0x08,
                             0x14, 0xFE, 0x81, 0x82, 0x19, 0x00, 0x00, 0x00, 0x51, 0x01},
                            116))
            << "8|Pirra-202|20|x|-|x|x|-|-|25|Выкл.|Прерывисто до сброса|3 секунды|x|-|x|Отключен|"
               "(off) (none)|Охранный|394 - ПОМЕХА|5|99|Объекты";
    }

    void recordsAreShownWithoutRunningAHandler() {
        QFETCH(int, type);
        QFETCH(QByteArray, record);
        QFETCH(QString, view);
        auto form = MakeEditor(link_->link, std::uint8_t(type));
        const Bytes bytes(record.begin(), record.end());
        PutLongReply(*link_, std::uint8_t(type), bytes);
        QVERIFY(form->LoadFromReply());
        QCOMPARE(ViewOf(*form, type == 34 ? kView34 : kView35), view);
        QVERIFY(RecordOf(*form) == bytes);
    }

    void modeChoiceShowsItsLettersAndUnchecksRs485() {
        RepeaterEditor35 form(link_->link);
        Bytes record = Record(kHead35, 116);
        record[10] = 20;
        record[13] = 0x82;
        PutLongReply(*link_, 35, record);
        QVERIFY(form.LoadFromReply());
        auto* mode = FindControl<QComboBox>(form, "bxRetTxMode");
        auto* letters = FindControl<QComboBox>(form, "bxRetLiterTX");
        const auto view = [&] {
            return QString::number(letters->count()) + " " +
                   ViewOf(form, {"bxRetLiterTX", "lblRetLiterTX", "chkRetTx485"});
        };
        QCOMPARE(view(), "30 20|Литера:|x");
        QStringList seen;
        for (const char* choice : {"Pirra-201", "Выключено", "Velmor", "Pirra-202"}) {
            QVERIFY(Pick(mode, choice));
            seen << view();
        }
        // Letter 20 is not among "1".."8": no selection, and the byte keeps it.
        QCOMPARE(seen, QStringList({"8 (none)|Литера:|-", "0 (hidden)|(hidden)|-",
                                    "0 (hidden)|(hidden)|(hidden)", "30 20|Литера:|-"}));
        QCOMPARE(RecordOf(form)[10], std::uint8_t{20});
    }

    void objectsButtonCountsOnceTheWindowHasBeenClosed() {
        RepeaterEditor35 form(link_->link);
        auto* button = FindControl<QPushButton>(form, "btnRetObj");
        tesmira::test::whenModal("ObjectsWindow", [](QWidget& window) {
            QTest::mouseClick(FindControl<QPushButton>(window, "btClose"), Qt::LeftButton);
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(button->text(), "Объектов 0");
        // A record read afterwards is counted, not the one the window was closed with.
        Bytes record = Record(kHead35, 116);
        record[20] = 0x41;
        record[113] = 0x03;
        PutLongReply(*link_, 35, record);
        QVERIFY(form.LoadFromReply());
        QCOMPARE(button->text(), "Объектов 2");
    }

    void aLateClosingReportLeavesTheNewerEditorCurrent() {
        tesmira::ui::EditorFactory factory(link_->link);
        factory.Register<RepeaterEditor34>(34);
        factory.Register<RepeaterEditor35>(35);
        tesmira::test::RecordingReceiver receiver(&factory);
        QVERIFY(factory.Open(35, nullptr, &receiver));
        QPointer<DeviceEditor> replaced = factory.Current();
        QVERIFY(factory.Open(34, nullptr, &receiver));
        DeviceEditor* newer = factory.Current();
        QVERIFY(receiver.reports.isEmpty()); // queued
        QVERIFY(tesmira::test::waitUntil([&] { return !receiver.reports.isEmpty(); }));
        QCOMPARE(receiver.reports[0].code, tesmira::ui::EditorReport::Closing);
        QVERIFY(!receiver.reports[0].forgotEditor);
        QCOMPARE(factory.Current(), newer);
        QVERIFY(tesmira::test::waitUntil([&] { return replaced.isNull(); }));
        factory.CloseCurrent();
    }
};

TESMIRA_WIDGET_TEST(TestRepeaterEditors)
#include "tst_repeater_editors.moc"
