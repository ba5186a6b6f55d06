#include "app/ui/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace tesmira::ui {

bool InstallQtTranslation() {
    auto* translator = new QTranslator(QCoreApplication::instance()); // lives as long as the app
    if (!translator->load(QStringLiteral("qtbase_ru"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace tesmira::ui
