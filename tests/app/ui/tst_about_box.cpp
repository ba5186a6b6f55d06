#include "app/AboutInfo.h"
#include "app/ui/AboutBox.h"
#include "app/ui/AppImages.h"
#include "support/ui/MainWindowRig.h"
#include "support/ui/WidgetTestMain.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace tesmira;
using tesmira::ui::BuildAboutBox;

namespace {

// The text labels, top to bottom (the image label has no text).
QList<QLabel*> TextLabels(QDialog& box) {
    QList<QLabel*> labels;
    for (QLabel* label : box.findChildren<QLabel*>()) {
        if (!label->text().isEmpty())
            labels << label;
    }
    std::sort(labels.begin(), labels.end(), [](QLabel* a, QLabel* b) { return a->y() < b->y(); });
    return labels;
}

QStringList Texts(const QList<QLabel*>& labels) {
    QStringList texts;
    for (QLabel* label : labels)
        texts << label->text();
    return texts;
}

} // namespace

class TestAboutBox : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setWindowIcon(ui::ApplicationIcon()); }

    void theProgramsOwnVersionInformation() {
        auto box = BuildAboutBox(nullptr, kVersionValues);
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), QStringLiteral("О программе: Программатор"));
        const QList<QLabel*> labels = TextLabels(*box);
        QCOMPARE(Texts(labels), (QStringList{"Tesmira", "Версия: 5.0.21", "Компания: Korvana"}));
        QVERIFY(labels[0]->font().bold());
        QCOMPARE(labels[0]->font().pointSize(), 10);
        QCOMPARE(labels[0]->palette().color(QPalette::WindowText), QColor(0, 0, 128));
        QVERIFY(!labels[1]->font().bold());

        auto* image = box->findChild<QLabel*>(QStringLiteral("AboutImage"));
        QCOMPARE(image->geometry(), QRect(10, 10, 32, 32));
        QVERIFY(!image->pixmap().isNull());
        int right = 0;
        for (int i = 0; i < labels.size(); ++i) {
            QCOMPARE(labels[i]->x(), 52);
            QCOMPARE(labels[i]->y(), i == 0 ? 10 : labels[i - 1]->geometry().bottom() + 1 + 5);
            right = std::max(right, labels[i]->geometry().right() + 1);
        }
        // Every label ends 20 pixels before the box's (framed) right edge.
        QCOMPARE(box->width() + kAboutFrameWidth, right + 20);
        QCOMPARE(box->height() + kAboutFrameHeight, labels.last()->geometry().bottom() + 1 + 85);

        auto* ok = box->findChild<QPushButton*>(QStringLiteral("AboutOk"));
        QCOMPARE(ok->text(), QStringLiteral("Ok"));
        QCOMPARE(ok->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(ok->y(), box->height() + kAboutFrameHeight - 60);
        QVERIFY(ok->geometry().right() < box->width());
        auto* bevel = box->findChild<QWidget*>(QStringLiteral("AboutBevel"));
        QCOMPARE(bevel->geometry(),
                 QRect(0, box->height() - (ok->height() + 20), box->width(), ok->height() + 20));
        QVERIFY(bevel->y() < ok->y());
        QCOMPARE(box->minimumSize(), box->maximumSize());
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(box->result(), int(QDialog::Accepted));
    }

    void aVersionWithoutDotAndAnAuthor() {
        const VersionValue values[] = {
            {"ProductName", "Tesmira"}, {"FileVersion", "5"}, {"Author", "I. Petrov"}};
        auto box = BuildAboutBox(nullptr, values);
        QVERIFY(box);
        QCOMPARE(Texts(TextLabels(*box)), (QStringList{"Tesmira", "Версия: ", "Автор: I. Petrov"}));
    }

    void noVersionInformationBuildsNoBox() { QVERIFY(!BuildAboutBox(nullptr, {})); }

    void theAboutCommandShowsTheBoxModally() {
        test::MainWindowRig rig;
        QString seen;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr)
                return;
            seen = modal->windowTitle();
            QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("AboutOk")),
                              Qt::LeftButton);
        });
        rig.window().HelpAbout1->trigger();
        QCOMPARE(seen, QStringLiteral("О программе: Программатор"));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }
};

TESMIRA_WIDGET_TEST(TestAboutBox)
#include "tst_about_box.moc"
