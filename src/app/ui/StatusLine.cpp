#include "app/ui/StatusLine.h"

#include <QLabel>
#include <QStatusBar>

namespace tesmira::ui {

StatusLine::StatusLine(QStatusBar* bar) : QObject(bar), bar_(bar), label_(new QLabel(bar)) {
    label_->setObjectName(QStringLiteral("StatusText"));
    // A long text (a file name) is cut off rather than widening the window.
    label_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    // A normal (not permanent) widget: a hint hides it while it shows and brings it back after.
    bar_->addWidget(label_, 1);
    bar_->setAutoFillBackground(true);
    normal_ = bar_->palette().color(QPalette::Window);
    timer_.setInterval(kBlinkIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &StatusLine::BlinkTimerTick);
}

void StatusLine::ShowStatus(const QColor& colour, const QString& text) {
    SetText(text);
    blinkColour_ = colour;
    Paint(colour);
    timer_.start(kBlinkIntervalMs);
    counter_ = kBlinkSteps;
}

void StatusLine::SetText(const QString& text) {
    label_->setText(text);
    label_->setToolTip(QString());
    emit textChanged(text);
}

void StatusLine::SetHint(const QString& hint) {
    label_->setToolTip(hint);
}

QString StatusLine::hint() const {
    return label_->toolTip();
}

void StatusLine::BlinkTimerTick() {
    if (counter_ != 0) {
        Paint(counter_ % 2 == 1 ? blinkColour_ : normal_);
        --counter_;
        return;
    }
    timer_.stop();
    Paint(normal_);
}

void StatusLine::Stop() {
    timer_.stop();
    counter_ = 0;
    Paint(normal_);
}

QString StatusLine::text() const {
    return label_->text();
}

QColor StatusLine::colour() const {
    return bar_->palette().color(QPalette::Window);
}

void StatusLine::Paint(const QColor& colour) {
    QPalette palette = bar_->palette();
    palette.setColor(QPalette::Window, colour);
    bar_->setPalette(palette);
}

} // namespace tesmira::ui
