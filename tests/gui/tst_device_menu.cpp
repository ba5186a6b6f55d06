#include "gui/DeviceMenu.h"
#include "support/ui/WidgetTestMain.h"

#include <QAction>
#include <QMenu>
#include <QTest>

class TestDeviceMenu : public QObject {
    Q_OBJECT
private slots:
    void appendsRecentSeparatorAndFiveSubmenusBelowExistingCommands() {
        QMenu menu(QStringLiteral("Прибор"));
        menu.addAction(QStringLiteral("Считать"));
        tesmira::ui::AppendDeviceMenu(&menu, {}, {});
        const QList<QAction*> actions = menu.actions();
        QCOMPARE(actions.size(), 8);
        QCOMPARE(actions[0]->text(), QStringLiteral("Считать"));
        QCOMPARE(actions[1]->text(), QStringLiteral("Недавно выбранный"));
        QVERIFY(actions[2]->isSeparator());
        QStringList titles;
        QList<int> codes;
        QStringList items;
        for (int i = 3; i < actions.size(); ++i) {
            QMenu* submenu = actions[i]->menu();
            QVERIFY(submenu);
            titles << submenu->title();
            for (QAction* item : submenu->actions()) {
                codes << item->data().toInt();
                items << item->text();
            }
        }
        QCOMPARE(titles, (QStringList{"GSM", "Velmor", "Pirra", "Sorel-MX8", "Прочее"}));
        QCOMPARE(codes, (QList<int>{32, 34, 30, 33, 35, 31, 26, 27}));
        QCOMPARE(items[2], QStringLiteral("Velmar 280 c 9-й версии"));
        QCOMPARE(items[7], QStringLiteral("Miren-2"));
    }

    void itemsRunTheirHandlersWithTheirCodes() {
        QMenu menu;
        QList<int> picked;
        int recent = 0;
        tesmira::ui::AppendDeviceMenu(
            &menu, [&](std::uint8_t code) { picked << code; }, [&] { ++recent; });
        menu.actions()[0]->trigger();
        QCOMPARE(recent, 1);
        QMenu* velmor = menu.actions()[3]->menu();
        QVERIFY(velmor);
        velmor->actions()[1]->trigger();
        menu.actions().last()->menu()->actions()[0]->trigger();
        QCOMPARE(picked, (QList<int>{30, 26}));
        QCOMPARE(recent, 1);
    }
};

TESMIRA_WIDGET_TEST(TestDeviceMenu)
#include "tst_device_menu.moc"
