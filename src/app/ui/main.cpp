// Program start-up: the application, Qt's texts in Russian, the title, the link data module, the
// editors, the main window. The data module outlives every window.
#include "app/ui/AppImages.h"
#include "app/ui/AppTitle.h"
#include "app/ui/MainForm.h"
#include "app/ui/QtTranslation.h"
#include "link/LinkModule.h"
#include "link/ui/QtPollTimer.h"
#include "model/ui/DeviceFactory.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    tesmira::ui::InstallQtTranslation(); // without it Qt's dialogs stay English
    tesmira::ui::SetApplicationTitle(QStringLiteral("Программатор"));
    QApplication::setWindowIcon(tesmira::ui::ApplicationIcon());

    tesmira::ui::QtPollTimer pollTimer;
    tesmira::LinkModule dataModule(pollTimer);
    tesmira::SetDataModule(&dataModule);
    tesmira::ui::RegisterEditors();

    int result = 0;
    {
        tesmira::ui::TMainForm mainForm;
        mainForm.show();
        result = QApplication::exec();
    }
    tesmira::SetDataModule(nullptr);
    return result;
}
