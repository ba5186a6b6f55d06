// The field tables against the real windows: every control shows its field's text, and the
// comparison and the report built on them, from the main window's commands.
#include "support/HexBytes.h"
#include "support/PatchedImage.h"
#include "support/TempDir.h"
#include "support/ui/FormDriver.h"
#include "support/ui/MainWindowRig.h"
#include "support/ui/WidgetTestMain.h"

#include "app/DeviceConfigs.h"
#include "app/ui/ConfigTools.h"
#include "app/ui/EditorList.h"
#include "gsm/GsmDeviceConfig.h"
#include "gui/DeviceEditor.h"
#include "gui/DifferencesDialog.h"
#include "gui/FormControls.h"
#include "model/ConfigFile.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QXmlStreamReader>

using namespace tesmira;
using namespace tesmira::test;

namespace {

struct Patch {
    std::size_t byte;
    Bytes bytes;
};

// The type's defaults with some record bytes replaced, as a file holds them; the GSM
// communicator's also with a phone, a caption and an event changed.
ConfigFile Changed(std::uint8_t type, const std::vector<Patch>& patches) {
    auto config = MakeDeviceConfig(type);
    if (type == GsmRecord::kType) {
        auto& gsm = static_cast<GsmDeviceConfig&>(*config).gsm;
        gsm.phones[2] = {"+74951234567", "Группа 3", "4", "Тревоги+Неиспр."};
        gsm.captions.rows()[0] = {"Раздел", "2", "Склад"};
        gsm.events.SelectGroup(1);
        gsm.events.Set(4, EventSelection::Kind::Restoration, false);
        gsm.Commit();
    }
    std::vector<BlockPatch> record;
    for (const Patch& patch : patches)
        record.push_back({0, patch.byte, patch.bytes});
    ConfigFile reader;
    reader.LoadFromBytes(PatchedImage(*config, record));
    return reader;
}

// The text a control shows, by the kind of control; "?" for a kind without a rule.
QString Shown(QWidget* control, const Field& field) {
    if (auto* table = qobject_cast<QTableWidget*>(control)) {
        const QTableWidgetItem* item = table->item(field.cell->row, field.cell->column);
        return item != nullptr ? item->text() : QStringLiteral("<no item>");
    }
    if (auto* box = qobject_cast<QCheckBox*>(control))
        return QString::fromStdString(OnOffText(box->isChecked()));
    if (auto* list = qobject_cast<QComboBox*>(control))
        return list->isEditable() ? QString::fromStdString(ui::TypedText(list))
                                  : list->currentText();
    if (qobject_cast<QLineEdit*>(control) != nullptr)
        return QString::fromStdString(ui::TypedText(control));
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(control))
        return spin->text();
    if (auto* group = qobject_cast<QGroupBox*>(control)) {
        for (const QRadioButton* radio : group->findChildren<QRadioButton*>())
            if (radio->isChecked())
                return radio->text();
        return {};
    }
    return QStringLiteral("?");
}

} // namespace

class TestConfigFields : public QObject {
    Q_OBJECT
private slots:
    void init() {
        rig_ = std::make_unique<MainWindowRig>(SystemLinkClock(), MakeSerialBackend(),
                                               ui::RegisterEditors);
    }
    void cleanup() {
        rig_.reset();
        ui::Dialogs::takeMessages();
    }

    void everyControlShowsItsFieldsText() {
        const std::pair<std::uint8_t, std::vector<Patch>> cases[] = {
            {26, {{0, Hex("1E 0C 08 0D 05 82 00 04 63 00 E0 01 00")}}},
            {27, {{0, Hex("1F 02 09 0E 08 00")}}},
            {30,
             {{8, Hex("9A 82")},
              {32, Hex("00")},
              {37, Hex("45")},
              {42, Hex("2A 05")},
              {46, Hex("81")},
              {52, Hex("00 02 58 F0")}}},
            {31, {{0, Hex("33 01 63 05")}, {35, Hex("01")}, {55, Hex("FE")}}},
            {32, {{2, Hex("02 0F")}, {340, Hex("01 10")}}},
            {33, {{0, Hex("08 82")}, {10, Hex("01 02 20 01 87 00 01 FF 02 01")}}},
            {34, {{0, Hex("03 FF")}, {7, Hex("1E 00 01 15 01")}}},
            {35, {{10, Hex("14 00 01 81 00 00")}, {3, Hex("00 82")}}},
        };
        for (const auto& [type, patches] : cases) {
            rig_->window().openEditorOfType(type);
            ui::DeviceEditor* editor = rig_->editors().Current();
            QVERIFY(editor != nullptr);
            ConfigFile file = Changed(type, patches);
            editor->LoadFromFile(file);
            const FieldTable table = editor->ShownFields();
            auto* groups = editor->findChild<QComboBox*>(QStringLiteral("cbbEventGroup"));
            int checked = 0;
            for (const Field& field : table.fields()) {
                if (field.control.empty())
                    continue;
                // The event grid shows one group at a time.
                if (field.id.starts_with("event.")) {
                    const int group = field.id[6] - '1';
                    if (groups->currentIndex() != group) {
                        groups->setCurrentIndex(group);
                        emit groups->activated(group);
                    }
                }
                auto* control = editor->findChild<QWidget*>(QString::fromStdString(field.control));
                QVERIFY2(control != nullptr, field.id.c_str());
                QCOMPARE(Shown(control, field).toStdString() + " " + field.id,
                         field.value + " " + field.id);
                ++checked;
            }
            QVERIFY2(checked >= 10, qPrintable(QString::number(type)));
        }
    }

    void compareWithFileListsTheChangeAndLeavesTheEditorAsItIs() {
        TempDir dir;
        ui::MainWindow& w = rig_->window();
        auto* compare = w.findChild<QAction*>(QStringLiteral("FileCompare1"));
        QVERIFY(!compare->isEnabled()); // with "Сохранить как...": only with an editor
        w.openEditorOfType(26);
        QVERIFY(compare->isEnabled());
        ui::DeviceEditor* editor = rig_->editors().Current();
        const QString saved = QString::fromStdString((dir / "defaults.bcf").string());
        editor->SaveToFile(saved);
        auto* letter = FindControl<QComboBox>(*editor, "bxTxLetter");
        QVERIFY(PickByKeys(letter, QStringLiteral("5")));

        ui::Dialogs::setNextFileName(saved);
        compare->trigger();
        ui::ConfigTools* tools = w.findChild<ui::ConfigTools*>();
        QPointer<ui::DifferencesDialog> dialog = tools->differences();
        QVERIFY(dialog != nullptr && dialog->isVisible());
        QTableWidget* rows = dialog->tblDifferences;
        QCOMPARE(rows->rowCount(), 1);
        const QStringList expected = {QStringLiteral("Передатчик — Литера:"), QStringLiteral("5"),
                                      QStringLiteral("1")};
        for (int column = 0; column < 3; ++column)
            QCOMPARE(rows->item(0, column)->text(), expected[column]);
        QCOMPARE(rows->horizontalHeaderItem(2)->text(), QStringLiteral("В файле"));
        QVERIFY(dialog->lblNoDifferences->isHidden());
        QCOMPARE(letter->currentText(), QStringLiteral("5"));

        // A double click brings the control to the front with the focus.
        auto* other = FindControl<QLineEdit>(*editor, "edtRetDelIn");
        other->setFocus();
        emit rows->cellDoubleClicked(0, 0);
        QTRY_COMPARE(w.focusWidget(), static_cast<QWidget*>(letter));

        // The same file after a save: nothing differs, and the old dialog is gone.
        editor->SaveToFile(saved);
        ui::Dialogs::setNextFileName(saved);
        compare->trigger();
        QTRY_VERIFY(dialog.isNull());
        ui::DifferencesDialog* again = tools->differences();
        QVERIFY(again != nullptr && again->isVisible());
        QVERIFY(!again->lblNoDifferences->isHidden());
        QCOMPARE(again->lblNoDifferences->text(), QStringLiteral("Различий нет"));

        // A file of another type is refused with the text that says so.
        w.openEditorOfType(27);
        ui::Dialogs::setNextFileName(saved);
        compare->trigger();
        const auto messages = ui::Dialogs::takeMessages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, QStringLiteral("Файл относится к прибору другого типа"));

        // A control on another page: that page comes to the front.
        w.openEditorOfType(30);
        editor = rig_->editors().Current();
        QVERIFY(editor->ShowField("matrix.1.1", QStringLiteral("chkBox7"), std::nullopt));
        QCOMPARE(FindControl<QTabWidget>(*editor, "pgcConfig")->currentIndex(), 3);
        QCOMPARE(w.focusWidget(),
                 static_cast<QWidget*>(FindControl<QCheckBox>(*editor, "chkBox7")));
        // An event's cell: its group is shown, the row is the current one.
        w.openEditorOfType(32);
        editor = rig_->editors().Current();
        QVERIFY(editor->ShowField("event.3.130.restoration", QStringLiteral("grdEvents"),
                                  FieldCell{129, 3}));
        QCOMPARE(FindControl<QComboBox>(*editor, "cbbEventGroup")->currentText(),
                 QStringLiteral("Группа 3"));
        auto* events = FindControl<QTableWidget>(*editor, "grdEvents");
        QCOMPARE(events->currentRow(), 129);
        QCOMPARE(w.focusWidget(), static_cast<QWidget*>(events));
    }

    void reportIsSavedAsPdfAndAsHtml() {
        TempDir dir;
        ui::MainWindow& w = rig_->window();
        w.openEditorOfType(33);
        auto* report = w.findChild<QAction*>(QStringLiteral("FileReport1"));
        const QStringList wanted = {QStringLiteral("Время работы сирены, сек"),
                                    QStringLiteral("Пожарный"), QStringLiteral("Вид передачи:")};

        const QString html = QString::fromStdString((dir / "report.html").string());
        ui::Dialogs::setNextFileName(html);
        report->trigger();
        QFile file(html);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QString text;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::Characters)
                text += xml.text();
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        const QString device = rig_->editors().Current()->windowTitle();
        QVERIFY(text.contains(device));
        for (const QString& part : wanted)
            QVERIFY2(text.contains(part), qPrintable(part));

        const QString pdf = QString::fromStdString((dir / "report").string());
        ui::Dialogs::setNextFileName(pdf); // no extension: a PDF
        report->trigger();
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"),
                        {pdf + QStringLiteral(".pdf"), QStringLiteral("-")});
        QVERIFY(pdftotext.waitForFinished(30000));
        QCOMPARE(pdftotext.exitCode(), 0);
        const QString printed = QString::fromUtf8(pdftotext.readAllStandardOutput());
        QVERIFY(printed.contains(device));
        for (const QString& part : wanted)
            QVERIFY2(printed.contains(part), qPrintable(part));
    }

private:
    std::unique_ptr<MainWindowRig> rig_;
};

TESMIRA_WIDGET_TEST(TestConfigFields)
#include "tst_config_fields.moc"
