#include "gui/OutputMatrix.h"
#include "support/ui/WidgetTestMain.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

using tesmira::BoxFieldState;
using tesmira::ui::OutputMatrix;

namespace {

struct Editor {
    QWidget form;
    QWidget* page = new QWidget(&form);
    OutputMatrix* field = new OutputMatrix(&form, page);

    Editor() { form.show(); }

    template <typename T> T* find(const QString& name) const { return page->findChild<T*>(name); }
    QCheckBox* box(int tag) const { return find<QCheckBox>(QStringLiteral("chkBox%1").arg(tag)); }
    QGroupBox* group() const { return find<QGroupBox>(QStringLiteral("grpArmCondition")); }
    QRadioButton* armAny() const { return find<QRadioButton>(QStringLiteral("rbArmAny")); }
    QRadioButton* armAll() const { return find<QRadioButton>(QStringLiteral("rbArmAll")); }
    QPushButton* reset() const { return find<QPushButton>(QStringLiteral("btnReset")); }
};

using Outputs = BoxFieldState::Outputs;

} // namespace

class TestOutputMatrix : public QObject {
    Q_OBJECT
private slots:
    void createdClearWithHiddenConditionGroup() {
        Editor editor;
        QCOMPARE(editor.page->findChildren<QCheckBox*>().size(), 48);
        for (int tag = 1; tag <= 48; ++tag) {
            QCheckBox* box = editor.box(tag);
            QVERIFY2(box != nullptr, qPrintable(QString::number(tag)));
            QCOMPARE(box->property("tag").toInt(), tag);
            QVERIFY(!box->isChecked());
            QCOMPARE(editor.field->Box(tag), box);
        }
        QVERIFY(editor.group()->isHidden());
        QCOMPARE(editor.group()->title(), QStringLiteral("Прибор считается взят если ..."));
        QCOMPARE(editor.armAny()->text(), QStringLiteral("взят любой из разделов"));
        QCOMPARE(editor.armAll()->text(), QStringLiteral("взяты все разделы"));
        QVERIFY(editor.armAll()->isChecked());
        QCOMPARE(editor.reset()->text(), QStringLiteral("Сброс установок"));
        QCOMPARE(editor.reset()->toolTip(), QStringLiteral("Сбросить к заводским настройкам"));
        QCOMPARE(editor.reset()->statusTip(), QStringLiteral("Сбросить к заводским настройкам"));
        QCOMPARE(editor.field->OutputBytes(), (Outputs{0, 0, 0, 0, 0, 0}));
    }

    void labelsNameTheRowsAndColumns() {
        Editor editor;
        const QStringList rows = {"Неисправность", "Тревога", "Пожар",    "Потеря БС",
                                  "Сирена",        "Лампа",   "Внимание", "Снят\\Взят"};
        const QStringList columns = {"Реле1", "Реле2", "Реле3", "Реле4", "SND", "SVT"};
        for (int row = 0; row < 8; ++row) {
            QCOMPARE(editor.find<QLabel>(QStringLiteral("lblRow%1").arg(row))->text(), rows[row]);
        }
        for (int column = 1; column <= 6; ++column) {
            QCOMPARE(editor.find<QLabel>(QStringLiteral("lblColumn%1").arg(column))->text(),
                     columns[column - 1]);
        }
    }

    void armingRowBoxesShowAndHideTheConditionGroup() {
        Editor editor;
        QTest::mouseClick(editor.box(8), Qt::LeftButton); // "Тревога" -> "Реле2"
        QCOMPARE(editor.field->OutputBytes(), (Outputs{0, 0x02, 0, 0, 0, 0}));
        QVERIFY(editor.group()->isHidden());
        QTest::mouseClick(editor.box(43), Qt::LeftButton); // "Снят\Взят" -> "Реле1"
        QVERIFY(!editor.group()->isHidden());
        QTest::mouseClick(editor.box(48), Qt::LeftButton); // "Снят\Взят" -> "SVT"
        QCOMPARE(editor.field->OutputBytes(), (Outputs{0x80, 0x02, 0, 0, 0, 0x80}));
        QTest::mouseClick(editor.box(43), Qt::LeftButton);
        QVERIFY(!editor.group()->isHidden());
        QTest::mouseClick(editor.box(48), Qt::LeftButton);
        QVERIFY(editor.group()->isHidden());
        QCOMPARE(editor.field->OutputBytes(), (Outputs{0, 0x02, 0, 0, 0, 0}));
    }

    void resetRestoresTheFactorySetting() {
        Editor editor;
        const std::uint8_t loaded[6] = {0x80, 0xFF, 0, 0x11, 0, 0};
        editor.field->LoadMatrix(loaded, 0);
        QVERIFY(editor.armAny()->isChecked());
        QTest::mouseClick(editor.reset(), Qt::LeftButton);
        QCOMPARE(editor.field->OutputBytes(), (Outputs{0x01, 0x02, 0x04, 0x08, 0x10, 0x20}));
        QCOMPARE(editor.field->ArmingCondition(), std::uint8_t{255});
        QVERIFY(editor.armAll()->isChecked());
        QVERIFY(editor.group()->isHidden());
        // Each output follows the row of the same position: the diagonal boxes.
        for (int tag = 1; tag <= 48; ++tag) {
            const bool diagonal =
                tag == 1 || tag == 8 || tag == 15 || tag == 22 || tag == 29 || tag == 36;
            QCOMPARE(editor.box(tag)->isChecked(), diagonal);
        }
    }

    void loadShowsBitsAndConditionWithoutRunningHandlers() {
        Editor editor;
        QSignalSpy clicked(editor.box(43), &QCheckBox::clicked);
        QSignalSpy toggled(editor.box(43), &QCheckBox::toggled);
        QSignalSpy anyToggled(editor.armAny(), &QRadioButton::toggled);
        const std::uint8_t loaded[6] = {0x80, 0, 0, 0, 0, 0x01};
        editor.field->LoadMatrix(loaded, 0);
        QVERIFY(editor.box(43)->isChecked());
        QVERIFY(editor.box(6)->isChecked());
        QVERIFY(!editor.box(1)->isChecked());
        QVERIFY(!editor.group()->isHidden());
        QVERIFY(editor.armAny()->isChecked());
        QCOMPARE(clicked.count(), 0);
        QCOMPARE(toggled.count(), 0);
        QCOMPARE(anyToggled.count(), 0);
        QCOMPARE(editor.field->ArmingCondition(), std::uint8_t{0});
    }

    void radioClicksSetTheArmingCondition() {
        Editor editor;
        const std::uint8_t loaded[6] = {0x80, 0, 0, 0, 0, 0};
        editor.field->LoadMatrix(loaded, 7);
        QCoreApplication::sendPostedEvents(); // lay out the group that just appeared
        QVERIFY(editor.armAll()->isChecked());
        // A radio button answers clicks on its indicator and caption, not on the empty rest.
        QTest::mouseClick(editor.armAny(), Qt::LeftButton, {}, QPoint(5, 10));
        QCOMPARE(editor.field->ArmingCondition(), std::uint8_t{0});
        QTest::mouseClick(editor.armAll(), Qt::LeftButton, {}, QPoint(5, 10));
        QCOMPARE(editor.field->ArmingCondition(), std::uint8_t{255});
    }

    void joinsThePageLayoutWhenThereIsOne() {
        QWidget form;
        auto* page = new QWidget(&form);
        auto* layout = new QVBoxLayout(page);
        auto* caption = new QLabel(QStringLiteral("Переназначение реле и выходов прибора"), page);
        layout->addWidget(caption);
        auto* field = new OutputMatrix(&form, page);
        QCOMPARE(layout->indexOf(field->Widget()), 1);
        QCOMPARE(field->Widget()->objectName(), QStringLiteral("wgtBoxField"));
    }

    void survivesItsPageGoingFirst() {
        QWidget form;
        auto* page = new QWidget(&form);
        auto* field = new OutputMatrix(&form, page);
        QPointer<OutputMatrix> guard(field);
        delete page;
        field->RefreshMatrix();
        QCOMPARE(field->Box(1), nullptr);
        QCOMPARE(field->Widget(), nullptr);
        QVERIFY(!guard.isNull());
    }
};

TESMIRA_WIDGET_TEST(TestOutputMatrix)
#include "tst_output_matrix.moc"
