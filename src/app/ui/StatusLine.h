// The main window's one-panel status line: the last status text, its colour and its blink.
#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QTimer>

class QLabel;
class QStatusBar;

namespace tesmira::ui {

inline const QColor kStatusGreen(0, 128, 0);
inline const QColor kStatusRed(255, 0, 0);

class StatusLine : public QObject {
    Q_OBJECT
public:
    static constexpr int kBlinkIntervalMs = 400;
    static constexpr int kBlinkSteps = 4;

    // Puts its text panel into `bar`. Hints take the bar while the pointer rests on a control and
    // give it back; the last status text then shows again.
    explicit StatusLine(QStatusBar* bar);

    // The text, the bar painted in `colour`, and a blink: coloured at 0, 800 and 1600 ms, normal
    // at 400 and 1200 ms and from 2000 ms on. A new message starts the count again.
    void ShowStatus(const QColor& colour, const QString& text);
    // Only the text: no colour, no blink. Both drop the hint of the text before.
    void SetText(const QString& text);
    // A tooltip on the text: what the link monitor suggests about a failure.
    void SetHint(const QString& hint);
    QString hint() const;
    // One step of the blink (the timer's; tests call it to run in virtual time).
    void BlinkTimerTick();
    // Stops blinking and paints the normal colour (program exit).
    void Stop();

    QString text() const;
    QColor colour() const;
    QColor normalColour() const { return normal_; }
    int blinkCounter() const { return counter_; }
    bool blinking() const { return timer_.isActive(); }
    int blinkInterval() const { return timer_.interval(); }

signals:
    void textChanged(const QString& text);

private:
    void Paint(const QColor& colour);

    QStatusBar* bar_;
    QLabel* label_;
    QTimer timer_;
    int counter_ = 0;
    QColor blinkColour_;
    QColor normal_;
};

} // namespace tesmira::ui
