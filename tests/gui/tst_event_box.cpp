#include "gui/EventBox.h"
#include "support/ui/WidgetTestMain.h"

#include <QSignalSpy>
#include <QTest>

using tesmira::ui::EventBox;

class TestEventBox : public QObject {
    Q_OBJECT
private slots:
    void fillWithoutFlagOffersTheCommonEventsOnly() {
        EventBox box;
        box.FillItems(0);
        QCOMPARE(box.count(), 191);
        QCOMPARE(box.currentIndex(), -1);
        QCOMPARE(box.currentText(), QString());
        QCOMPARE(box.itemText(0), QStringLiteral("100 - МЕД.ТРЕВОГА"));
        QCOMPARE(box.itemText(190), QStringLiteral("394 - ПОМЕХА"));
        QCOMPARE(box.findText(QStringLiteral("401 - СНЯТ ПОЛЬЗ.")), -1);
        QVERIFY(box.findText(QStringLiteral("324 - РЕЛЕ НЕИСПР ")) >= 0);
        QVERIFY(!box.isEditable());
    }

    void fillWithAnyNonzeroFlagOffersEveryListedEvent() {
        EventBox box;
        box.FillItems(5);
        QCOMPARE(box.count(), 238);
        QCOMPARE(box.itemText(0), QStringLiteral("100 - МЕД.ТРЕВОГА"));
        QCOMPARE(box.itemText(237), QStringLiteral("394 - ПОМЕХА"));
        QCOMPARE(box.itemText(150), QStringLiteral("411 - ЗАПРОС С ПЦН"));
    }

    void refillingDropsTheOldItemsAndSelection() {
        EventBox box;
        box.FillItems(1);
        box.SelectEvent(124);
        QCOMPARE(box.currentText(), QStringLiteral("401 - СНЯТ ПОЛЬЗ."));
        box.FillItems(0);
        QCOMPARE(box.count(), 191);
        QCOMPARE(box.currentIndex(), -1);
        QCOMPARE(box.currentText(), QString());
    }

    void hiddenUserEventLeavesNoSelectionAndReadsAsZero() {
        EventBox box;
        box.FillItems(0);
        box.SelectEvent(19);
        QCOMPARE(box.currentText(), QStringLiteral("130 - ВТОРЖЕНИЕ"));
        box.SelectEvent(124);
        QCOMPARE(box.currentIndex(), -1);
        QCOMPARE(box.EventIndex(), std::uint8_t{0});
        // An unlisted row is hidden in every box.
        box.SelectEvent(19);
        box.SelectEvent(249);
        QCOMPARE(box.currentIndex(), -1);
    }

    void byteZeroKeepsTheSelection() {
        EventBox box;
        box.FillItems(0);
        box.SelectEvent(75);
        QCOMPARE(box.currentText(), QStringLiteral("324 - РЕЛЕ НЕИСПР "));
        box.SelectEvent(0);
        QCOMPARE(box.currentText(), QStringLiteral("324 - РЕЛЕ НЕИСПР "));
        QCOMPARE(box.EventIndex(), std::uint8_t{75});
    }

    void sameNamedEventsAreToldApartByCode() {
        EventBox box;
        box.FillItems(1);
        box.SelectEvent(133);
        QCOMPARE(box.currentText(), QStringLiteral("441 - СНЯТ С ПОЛЬЗ"));
        QCOMPARE(box.EventIndex(), std::uint8_t{133});
        box.SelectEvent(134);
        QCOMPARE(box.currentText(), QStringLiteral("442 - СНЯТ С ПОЛЬЗ"));
        QCOMPARE(box.EventIndex(), std::uint8_t{134});
    }

    // The item's own index, not one found again from its text.
    void readingNeedsASelectionAndGivesTheItemsIndex() {
        EventBox box;
        box.FillItems(1);
        QCOMPARE(box.EventIndex(), std::uint8_t{0});
        box.SelectEvent(1);
        QCOMPARE(box.EventIndex(), std::uint8_t{1});
        box.setCurrentIndex(box.findText(QStringLiteral("130 - ВТОРЖЕНИЕ")));
        QCOMPARE(box.EventIndex(), std::uint8_t{19});
        box.setCurrentIndex(box.count() - 1);
        QCOMPARE(box.EventIndex(), std::uint8_t{238}); // "394 - ПОМЕХА"
        box.setCurrentIndex(-1);
        QCOMPARE(box.EventIndex(), std::uint8_t{0});
    }

    void textsAndCodeLookupReachUnlistedRows() {
        EventBox box;
        QCOMPARE(box.EventTextOf(0), QStringLiteral("0 - НЕИЗВЕСТ.КОД"));
        QCOMPARE(box.EventTextOf(255), QStringLiteral("654 - ОБУЧ.НА.ПЦН"));
        QCOMPARE(box.EventIndexOfCode(654), std::uint8_t{225});
        QCOMPARE(box.EventIndexOfCode(999), std::uint8_t{0});
        QCOMPARE(box.EventIndexOfCode(130), std::uint8_t{19});
    }

    // Showing a record must not look like a user's pick; a pick must reach the handler.
    void onlyUserPicksAreActivations() {
        EventBox box;
        box.FillItems(0);
        QSignalSpy activated(&box, &QComboBox::activated);
        box.SelectEvent(19);
        box.FillItems(0);
        box.SelectEvent(20);
        QCOMPARE(activated.count(), 0);
        box.show();
        box.setFocus();
        QTest::keyClick(&box, Qt::Key_Down);
        QCOMPARE(activated.count(), 1);
        QCOMPARE(box.EventIndex(), std::uint8_t{21});
    }
};

TESMIRA_WIDGET_TEST(TestEventBox)
#include "tst_event_box.moc"
