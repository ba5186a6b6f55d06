// Program start-up: the application, Qt's texts in Russian, the title, the link module, the editor
// factory with the program's editors, the main window. The link and the factory outlive every
// window.
#include "app/ui/AppImages.h"
#include "app/ui/AppTitle.h"
#include "app/ui/EditorList.h"
#include "app/ui/MainWindow.h"
#include "app/ui/QtTranslation.h"
#include "gui/EditorFactory.h"
#include "gui/QtPollTimer.h"
#include "link/LinkModule.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Where the program keeps its own files (the backups): AppDataLocation is named by these.
    QApplication::setOrganizationName(QStringLiteral("Korvana"));
    QApplication::setApplicationName(QStringLiteral("Tesmira"));
    tesmira::ui::InstallQtTranslation(); // without it Qt's dialogs stay English
    tesmira::ui::SetApplicationTitle(QStringLiteral("Программатор"));
    QApplication::setWindowIcon(tesmira::ui::ApplicationIcon());

    tesmira::ui::QtPollTimer pollTimer;
    tesmira::LinkModule link(pollTimer);
    tesmira::ui::EditorFactory editors(link);
    tesmira::ui::RegisterEditors(editors);

    tesmira::ui::MainWindow window(link, editors);
    window.show();
    return QApplication::exec();
}
