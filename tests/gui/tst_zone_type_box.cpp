#include "gui/FormControls.h"
#include "gui/ListImages.h"
#include "gui/ZoneTypeBox.h"
#include "support/ui/WidgetTestMain.h"

#include <QComboBox>
#include <QTest>

using tesmira::ui::FillZoneTypeBox;
using tesmira::ui::ItemCodeOf;
using tesmira::ui::ListImages;

namespace {

QStringList Items(const QComboBox& box) {
    QStringList texts;
    for (int i = 0; i < box.count(); ++i) {
        texts << box.itemText(i);
    }
    return texts;
}

QImage Rendered(const QIcon& icon) {
    return icon.pixmap(QSize(16, 16)).toImage();
}

} // namespace

class TestZoneTypeBox : public QObject {
    Q_OBJECT
private slots:
    void selectorsOfferTheirTypesInOrder_data() {
        QTest::addColumn<int>("selector");
        QTest::addColumn<QStringList>("names");
        const QStringList base = {"Отключен", "Тревожный", "Тихий тревожный", "Пожарный",
                                  "Технологический"};
        QTest::newRow("0") << 0 << (base + QStringList{"Охранный", "Внутренний", "Дверной"});
        QTest::newRow("1") << 1 << (base + QStringList{"Охранный", "Дверной"});
        QTest::newRow("2") << 2
                           << (base + QStringList{"Охранный", "Внутренний", "Дверной",
                                                  "Пожарн.2-х порог."});
        QTest::newRow("3") << 3 << base;
    }

    void selectorsOfferTheirTypesInOrder() {
        QFETCH(int, selector);
        QFETCH(QStringList, names);
        QComboBox box;
        box.addItem(QStringLiteral("старое"));
        FillZoneTypeBox(&box, static_cast<std::uint8_t>(selector));
        QCOMPARE(Items(box), names);
        QCOMPARE(box.currentIndex(), -1);
    }

    // Selector 1 skips "Внутренний": the door zone at position 6 still shows the door picture.
    void iconsFollowTheTypeCodeNotThePosition() {
        QComboBox box;
        FillZoneTypeBox(&box, 1);
        QCOMPARE(box.iconSize(), QSize(16, 16));
        QCOMPARE(Rendered(box.itemIcon(6)), Rendered(ListImages()[7]));
        QVERIFY(Rendered(box.itemIcon(6)) != Rendered(ListImages()[6]));
        FillZoneTypeBox(&box, 2);
        for (int code = 0; code < 9; ++code) {
            QCOMPARE(Rendered(box.itemIcon(code)), Rendered(ListImages()[code]));
        }
    }

    // Selector 1 skips "Внутренний": the door zone at position 6 is code 7, as its picture is.
    void theCodeIsTheItemsNotItsPosition() {
        QComboBox box;
        FillZoneTypeBox(&box, 1);
        QCOMPARE(ItemCodeOf(&box), -1);
        box.setCurrentIndex(6);
        QCOMPARE(ItemCodeOf(&box), 7);
        box.setCurrentIndex(0);
        QCOMPARE(ItemCodeOf(&box), 0);
    }

    void unknownSelectorLeavesAFilledBoxAlone() {
        QComboBox box;
        FillZoneTypeBox(&box, 2);
        box.setCurrentIndex(5);
        const QStringList before = Items(box);
        FillZoneTypeBox(&box, 4);
        FillZoneTypeBox(&box, 255);
        QCOMPARE(Items(box), before);
        QCOMPARE(box.currentIndex(), 5);
        QCOMPARE(box.currentText(), QStringLiteral("Охранный"));
        FillZoneTypeBox(nullptr, 0);
    }
};

TESMIRA_WIDGET_TEST(TestZoneTypeBox)
#include "tst_zone_type_box.moc"
