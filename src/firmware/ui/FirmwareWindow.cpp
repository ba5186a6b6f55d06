#include "firmware/ui/FirmwareWindow.h"

#include "firmware/FirmwareImage.h"
#include "gui/Dialogs.h"
#include "gui/EditHelpers.h"
#include "gui/EditorExchange.h"
#include "gui/ReportBridge.h"
#include "link/LinkModule.h"

#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace tesmira::ui {

namespace {

const QString kUpdateTitle = QStringLiteral("Обновление прошивки");

void UpdateMessage(QWidget* parent, const QString& text, MessageIcon icon) {
    Dialogs::message(parent, kUpdateTitle, text, icon);
}

void ShowPortFailed(QWidget* parent) {
    UpdateMessage(parent, QStringLiteral("Невозможно открыть порт"), MessageIcon::Error);
}

// Why a file gives no image to send.
void ShowRefusal(QWidget* parent, ImageError error) {
    switch (error) {
    case ImageError::TooLarge:
        UpdateMessage(parent, QStringLiteral("Файл прошивки слишком велик"), MessageIcon::Error);
        return;
    case ImageError::BlockPastEnd:
    case ImageError::Empty:
        UpdateMessage(parent, QStringLiteral("Файл прошивки поврежден"), MessageIcon::Error);
        return;
    default: // a file that cannot be read, or text that is not digit pairs
        Dialogs::message(parent, QStringLiteral("Ошибка"), QStringLiteral("Файл не найден"),
                         MessageIcon::None);
        return;
    }
}

} // namespace

FirmwareWindow::FirmwareWindow(LinkModule& link, QWidget* parent) : QWidget(parent), link_(link) {
    setAttribute(Qt::WA_DeleteOnClose);
    BuildControls();
    setWindowTitle(QStringLiteral("Обновление прошивки прибора"));
}

FirmwareWindow::~FirmwareWindow() {
    // The reports would go to nobody; the exchange must not outlive its window unnoticed.
    if (state_.Updating())
        link_.StopExchange();
}

void FirmwareWindow::BuildControls() {
    btnOpenFile = Named(new QPushButton(QStringLiteral("Выбрать файл...")), "btnOpenFile");
    edtUpdFileName = Named(new QLineEdit, "edtUpdFileName");
    btnUpdate = Named(new QPushButton(QStringLiteral("Обновить")), "btnUpdate");
    pbUpdate = Named(new QProgressBar, "pbUpdate");
    btExit = Named(new QPushButton(QStringLiteral("Выход")), "btExit");
    pbUpdate->setRange(0, 100);
    btnUpdate->setVisible(false);
    pbUpdate->setVisible(false);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(edtUpdFileName, 1);
    fileRow->addWidget(btnOpenFile);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(btnUpdate);
    buttonRow->addStretch(1);
    buttonRow->addWidget(btExit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addWidget(pbUpdate);
    layout->addStretch(1);
    layout->addLayout(buttonRow);
    setMinimumSize(440, 130);

    connect(btnOpenFile, &QPushButton::clicked, this, &FirmwareWindow::chooseFile);
    connect(btnUpdate, &QPushButton::clicked, this, &FirmwareWindow::startUpdate);
    connect(btExit, &QPushButton::clicked, this, &FirmwareWindow::leave);
}

void FirmwareWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The top left corner of the main window's work area, once; the user may move it later.
    if (placed_)
        return;
    placed_ = true;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->move(0, 0);
}

void FirmwareWindow::chooseFile() {
    const QString name = Dialogs::openFileName(this, QString(), QDir::currentPath(),
                                               QStringLiteral("Файл прошивок (*.enc)"));
    if (name.isEmpty())
        return; // cancelled
    edtUpdFileName->setText(QDir::toNativeSeparators(name));
    if (!edtUpdFileName->text().isEmpty())
        btnUpdate->setVisible(true);
}

void FirmwareWindow::startUpdate() {
    if (state_.Updating())
        return; // its button is disabled; a second transfer must not start behind it
    const QString name = edtUpdFileName->text();
    if (name.isEmpty()) {
        Dialogs::message(this, QStringLiteral("Прошивка прибора"), QStringLiteral("Выберите файл"),
                         MessageIcon::Information);
        return;
    }
    if (const std::optional<std::size_t> length = PutImage(name))
        startTransfer(*length);
}

std::optional<std::size_t> FirmwareWindow::PutImage(const QString& fileName) {
    // Loaded aside first: a refused file must leave the transmit buffer alone, and another
    // exchange may still be sending from it.
    std::vector<std::uint8_t> image(link_.TransmitBuffer().size());
    const ImageResult loaded = LoadFirmwareImage(FilePath(fileName), image);
    if (!loaded.ok()) {
        ShowRefusal(this, loaded.error);
        return std::nullopt;
    }
    // A read started from the main window holds the port; one that has only to close it does
    // not.
    if (link_.ExchangeBusy()) {
        UpdateMessage(this, FromUtf8(kLinkBusyText), MessageIcon::Information);
        return std::nullopt;
    }
    std::copy_n(image.begin(), loaded.length, link_.TransmitBuffer().begin());
    return loaded.length;
}

void FirmwareWindow::startTransfer(std::size_t length) {
    btnOpenFile->setEnabled(false);
    btnUpdate->setEnabled(false);
    const std::uint64_t transfer = ++transfer_;
    // The bridge drops reports once this window is gone.
    auto bridge = ReportBridge::create(this, [this, transfer](ExchangeReport code, int arg) {
        if (transfer == transfer_)
            onExchangeReport(static_cast<int>(code), arg);
    });
    state_.Start();
    emit transferRunning(true);
    if (!link_.StartExchange(ExchangeMode::Firmware, std::move(bridge), static_cast<int>(length)))
        onExchangeReport(static_cast<int>(ExchangeReport::PortFailed), 0);
}

void FirmwareWindow::onExchangeReport(int code, int arg) {
    QPointer<FirmwareWindow> self(this);
    const UpdateOutcome outcome = state_.Report(static_cast<ExchangeReport>(code), arg);
    if (outcome == UpdateOutcome::None) { // the transfer goes on
        ShowState();
        return;
    }
    // Whether to interrupt the transfer no longer matters: that question goes before the outcome
    // shows.
    Dialogs::closeQuestion(this);
    switch (outcome) {
    case UpdateOutcome::None:
        break;
    case UpdateOutcome::Updated:
        UpdateMessage(this, QStringLiteral("Прошивка обновлена"), MessageIcon::Information);
        break;
    case UpdateOutcome::PortFailed:
        ShowPortFailed(this);
        break;
    case UpdateOutcome::NoAnswer:
        UpdateMessage(this, QStringLiteral("Устройство не отвечает"), MessageIcon::Error);
        break;
    }
    if (!self)
        return;
    ShowState();
    emit transferRunning(false);
}

void FirmwareWindow::ShowState() {
    const bool idle = !state_.Updating();
    btnOpenFile->setEnabled(idle);
    btnUpdate->setEnabled(idle);
    pbUpdate->setValue(state_.Position());
    pbUpdate->setVisible(state_.BarVisible());
}

bool FirmwareWindow::ConfirmLeave() {
    if (!state_.Updating())
        return true;
    // A device left with half an image may not start again: the user decides.
    if (!Dialogs::ask(this, kUpdateTitle,
                      QStringLiteral("Идет обновление прошивки. Прибор с недописанной "
                                     "прошивкой может перестать работать.\r\n"
                                     "Прервать обновление?")))
        return false;
    // The question waited in a loop of its own: the transfer may have ended meanwhile.
    if (state_.Updating()) {
        // The device keeps the blocks it has; a new update starts again from the first one.
        link_.StopExchange();
        state_.Abandon();
        ShowState();
        emit transferRunning(false);
        UpdateMessage(this, QStringLiteral("Обновление прошивки прервано"), MessageIcon::Warning);
    }
    return true;
}

void FirmwareWindow::leave() {
    if (!ConfirmLeave())
        return;
    leaving_ = true;
    // The frame closes this widget first, so closeEvent runs either way.
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}

void FirmwareWindow::closeEvent(QCloseEvent* event) {
    if (!leaving_) {
        event->ignore(); // only the exit button leaves the window
        return;
    }
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->setAttribute(Qt::WA_DeleteOnClose);
    event->accept();
}

} // namespace tesmira::ui
