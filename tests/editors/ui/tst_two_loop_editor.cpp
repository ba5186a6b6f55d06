// The type 26/27 editor form: its controls and texts, showing defaults, replies and files without
// running a handler, values outside the lists, saving and loading files.
#include "editors/ui/TwoLoopEditor.h"
#include "gui/EventBox.h"
#include "model/ConfigFile.h"
#include "support/FactoryRecords.h"
#include "support/TempDir.h"
#include "support/ui/FakeEditor.h"
#include "support/ui/FormDriver.h"
#include "support/ui/LinkFixture.h"
#include "support/ui/WidgetTestMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include <memory>

using tesmira::ConfigFile;
using tesmira::TwoLoopRecord;
using tesmira::test::Bytes;
using tesmira::test::kFactoryRecord26;
using tesmira::test::RecordingReceiver;
using tesmira::ui::EditorReport;
using tesmira::ui::EventBox;
using tesmira::ui::TwoLoopEditor;

using tesmira::test::FindControl;

namespace {

// Every value unlike the defaults: letter 30, counts 12 and 1, "6,5  мин.", loop 1 "Охранный"
// with 131 - ПЕРИМЕТР, loop 2 off with 371 - ШЛЕЙФ ОБРЫВ, delays 5 and 99, all monitoring.
const Bytes kOther = {0x1E, 0x0C, 0x01, 0x0D, 0x05, 0x14, 0x00, 0x66, 0x05, 0x63, 0xE0, 0x01, 0x00};

const Bytes kReplyDefaults26Version9 = {0x7E, 0x13, 0x57, 0x1A, 0x09, 0x01, 0x08, 0x05, 0x02, 0x03,
                                        0x04, 0x07, 0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0xD2};
const Bytes kReplyOtherVersion4 = {0x7E, 0x13, 0x57, 0x1A, 0x04, 0x1E, 0x0C, 0x01, 0x0D, 0x05,
                                   0x14, 0x00, 0x66, 0x05, 0x63, 0xE0, 0x01, 0x00, 0xA4};
const Bytes kReplyDefaults27Version3 = {0x7E, 0x13, 0x57, 0x1B, 0x03, 0x01, 0x08, 0x05, 0x0A, 0x03,
                                        0x04, 0x07, 0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0xCB};

Bytes AsBytes(const TwoLoopRecord::Bytes& record) {
    return Bytes(record.begin(), record.end());
}

QString Current(QWidget& form, const char* box) {
    return FindControl<QComboBox>(form, box)->currentText();
}

bool Checked(QWidget& form, const char* box) {
    return FindControl<QCheckBox>(form, box)->isChecked();
}

QString EditText(QWidget& form, const char* edit) {
    return FindControl<QLineEdit>(form, edit)->text();
}

QStringList Items(QWidget& form, const char* box) {
    QStringList items;
    auto* combo = FindControl<QComboBox>(form, box);
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    return items;
}

const char* const kLists[] = {"cbbLoopType1", "cbbLoopType2", "bxLoopEvent1", "bxLoopEvent2",
                              "bxTxLetter",   "bxTxAlarmCnt", "bxTxNormCnt",  "bxTxTO"};
const char* const kChecks[] = {"chkExpBox6", "chkExpBox7", "chkU2", "chkGuardSnd", "chkUseBuzzer"};

// Spies on every signal a handler hangs on; none may fire while a record is shown.
struct HandlerSpies {
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    explicit HandlerSpies(QWidget& form) {
        for (const char* name : kLists)
            spies.push_back(std::make_unique<QSignalSpy>(FindControl<QComboBox>(form, name),
                                                         &QComboBox::activated));
        for (const char* name : kChecks)
            spies.push_back(std::make_unique<QSignalSpy>(FindControl<QCheckBox>(form, name),
                                                         &QCheckBox::clicked));
    }
    int total() const {
        int n = 0;
        for (const auto& spy : spies)
            n += static_cast<int>(spy->count());
        return n;
    }
};

void ExpectDefaultsShown(QWidget& form, const QString& channelCheck) {
    QCOMPARE(Current(form, "bxTxLetter"), QStringLiteral("1"));
    QCOMPARE(Current(form, "bxTxAlarmCnt"), QStringLiteral("8"));
    QCOMPARE(Current(form, "bxTxNormCnt"), QStringLiteral("5"));
    QCOMPARE(Current(form, "bxTxTO"), channelCheck);
    QCOMPARE(Current(form, "cbbLoopType1"), QStringLiteral("Пожарный"));
    QCOMPARE(Current(form, "bxLoopEvent1"), QStringLiteral("110 - ПОЖАР"));
    QCOMPARE(Current(form, "cbbLoopType2"), QStringLiteral("Дверной"));
    QCOMPARE(Current(form, "bxLoopEvent2"), QStringLiteral("370 - ШЛЕЙФ НЕИСПР"));
    QVERIFY(FindControl<QComboBox>(form, "bxLoopEvent1")->isEnabled());
    QVERIFY(FindControl<QComboBox>(form, "bxLoopEvent2")->isEnabled());
    QCOMPARE(EditText(form, "edtRetDelOut"), QStringLiteral("60"));
    QCOMPARE(EditText(form, "edtRetDelIn"), QStringLiteral("30"));
    QVERIFY(!Checked(form, "chkExpBox6"));
    QVERIFY(!Checked(form, "chkExpBox7"));
    QVERIFY(!Checked(form, "chkU2"));
    QVERIFY(!Checked(form, "chkGuardSnd"));
    QVERIFY(Checked(form, "chkUseBuzzer"));
}

void ExpectOtherShown(QWidget& form) {
    QCOMPARE(Current(form, "bxTxLetter"), QStringLiteral("30"));
    QCOMPARE(Current(form, "bxTxAlarmCnt"), QStringLiteral("12"));
    QCOMPARE(Current(form, "bxTxNormCnt"), QStringLiteral("1"));
    QCOMPARE(Current(form, "bxTxTO"), QStringLiteral("6,5  мин."));
    QCOMPARE(Current(form, "cbbLoopType1"), QStringLiteral("Охранный"));
    QCOMPARE(Current(form, "bxLoopEvent1"), QStringLiteral("131 - ПЕРИМЕТР"));
    QCOMPARE(Current(form, "cbbLoopType2"), QStringLiteral("Отключен"));
    QCOMPARE(Current(form, "bxLoopEvent2"), QStringLiteral("371 - ШЛЕЙФ ОБРЫВ"));
    QVERIFY(!FindControl<QComboBox>(form, "bxLoopEvent2")->isEnabled());
    QCOMPARE(EditText(form, "edtRetDelOut"), QStringLiteral("5"));
    QCOMPARE(EditText(form, "edtRetDelIn"), QStringLiteral("99"));
    for (const char* box : {"chkExpBox6", "chkExpBox7", "chkU2", "chkGuardSnd"})
        QVERIFY2(Checked(form, box), box);
    QVERIFY(!Checked(form, "chkUseBuzzer"));
}

} // namespace

class TestTwoLoopEditor : public QObject {
    Q_OBJECT
    std::unique_ptr<tesmira::test::LinkFixture> link_;

private slots:
    void init() { link_ = std::make_unique<tesmira::test::LinkFixture>(); }
    void cleanup() { link_.reset(); }

    void controlsCarryTheirNamesCaptionsAndTags() {
        TwoLoopEditor form(link_->link, 26);
        auto* pages = FindControl<QTabWidget>(form, "pgcConfig");
        QVERIFY(pages);
        QCOMPARE(pages->count(), 1);
        QCOMPARE(pages->currentWidget(), FindControl<QWidget>(form, "tsMain"));
        QCOMPARE(pages->tabText(0), QStringLiteral("Основное"));
        QCOMPARE(FindControl<QGroupBox>(form, "grpDelayTime")->title(),
                 QStringLiteral("Задержка, сек"));
        QCOMPARE(FindControl<QGroupBox>(form, "grpOpControl")->title(),
                 QStringLiteral("Контроль цепей оповещения:"));
        QCOMPARE(FindControl<QCheckBox>(form, "chkExpBox6")->text(), QStringLiteral("Сирена"));
        QCOMPARE(FindControl<QCheckBox>(form, "chkExpBox7")->text(), QStringLiteral("Лампа"));
        QCOMPARE(FindControl<QCheckBox>(form, "chkU2")->text(),
                 QStringLiteral("Контроль входа U2"));
        QCOMPARE(FindControl<QCheckBox>(form, "chkGuardSnd")->text(),
                 QStringLiteral("Сигналы взятия\\снятия сиреной"));
        QCOMPARE(FindControl<QCheckBox>(form, "chkUseBuzzer")->text(),
                 QStringLiteral("Использовать внутренний зуммер"));
        QStringList captions;
        for (QLabel* label : form.findChildren<QLabel*>())
            captions.append(label->text());
        for (const char* caption :
             {"ШС1:", "Тип шлейфа", "Код события", "вход:", "выход:", "Литера:",
              "Кол-во перед тревог:", "Кол-во перед восст:", "Контроль канала:"})
            QVERIFY2(captions.contains(QString::fromUtf8(caption)), caption);
        QStringList groups;
        for (QGroupBox* group : form.findChildren<QGroupBox*>())
            groups.append(group->title());
        QVERIFY(groups.contains(QStringLiteral("Передатчик")));
        const std::pair<const char*, int> tags[] = {
            {"cbbLoopType1", 1}, {"cbbLoopType2", 2}, {"bxLoopEvent1", 1}, {"bxLoopEvent2", 2},
            {"chkExpBox6", 6},   {"chkExpBox7", 7},   {"chkU2", 5}};
        for (const auto& [name, tag] : tags)
            QCOMPARE(FindControl<QWidget>(form, name)->property("tag").toInt(), tag);
        QVERIFY(FindControl<EventBox>(form, "bxLoopEvent1"));
        QVERIFY(FindControl<EventBox>(form, "bxLoopEvent2"));
    }

    void listsOfferTheirItemsInOrder() {
        TwoLoopEditor form(link_->link, 26);
        QCOMPARE(Items(form, "bxTxTO"),
                 QStringList({"откл.", "30 сек", "1 мин.", "1,5  мин.", "2  мин.", "2,5  мин.",
                              "3  мин.", "3,5  мин.", "4  мин.", "4,5  мин.", "5  мин.",
                              "5,5  мин.", "6  мин.", "6,5  мин."}));
        QCOMPARE(Items(form, "bxTxAlarmCnt"),
                 QStringList({"3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}));
        QCOMPARE(Items(form, "bxTxNormCnt"), QStringList({"1", "2", "3", "4", "5", "6", "7", "8"}));
        const QStringList letters = Items(form, "bxTxLetter");
        QCOMPARE(letters.size(), 30);
        QCOMPARE(letters.front(), QStringLiteral("1"));
        QCOMPARE(letters.back(), QStringLiteral("30"));
        const QStringList zoneTypes = {"Отключен",   "Тревожный",       "Тихий тревожный",
                                       "Пожарный",   "Технологический", "Охранный",
                                       "Внутренний", "Дверной"};
        for (const char* name : {"cbbLoopType1", "cbbLoopType2"}) {
            QCOMPARE(Items(form, name), zoneTypes);
            auto* box = FindControl<QComboBox>(form, name);
            for (int i = 0; i < box->count(); ++i)
                QVERIFY(!box->itemIcon(i).isNull());
        }
        // All events, user events included.
        const QStringList events = Items(form, "bxLoopEvent1");
        QCOMPARE(events.size(), 238);
        QCOMPARE(events.front(), QStringLiteral("100 - МЕД.ТРЕВОГА"));
        QCOMPARE(events.back(), QStringLiteral("394 - ПОМЕХА"));
        QVERIFY(events.contains(QStringLiteral("401 - СНЯТ ПОЛЬЗ.")));
    }

    void defaultsAreShownForEitherType() {
        TwoLoopEditor form26(link_->link, 26);
        QCOMPARE(form26.DeviceType, std::uint8_t{26});
        QCOMPARE(AsBytes(form26.RecordBytes()), kFactoryRecord26);
        ExpectDefaultsShown(form26, QStringLiteral("1 мин."));
        TwoLoopEditor form27(link_->link, 27);
        QCOMPARE(form27.DeviceType, std::uint8_t{27});
        ExpectDefaultsShown(form27, QStringLiteral("5  мин."));
        QCOMPARE(form27.RecordBytes()[3], std::uint8_t{0x0A});
    }

    void aReplyIsShownCaptionedAndReported() {
        TwoLoopEditor form(link_->link, 26);
        RecordingReceiver receiver;
        form.MainWindowHandle = &receiver;
        link_->PutReply(kReplyOtherVersion4);
        form.LoadFromReply();
        QCOMPARE(AsBytes(form.RecordBytes()), kOther);
        ExpectOtherShown(form);
        QCOMPARE(form.windowTitle(), QStringLiteral("Miren-1, Версия прибора - 4"));

        link_->PutReply(kReplyDefaults26Version9);
        form.LoadFromReply();
        QCOMPARE(AsBytes(form.RecordBytes()), kFactoryRecord26);
        ExpectDefaultsShown(form, QStringLiteral("1 мин."));
        QCOMPARE(form.windowTitle(), QStringLiteral("Miren-1, Версия прибора - 9"));
        QCOMPARE(receiver.reports.size(), 2);
        QCOMPARE(receiver.reports[1].code, EditorReport::Loaded);
        QCOMPARE(receiver.reports[1].sender, &form);
    }

    void aType27ReplyCaptionsWithItsOwnName() {
        TwoLoopEditor form(link_->link, 27);
        link_->PutReply(kReplyDefaults27Version3);
        form.LoadFromReply();
        QCOMPARE(form.windowTitle(), QStringLiteral("Miren-2, Версия прибора - 3"));
        QCOMPARE(form.RecordBytes()[3], std::uint8_t{0x0A});
    }

    // A handler running while a record is shown would rewrite it: a loop type handler would put
    // its default event over the shown one, a delay handler would clamp 200.
    void showingARecordRunsNoHandler() {
        TwoLoopEditor form(link_->link, 26);
        HandlerSpies spies(form);
        const Bytes shown = {0x1E, 0x0C, 0x01, 0x0D, 0x05, 0x04, 0x00,
                             0x66, 0xC8, 0x63, 0x3F, 0x07, 0x09};
        link_->PutShortReply(26, shown);
        form.LoadFromReply();
        QCOMPARE(AsBytes(form.RecordBytes()), shown);
        QCOMPARE(Current(form, "bxLoopEvent1"), QStringLiteral("110 - ПОЖАР"));
        QCOMPARE(EditText(form, "edtRetDelOut"), QStringLiteral("200"));
        QVERIFY(Checked(form, "chkU2")); // bit 5 of 0x3F
        QVERIFY(!Checked(form, "chkExpBox6"));
        QVERIFY(Checked(form, "chkGuardSnd"));
        form.SetDefaults();
        QCOMPARE(AsBytes(form.RecordBytes()), kFactoryRecord26);
        QCOMPARE(spies.total(), 0);
    }

    void valuesOutsideTheListsShowNoSelectionAndStay() {
        TwoLoopEditor form(link_->link, 26);
        link_->PutReply(kReplyOtherVersion4); // every list has a selection first
        form.LoadFromReply();
        const Bytes outside = {0x00, 0x02, 0x09, 0x0E, 0x08, 0x00, 0x07,
                               0xF0, 0x3C, 0x1E, 0x00, 0x00, 0x01};
        link_->PutShortReply(26, outside);
        form.LoadFromReply();
        for (const char* box : {"bxTxLetter", "bxTxAlarmCnt", "bxTxNormCnt", "bxTxTO",
                                "cbbLoopType1", "bxLoopEvent1", "bxLoopEvent2"})
            QVERIFY2(FindControl<QComboBox>(form, box)->currentIndex() == -1, box);
        // Zone type 8 is not off, so its event list stays usable.
        QVERIFY(FindControl<QComboBox>(form, "bxLoopEvent1")->isEnabled());
        QCOMPARE(AsBytes(form.RecordBytes()), outside);
        // Saving writes the bytes as they are.
        tesmira::test::TempDir dir;
        form.SaveToFile(QString::fromStdString((dir / "outside.bcf").string()));
        ConfigFile reader;
        QCOMPARE(reader.LoadFrom(dir / "outside.bcf"), std::uint8_t{26});
        TwoLoopRecord::Bytes saved{};
        QCOMPARE(reader.ReadRecord(saved, 13), std::size_t{13});
        QCOMPARE(AsBytes(saved), outside);
    }

    void savingWritesTheFileOfTheType() {
        tesmira::test::TempDir dir;
        TwoLoopEditor form26(link_->link, 26);
        form26.SaveToFile(QString::fromStdString((dir / "a.bcf").string()));
        QCOMPARE(tesmira::test::ReadFileBytes(dir / "a.bcf"),
                 Bytes({0x01, 0x00, 0x1A, 0x00, 0x0D, 0x01, 0x08, 0x05, 0x02, 0x03, 0x04, 0x07,
                        0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0x4C}));
        TwoLoopEditor form27(link_->link, 27);
        form27.SaveToFile(QString::fromStdString((dir / "b.bcf").string()));
        QCOMPARE(tesmira::test::ReadFileBytes(dir / "b.bcf"),
                 Bytes({0x01, 0x00, 0x1B, 0x00, 0x0D, 0x01, 0x08, 0x05, 0x0A, 0x03, 0x04, 0x07,
                        0x65, 0x3C, 0x1E, 0x00, 0x00, 0x01, 0x0F}));
    }

    void loadingAFileShowsItsRecord() {
        tesmira::test::TempDir dir;
        ConfigFile writer(26);
        writer.AddRecord(kOther);
        writer.SaveTo(dir / "other.bcf");
        TwoLoopEditor form(link_->link, 26);
        HandlerSpies spies(form);
        ConfigFile reader;
        QCOMPARE(reader.LoadFrom(dir / "other.bcf"), std::uint8_t{26});
        form.LoadFromFile(reader);
        QCOMPARE(AsBytes(form.RecordBytes()), kOther);
        ExpectOtherShown(form);
        QCOMPARE(spies.total(), 0);
    }

    void aTwelveByteRecordIsIgnored() {
        tesmira::test::TempDir dir;
        ConfigFile writer(26);
        writer.AddRecord(Bytes(kOther.begin(), kOther.end() - 1));
        writer.SaveTo(dir / "short.bcf");
        TwoLoopEditor form(link_->link, 26);
        ConfigFile reader;
        QCOMPARE(reader.LoadFrom(dir / "short.bcf"), std::uint8_t{26});
        form.LoadFromFile(reader);
        QCOMPARE(AsBytes(form.RecordBytes()), kFactoryRecord26);
        ExpectDefaultsShown(form, QStringLiteral("1 мин."));
    }
};

TESMIRA_WIDGET_TEST(TestTwoLoopEditor)
#include "tst_two_loop_editor.moc"
