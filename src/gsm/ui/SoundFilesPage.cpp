#include "gsm/ui/SoundFilesPage.h"

#include "gsm/SoundFiles.h"
#include "gui/Dialogs.h"
#include "gui/EditHelpers.h"
#include "link/LinkModule.h"

#include <QDir>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tesmira::ui {

namespace {

// "Text|*.ext" as a file dialog's filter, "Text (*.ext)".
QString DialogFilter(std::string_view filter) {
    const std::size_t bar = filter.find('|');
    return FromUtf8(filter.substr(0, bar)) + QStringLiteral(" (") +
           FromUtf8(filter.substr(bar + 1)) + QStringLiteral(")");
}

void ShowRefusal(QWidget* parent, const SoundFileFrame& frame) {
    Dialogs::message(parent, FromUtf8(frame.title), FromUtf8(frame.refusal),
                     MessageIcon::Information);
}

} // namespace

SoundFilesPage::SoundFilesPage(DeviceEditor& editor, LinkModule& link, QWidget* parent)
    : QWidget(parent), editor_(editor), link_(link) {
    list_ = Named(new QListWidget, "lstFiles");
    refreshButton_ = Named(new QPushButton(QStringLiteral("Обновить")), "btnRead");
    uploadButton_ = Named(new QPushButton(QStringLiteral("Добавить")), "btnUpload");
    deleteButton_ = Named(new QPushButton(QStringLiteral("Удалить")), "btnDelete");

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {refreshButton_, uploadButton_, deleteButton_})
        buttons->addWidget(button);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    layout->addStretch(1);
    list_->setMaximumWidth(240);

    connect(refreshButton_, &QPushButton::clicked, this, &SoundFilesPage::onRefresh);
    connect(uploadButton_, &QPushButton::clicked, this, &SoundFilesPage::onUpload);
    connect(deleteButton_, &QPushButton::clicked, this, &SoundFilesPage::onDelete);
}

void SoundFilesPage::onRefresh() {
    Start([](std::span<std::uint8_t> tx) { return WriteListFilesFrame(tx); });
}

void SoundFilesPage::onUpload() {
    const QString name =
        Dialogs::openFileName(this, QString(), QDir::currentPath(), DialogFilter(kSoundFileFilter));
    if (name.isEmpty())
        return;
    Dialogs::guarded(this, [&] {
        Start([this, path = FilePath(name)](std::span<std::uint8_t> tx) {
            const SoundFileFrame frame = WriteUploadFrameFromFile(tx, path);
            if (!frame.refusal.empty())
                ShowRefusal(this, frame);
            return frame.length;
        });
    });
}

void SoundFilesPage::onDelete() {
    const QListWidgetItem* selected = list_->currentItem();
    if (selected == nullptr || !selected->isSelected())
        return;
    const std::string name = selected->text().toStdString();
    Start([this, name](std::span<std::uint8_t> tx) {
        const SoundFileFrame frame = WriteDeleteFrame(tx, name);
        if (!frame.refusal.empty()) {
            ShowRefusal(this, frame);
            return frame.length;
        }
        // A name the device takes; the file goes for good, so the user confirms first.
        const bool confirmed =
            Dialogs::ask(this, FromUtf8(kDeleteTitle),
                         QStringLiteral("Удалить файл ") + QString::fromStdString(name) +
                             QStringLiteral(" из прибора?"));
        return confirmed ? frame.length : std::size_t{0};
    });
}

void SoundFilesPage::Start(const FrameWriter& writeFrame) {
    bool built = false;
    SetButtons(false);
    try {
        running_ = StartEditorExchange(editor_, link_, ExchangeMode::FileCommand,
                                       [&](std::span<std::uint8_t> tx) {
                                           const std::size_t length = writeFrame(tx);
                                           built = length != 0;
                                           return length;
                                       });
    } catch (...) {
        SetButtons(true); // a file that cannot be read: shown by the caller, nothing started
        throw;
    }
    if (running_)
        return;
    SetButtons(true);
    // Not a refusal (which has been shown): another exchange holds the link.
    if (built || link_.ExchangeBusy())
        Dialogs::message(this, QStringLiteral("Программатор"), FromUtf8(kLinkBusyText),
                         MessageIcon::Information);
}

void SoundFilesPage::CommandDone() {
    running_ = false;
    list_->clear();
    for (const std::string& name : ParseFileList(link_.Reply()))
        list_->addItem(QString::fromStdString(name));
    SetButtons(true);
}

void SoundFilesPage::CommandFailed() {
    running_ = false;
    SetButtons(true);
}

void SoundFilesPage::EnableButtons() {
    if (!running_)
        SetButtons(true);
}

void SoundFilesPage::SetButtons(bool on) {
    for (QPushButton* button : {refreshButton_, uploadButton_, deleteButton_})
        button->setEnabled(on);
}

} // namespace tesmira::ui
