#include "app/ui/WorkArea.h"

#include "app/ui/AppImages.h"

#include <QFontMetrics>
#include <QPainter>

namespace tesmira::ui {

namespace {
constexpr int kMargin = 16;
constexpr int kLogoHeight = 48;
const QColor kNavy(0, 0, 128);
} // namespace

WorkArea::WorkArea(QWidget* parent) : QMdiArea(parent), logo_(LogoPixmap(kLogoHeight)) {
    setObjectName(QStringLiteral("WorkArea"));
    // A window smaller than the editor scrolls, so that every control stays within reach.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

const QStringList& WorkArea::StartTextLines() {
    static const QStringList lines = {
        QStringLiteral("Начните работу одним из способов: "),
        QString(),
        QStringLiteral("- Подключите питание прибора,   войдите в сервисный режим"),
        QStringLiteral("  (может потребоваться ввод мастер кода или ключа),"),
        QStringLiteral("  подсоедините шнур USB,  нажмите кнопку \"Прочитать\";"),
        QString(),
        QStringLiteral("- Выберите тип прибора из меню \"Прибор\";"),
        QString(),
        QStringLiteral("- Загрузите конфигурацию прибора из меню \"Файл\""),
    };
    return lines;
}

QFont WorkArea::TextFont() const {
    QFont font = this->font();
    font.setPixelSize(19);
    return font;
}

QRect WorkArea::StartTextRect() const {
    const QFontMetrics metrics(TextFont());
    int width = 0;
    for (const QString& line : StartTextLines())
        width = std::max(width, metrics.horizontalAdvance(line));
    return QRect(kMargin, kMargin, width, metrics.lineSpacing() * int(StartTextLines().size()));
}

QRect WorkArea::LogoRect() const {
    const QSize size = logo_.deviceIndependentSize().toSize();
    return QRect(QPoint(kMargin, viewport()->height() - kMargin - size.height()), size);
}

void WorkArea::paintEvent(QPaintEvent* event) {
    QMdiArea::paintEvent(event); // the background
    QPainter painter(viewport());
    painter.setFont(TextFont());
    painter.setPen(kNavy);
    const QFontMetrics metrics(painter.font());
    int baseline = StartTextRect().top() + metrics.ascent();
    for (const QString& line : StartTextLines()) {
        painter.drawText(QPoint(kMargin, baseline), line);
        baseline += metrics.lineSpacing();
    }
    painter.drawPixmap(LogoRect().topLeft(), logo_);
}

} // namespace tesmira::ui
