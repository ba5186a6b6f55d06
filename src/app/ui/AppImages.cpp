#include "app/ui/AppImages.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace tesmira::ui {

namespace {

const QColor kNavy(0, 0, 128);

void DrawShield(QPainter& p, const QRectF& r) {
    QPainterPath shield;
    shield.moveTo(r.center().x(), r.top());
    shield.lineTo(r.right(), r.top() + r.height() * 0.18);
    shield.cubicTo(r.right(), r.top() + r.height() * 0.65, r.center().x() + r.width() * 0.2,
                   r.bottom() - r.height() * 0.08, r.center().x(), r.bottom());
    shield.cubicTo(r.center().x() - r.width() * 0.2, r.bottom() - r.height() * 0.08, r.left(),
                   r.top() + r.height() * 0.65, r.left(), r.top() + r.height() * 0.18);
    shield.closeSubpath();
    p.setPen(QPen(Qt::white, std::max(1.0, r.width() / 16)));
    p.setBrush(kNavy);
    p.drawPath(shield);
    QFont font;
    font.setBold(true);
    font.setPixelSize(std::max(6, int(r.height() * 0.6)));
    p.setFont(font);
    p.setPen(QColor(255, 200, 0));
    p.drawText(r.adjusted(0, -r.height() * 0.08, 0, 0), Qt::AlignCenter, QStringLiteral("T"));
}

// A transparent square of `side` pixels, drawn by `draw` on a grid of 16 units.
template <typename Draw> QPixmap Square(int side, Draw draw) {
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, side / 16.0);
    return pixmap;
}

QPixmap ShieldPixmap(int side) {
    return Square(side, [side](QPainter& p, qreal u) {
        DrawShield(p, QRectF(u, u, side - 2 * u, side - 2 * u));
    });
}

QPixmap UsbPixmap(int side) {
    return Square(side, [](QPainter& p, qreal u) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 60, 60));
        p.drawRoundedRect(QRectF(2 * u, 5 * u, 8 * u, 6 * u), u, u); // plug body
        p.setBrush(QColor(190, 190, 190));
        p.drawRect(QRectF(10 * u, 6 * u, 5 * u, 4 * u)); // metal shell
        p.setBrush(QColor(60, 60, 60));
        p.drawRect(QRectF(11 * u, 7 * u, 3 * u, u)); // contacts
        p.setBrush(QColor(0, 128, 0));
        p.drawEllipse(QRectF(4 * u, 7 * u, 2 * u, 2 * u)); // the device's mark
    });
}

} // namespace

QIcon ApplicationIcon() {
    QIcon icon;
    for (int side : {16, 32, 48, 64})
        icon.addPixmap(ShieldPixmap(side));
    return icon;
}

QPixmap LogoPixmap(int height) {
    QFont font;
    font.setBold(true);
    font.setPixelSize(height * 3 / 5);
    const QString name = QStringLiteral("Tesmira");
    const int textWidth = QFontMetrics(font).horizontalAdvance(name);
    QPixmap pixmap(height + height / 4 + textWidth + 2, height);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    DrawShield(p, QRectF(1, 1, height - 2, height - 2));
    p.setFont(font);
    p.setPen(kNavy);
    p.drawText(QRect(height + height / 4, 0, textWidth + 2, height), Qt::AlignVCenter, name);
    return pixmap;
}

QIcon DevicePortIcon() {
    QIcon icon;
    for (int side : {16, 32})
        icon.addPixmap(UsbPixmap(side));
    return icon;
}

} // namespace tesmira::ui
