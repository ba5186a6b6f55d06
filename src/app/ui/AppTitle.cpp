#include "app/ui/AppTitle.h"

namespace tesmira::ui {

namespace {
QString& Title() {
    static QString title = QStringLiteral("Программатор");
    return title;
}
} // namespace

void SetApplicationTitle(const QString& title) {
    Title() = title;
}

QString ApplicationTitle() {
    return Title();
}

} // namespace tesmira::ui
