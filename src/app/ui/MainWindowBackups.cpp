// The main window's backups: what a write gave the device, kept after it, and the dialog that
// lists them.
#include "app/ui/BackupsDialog.h"
#include "app/ui/MainWindow.h"
#include "gui/Dialogs.h"
#include "gui/EditHelpers.h"
#include "model/ConfigFile.h"

#include <ctime>

namespace tesmira::ui {

void MainWindow::KeepWrittenImage() {
    if (writtenImage_.empty())
        return;
    try {
        KeepWrittenBackup(FilePath(BackupsFolder()), LocalBackupTime(std::time(nullptr)),
                          writtenDevice_, writtenImage_);
    } catch (const std::exception&) {
        // The device has what the window shows; only the copy of it is missing.
        ShowStatus(kStatusGreen, QStringLiteral("Данные записаны, копия записанного не сохранена"));
    }
    writtenImage_.clear();
}

void MainWindow::showBackups() {
    auto* dialog = new BackupsDialog(this, [this](const QString& file) {
        Dialogs::guarded(this, [&] { openFileNamed(file); });
    });
    dialog->open();
}

} // namespace tesmira::ui
