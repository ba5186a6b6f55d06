#include "app/ui/BackupsDialog.h"

#include "gui/EditHelpers.h"
#include "model/Backups.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace tesmira::ui {

namespace {

QString TimeText(const BackupTime& t) {
    return QStringLiteral("%1.%2.%3 %4:%5:%6")
        .arg(t.day, 2, 10, QLatin1Char('0'))
        .arg(t.month, 2, 10, QLatin1Char('0'))
        .arg(t.year, 4, 10, QLatin1Char('0'))
        .arg(t.hour, 2, 10, QLatin1Char('0'))
        .arg(t.minute, 2, 10, QLatin1Char('0'))
        .arg(t.second, 2, 10, QLatin1Char('0'));
}

} // namespace

QString BackupsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/backups");
}

BackupsDialog::BackupsDialog(QWidget* parent, std::function<void(const QString& file)> open)
    : QDialog(parent), open_(std::move(open)) {
    setObjectName(QStringLiteral("BackupsDialog"));
    setWindowTitle(QStringLiteral("Резервные копии"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(560, 360);

    lvBackups = new QTreeWidget(this);
    lvBackups->setObjectName(QStringLiteral("lvBackups"));
    lvBackups->setRootIsDecorated(false);
    lvBackups->setHeaderLabels({QStringLiteral("Время"), QStringLiteral("Прибор"),
                                QStringLiteral("Версия"), QStringLiteral("Копия")});
    const QString folder = BackupsFolder();
    for (const BackupEntry& entry : ListBackups(FilePath(folder))) {
        auto* item = new QTreeWidgetItem(
            lvBackups, {TimeText(entry.time), QString::fromStdString(entry.device),
                        QString::number(entry.version),
                        entry.kind == BackupKind::Before ? QStringLiteral("до записи")
                                                         : QStringLiteral("после записи")});
        item->setData(0, Qt::UserRole, QFile(entry.file).fileName());
    }
    lvBackups->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (lvBackups->topLevelItemCount() > 0)
        lvBackups->setCurrentItem(lvBackups->topLevelItem(0));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* openButton =
        buttons->addButton(QStringLiteral("Открыть"), QDialogButtonBox::AcceptRole);
    openButton->setObjectName(QStringLiteral("btnOpenBackup"));
    openButton->setEnabled(lvBackups->currentItem() != nullptr);
    QPushButton* showFolder =
        buttons->addButton(QStringLiteral("Открыть папку"), QDialogButtonBox::ActionRole);
    showFolder->setObjectName(QStringLiteral("btnBackupFolder"));
    buttons->addButton(QDialogButtonBox::Close);

    connect(openButton, &QPushButton::clicked, this, &BackupsDialog::OpenChosen);
    connect(lvBackups, &QTreeWidget::itemActivated, this, &BackupsDialog::OpenChosen);
    connect(showFolder, &QPushButton::clicked, this, [folder] {
        QDir().mkpath(folder);
        QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lvBackups);
    layout->addWidget(buttons);
}

void BackupsDialog::OpenChosen() {
    const QTreeWidgetItem* item = lvBackups->currentItem();
    if (item == nullptr)
        return;
    const QString file = item->data(0, Qt::UserRole).toString();
    accept();
    open_(file);
}

} // namespace tesmira::ui
