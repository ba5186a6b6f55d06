#include "app/ui/Settings.h"
#include "support/ui/WidgetTestMain.h"

#include "support/TempDir.h"
#include "support/ui/TempSettings.h"

#include <QComboBox>
#include <QDir>
#include <QSignalSpy>
#include <QTest>

using tesmira::PortListItem;
using tesmira::test::TempDir;
using tesmira::test::TempSettings;
using namespace tesmira::ui;

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void firstStartStoresAndReturnsEachDefault() {
        TempSettings settings;
        QCOMPARE(ReadSetting(kSettingPort, DefaultPortSetting()), QStringLiteral("ttyUSB0"));
        QCOMPARE(ReadSetting(kSettingDeviceType, QStringLiteral("0")), QStringLiteral("0"));
        QCOMPARE(settings.raw(QStringLiteral("comportname")).toString(), QStringLiteral("ttyUSB0"));
        QCOMPARE(settings.raw(QStringLiteral("devicetype")).toString(), QStringLiteral("0"));
        // One INI file of organisation Korvana, application Tesmira.
        QVERIFY(settings.fileText().contains(QStringLiteral("comportname=ttyUSB0")));
        QVERIFY(settings.fileText().contains(QStringLiteral("devicetype=0")));
    }

    void folderDefaultIsTheCurrentFolderAtTheFirstRead() {
        TempSettings settings;
        TempDir first;
        TempDir second;
        const QString before = QDir::currentPath();
        const QString firstPath = QString::fromStdString(first.path().string());
        QDir::setCurrent(firstPath);
        QCOMPARE(ReadSetting(kSettingFilePath, DefaultFolderSetting()), firstPath + "/");
        QDir::setCurrent(QString::fromStdString(second.path().string()));
        QCOMPARE(ReadSetting(kSettingFilePath, DefaultFolderSetting()), firstPath + "/");
        QDir::setCurrent(QStringLiteral("/"));
        QCOMPARE(DefaultFolderSetting(), QStringLiteral("/")); // not "//"
        QDir::setCurrent(before);
    }

    void anEmptyStoredValueIsReplacedByTheDefault() {
        TempSettings settings;
        settings.setRaw(QStringLiteral("devicetype"), QString());
        QCOMPARE(ReadSetting(kSettingDeviceType, QStringLiteral("0")), QStringLiteral("0"));
        QCOMPARE(settings.raw(QStringLiteral("devicetype")).toString(), QStringLiteral("0"));
    }

    void aStoredValueIsReturnedAndKept() {
        TempSettings settings;
        settings.setRaw(QStringLiteral("comportname"), QStringLiteral("/dev/pts/7"));
        QCOMPARE(ReadSetting(kSettingPort, QStringLiteral("ttyUSB0")),
                 QStringLiteral("/dev/pts/7"));
        QCOMPARE(settings.raw(QStringLiteral("comportname")).toString(),
                 QStringLiteral("/dev/pts/7"));
    }

    void writeReplacesTheValueAndKeepsTheOthers() {
        TempSettings settings;
        WriteSetting(kSettingDeviceType, QStringLiteral("31"));
        WriteSetting(kSettingPort, QStringLiteral("ttyACM0"));
        WriteSetting(kSettingDeviceType, QStringLiteral("26"));
        QCOMPARE(ReadSetting(kSettingDeviceType, QStringLiteral("0")), QStringLiteral("26"));
        QCOMPARE(ReadSetting(kSettingPort, QStringLiteral("x")), QStringLiteral("ttyACM0"));
        // A written empty text reads as missing: the default comes back and is stored.
        WriteSetting(kSettingPort, QString());
        QCOMPARE(ReadSetting(kSettingPort, QStringLiteral("ttyUSB0")), QStringLiteral("ttyUSB0"));
    }

    void portListItemsCarryTheMarkImageAndKeepTheText() {
        QComboBox combo;
        combo.setEditable(true);
        combo.addItem(QStringLiteral("old"));
        combo.setEditText(QStringLiteral("/dev/pts/3"));
        QSignalSpy changes(&combo, &QComboBox::editTextChanged);
        QPixmap mark(16, 16);
        mark.fill(Qt::green);
        const std::vector<PortListItem> items = {
            {"ttyACM0", true}, {"ttyS0", false}, {"", false}, {"ttyS0", false}};
        FillPortList(&combo, items, QIcon(mark));
        QCOMPARE(combo.count(), 4);
        QCOMPARE(combo.itemText(0), QStringLiteral("ttyACM0"));
        QCOMPARE(combo.itemText(1), QStringLiteral("ttyS0"));
        QCOMPARE(combo.itemText(2), QString());
        QCOMPARE(combo.itemText(3), QStringLiteral("ttyS0"));
        QVERIFY(!combo.itemIcon(0).isNull());
        QVERIFY(combo.itemIcon(1).isNull());
        QVERIFY(combo.itemIcon(3).isNull());
        QCOMPARE(combo.currentText(), QStringLiteral("/dev/pts/3"));
        QCOMPARE(changes.count(), 0);

        // Choosing the first item changes the text, although it was the first one added.
        combo.setCurrentIndex(0);
        QCOMPARE(combo.currentText(), QStringLiteral("ttyACM0"));
        QCOMPARE(changes.count(), 1);
    }

    void noPortsLeaveTheListEmptyAndTheTextAsItWas() {
        QComboBox combo;
        combo.setEditable(true);
        combo.addItem(QStringLiteral("ttyUSB0"));
        combo.setEditText(QStringLiteral("ttyUSB3"));
        FillPortList(&combo, {}, QIcon());
        QCOMPARE(combo.count(), 0);
        QCOMPARE(combo.currentText(), QStringLiteral("ttyUSB3"));
    }
};

TESMIRA_WIDGET_TEST(TestSettings)
#include "tst_settings.moc"
