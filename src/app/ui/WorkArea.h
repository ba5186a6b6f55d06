// The main window's MDI work area: the start text and the logo painted on its background, so
// that they stay under any child window.
#pragma once

#include <QMdiArea>
#include <QPixmap>
#include <QStringList>

namespace tesmira::ui {

class WorkArea : public QMdiArea {
    Q_OBJECT
public:
    explicit WorkArea(QWidget* parent = nullptr);

    // The lines of the start text, spaces kept as they are.
    static const QStringList& StartTextLines();
    // Where the text and the logo are painted (viewport coordinates).
    QRect StartTextRect() const;
    QRect LogoRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont TextFont() const;

    QPixmap logo_;
};

} // namespace tesmira::ui
