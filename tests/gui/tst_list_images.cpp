#include "gui/ListImages.h"
#include "support/ui/WidgetTestMain.h"

#include <QPixmap>
#include <QTest>

using tesmira::ui::kCheckMarkImage;
using tesmira::ui::ListImages;

namespace {

QImage Rendered(const QIcon& icon, QIcon::Mode mode = QIcon::Normal, int size = 16) {
    return icon.pixmap(QSize(size, size), mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

int OpaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
        }
    }
    return count;
}

const int kDrawn[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, kCheckMarkImage};

} // namespace

class TestListImages : public QObject {
    Q_OBJECT
private slots:
    void zoneTypesAndCheckMarkAreDrawnAtRowSize() {
        QVERIFY(ListImages().size() > kCheckMarkImage);
        for (const int index : kDrawn) {
            const QImage image = Rendered(ListImages()[index]);
            QCOMPARE(image.size(), QSize(16, 16));
            // Something visible, but not a filled square.
            const int opaque = OpaquePixels(image);
            QVERIFY2(opaque > 12 && opaque < 256, qPrintable(QString::number(index)));
        }
        for (int index = 9; index < kCheckMarkImage; ++index) {
            QVERIFY(ListImages()[index].isNull());
        }
    }

    void everyPictureIsDistinct() {
        for (const int a : kDrawn) {
            for (const int b : kDrawn) {
                if (a < b) {
                    QVERIFY2(Rendered(ListImages()[a]) != Rendered(ListImages()[b]),
                             qPrintable(QStringLiteral("%1 %2").arg(a).arg(b)));
                }
            }
        }
    }

    void scalesAndFadesWhenDisabled() {
        const QIcon& fire = ListImages()[3];
        QCOMPARE(Rendered(fire, QIcon::Normal, 32).size(), QSize(32, 32));
        QVERIFY(OpaquePixels(Rendered(fire, QIcon::Normal, 32)) > OpaquePixels(Rendered(fire)));
        QVERIFY(OpaquePixels(Rendered(fire, QIcon::Disabled)) < OpaquePixels(Rendered(fire)));
    }
};

TESMIRA_WIDGET_TEST(TestListImages)
#include "tst_list_images.moc"
