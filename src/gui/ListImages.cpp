#include "gui/ListImages.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tesmira::ui {

namespace {

// Pictures are drawn on a 16 x 16 grid; the engine scales the grid to the requested rectangle.
using Drawing = IconDrawing;

QPainterPath Flame(qreal x, qreal bottom, qreal width, qreal height) {
    QPainterPath path;
    path.moveTo(x + width / 2, bottom - height);
    path.cubicTo(x + width, bottom - height * 0.5, x + width, bottom, x + width / 2, bottom);
    path.cubicTo(x, bottom, x, bottom - height * 0.45, x + width * 0.3, bottom - height * 0.65);
    path.quadTo(x + width * 0.35, bottom - height * 0.4, x + width / 2, bottom - height);
    return path;
}

void DrawOff(QPainter& p) {
    p.setPen(QPen(QColor(110, 110, 110), 2));
    p.setBrush(QColor(215, 215, 215));
    p.drawEllipse(QRectF(2, 2, 12, 12));
    p.drawLine(QPointF(4.5, 11.5), QPointF(11.5, 4.5));
}

void DrawWarningTriangle(QPainter& p, const QColor& fill, const QColor& mark) {
    const QPointF corners[] = {{8, 1.5}, {15, 14.5}, {1, 14.5}};
    p.setPen(QPen(QColor(120, 0, 0), 1));
    p.setBrush(fill);
    p.drawPolygon(corners, 3);
    p.setPen(QPen(mark, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 6), QPointF(8, 9.5));
    p.drawPoint(QPointF(8, 12.5));
}

void DrawAlarm(QPainter& p) {
    DrawWarningTriangle(p, QColor(220, 20, 20), Qt::white);
}

void DrawSilentAlarm(QPainter& p) {
    DrawWarningTriangle(p, QColor(255, 225, 225), QColor(200, 0, 0));
}

void DrawFire(QPainter& p) {
    p.setPen(QPen(QColor(170, 40, 0), 1));
    p.setBrush(QColor(245, 110, 20));
    p.drawPath(Flame(2.5, 15, 11, 14));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 215, 60));
    p.drawPath(Flame(5.5, 14, 5, 6));
}

void DrawTechnical(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 90, 190));
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(8, 8);
        p.rotate(i * 45.0);
        p.drawRect(QRectF(-1.5, -7.5, 3, 4));
        p.restore();
    }
    p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(6, 6, 4, 4));
}

void DrawGuard(QPainter& p) {
    QPainterPath shield;
    shield.moveTo(8, 1);
    shield.lineTo(14, 3.5);
    shield.quadTo(14, 11.5, 8, 15);
    shield.quadTo(2, 11.5, 2, 3.5);
    shield.closeSubpath();
    p.setPen(QPen(QColor(0, 90, 30), 1));
    p.setBrush(QColor(40, 160, 70));
    p.drawPath(shield);
    p.setPen(QPen(Qt::white, 1.5));
    p.drawLine(QPointF(8, 4), QPointF(8, 12));
}

void DrawInternal(QPainter& p) {
    const QPointF roof[] = {{8, 1.5}, {15, 8}, {1, 8}};
    p.setPen(QPen(QColor(90, 50, 10), 1));
    p.setBrush(QColor(200, 80, 40));
    p.drawPolygon(roof, 3);
    p.setBrush(QColor(240, 220, 160));
    p.drawRect(QRectF(3, 8, 10, 6.5));
    p.setBrush(QColor(90, 150, 220));
    p.drawRect(QRectF(6.5, 10, 3, 3));
}

void DrawDoor(QPainter& p) {
    p.setPen(QPen(QColor(70, 40, 10), 1));
    p.setBrush(QColor(160, 100, 45));
    p.drawRect(QRectF(3.5, 1.5, 9, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 210, 60));
    p.drawEllipse(QRectF(9.5, 7.5, 2, 2));
}

void DrawTwoThresholdFire(QPainter& p) {
    p.setPen(QPen(QColor(170, 40, 0), 1));
    p.setBrush(QColor(245, 110, 20));
    p.drawPath(Flame(0.5, 15, 8, 11));
    p.setBrush(QColor(220, 50, 10));
    p.drawPath(Flame(7.5, 15, 8, 14));
}

void DrawCheckMark(QPainter& p) {
    p.setPen(QPen(QColor(0, 140, 40), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QPointF stroke[] = {{2.5, 8.5}, {6.5, 12.5}, {13.5, 3.5}};
    p.drawPolyline(stroke, 3);
}

class DrawnIconEngine : public QIconEngine {
public:
    explicit DrawnIconEngine(Drawing drawing) : drawing_(drawing) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / 16.0, rect.height() / 16.0);
        if (mode == QIcon::Disabled) {
            painter->setOpacity(0.4);
        }
        drawing_(*painter);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QIconEngine* clone() const override { return new DrawnIconEngine(drawing_); }
    QString key() const override { return QStringLiteral("tesmira.drawn"); }

private:
    Drawing drawing_;
};

QList<QIcon> BuildList() {
    const Drawing zoneTypes[] = {DrawOff,      DrawAlarm,     DrawSilentAlarm,
                                 DrawFire,     DrawTechnical, DrawGuard,
                                 DrawInternal, DrawDoor,      DrawTwoThresholdFire};
    QList<QIcon> list(kListImageCount);
    for (int code = 0; code < 9; ++code) {
        list[code] = DrawnIcon(zoneTypes[code]);
    }
    list[kCheckMarkImage] = DrawnIcon(DrawCheckMark);
    return list;
}

} // namespace

QIcon DrawnIcon(IconDrawing drawing) {
    return QIcon(new DrawnIconEngine(drawing));
}

const QList<QIcon>& ListImages() {
    static const QList<QIcon> list = BuildList();
    return list;
}

} // namespace tesmira::ui
