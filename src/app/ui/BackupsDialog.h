// "Резервные копии": the backups a write left, newest first, to open one or to look at the folder.
#pragma once

#include <QDialog>

#include <functional>

class QTreeWidget;

namespace tesmira::ui {

// AppDataLocation + "/backups"; it need not exist yet.
QString BackupsFolder();

class BackupsDialog : public QDialog {
    Q_OBJECT
public:
    // `open` is given the chosen file; the dialog closes first.
    BackupsDialog(QWidget* parent, std::function<void(const QString& file)> open);

    QTreeWidget* lvBackups = nullptr;

private:
    void OpenChosen();

    std::function<void(const QString&)> open_;
};

} // namespace tesmira::ui
