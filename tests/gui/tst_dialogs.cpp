#include "gui/Dialogs.h"
#include "support/ui/UiTestSupport.h"
#include "support/ui/WidgetTestMain.h"

#include <QTest>

#include <stdexcept>

using tesmira::ui::Dialogs;
using tesmira::ui::MessageIcon;

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void errorTextGetsAPeriodOnlyAfterALetterOrDigit() {
        QCOMPARE(Dialogs::errorBoxText(QStringLiteral("Файл поврежден")),
                 QStringLiteral("Файл поврежден."));
        QCOMPARE(Dialogs::errorBoxText(QStringLiteral("код 7")), QStringLiteral("код 7."));
        QCOMPARE(Dialogs::errorBoxText(QStringLiteral("Готово.")), QStringLiteral("Готово."));
        QCOMPARE(Dialogs::errorBoxText(QStringLiteral("'x'")), QStringLiteral("'x'"));
        QCOMPARE(Dialogs::errorBoxText(QString()), QString());
    }

    void guardedActionShowsItsErrorInTheStandardBox() {
        tesmira::test::DialogsInTestMode testMode;
        const bool ok = Dialogs::guarded(
            nullptr, [] { throw std::runtime_error("Версия файла не поддерживается"); });
        QVERIFY(!ok);
        const auto shown = Dialogs::takeMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, QStringLiteral("Программатор"));
        QCOMPARE(shown[0].text, QStringLiteral("Версия файла не поддерживается."));
        QCOMPARE(shown[0].icon, MessageIcon::Error);
        QVERIFY(Dialogs::guarded(nullptr, [] {}));
        QVERIFY(Dialogs::takeMessages().isEmpty());
    }

    void queuedFileNamesAnswerInOrderThenCancel() {
        tesmira::test::DialogsInTestMode testMode;
        Dialogs::setNextFileName(QStringLiteral("/tmp/a.bcf"));
        QCOMPARE(
            Dialogs::openFileName(nullptr, {}, QStringLiteral("/tmp"), QStringLiteral("f (*.bcf)")),
            QStringLiteral("/tmp/a.bcf"));
        QCOMPARE(Dialogs::lastDialogDir(), QStringLiteral("/tmp"));
        QCOMPARE(Dialogs::saveFileName(nullptr, {}, {}, {}), QString());
    }
};

TESMIRA_WIDGET_TEST(TestDialogs)
#include "tst_dialogs.moc"
