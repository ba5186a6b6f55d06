// Qt's own texts in Russian, as the program installs them at start.
#include "app/ui/QtTranslation.h"
#include "support/ui/WidgetTestMain.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>

class TestQtTranslation : public QObject {
    Q_OBJECT
private slots:
    void standardButtonsReadRussian() {
        QVERIFY(tesmira::ui::InstallQtTranslation());
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Отмена"));
    }
};

TESMIRA_WIDGET_TEST(TestQtTranslation)
#include "tst_qt_translation.moc"
