// The main window's commands and its handling of the link's and the editors' reports.
#include "app/ui/AboutBox.h"
#include "app/ui/AppTitle.h"
#include "app/ui/ConfigTools.h"
#include "app/ui/MainWindow.h"
#include "app/ui/PortAccess.h"
#include "app/ui/Settings.h"
#include "app/ui/WorkArea.h"
#include "firmware/ui/FirmwareWindow.h"
#include "gui/Dialogs.h"
#include "gui/EditHelpers.h"
#include "gui/EditorExchange.h"
#include "gui/EditorFactory.h"
#include "gui/ReportBridge.h"
#include "link/LinkModule.h"
#include "model/ConfigFile.h"
#include "model/DeviceCatalogue.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiSubWindow>

#include <stdexcept>

namespace tesmira::ui {

namespace {

const QString kConfigFilter = QStringLiteral("Файл конфигурации прибора (*.bcf)");

} // namespace

void MainWindow::ShowStatus(const QColor& colour, const QString& text) {
    status_->ShowStatus(colour, text);
}

void MainWindow::EnableControls(bool on) {
    controlsOn_ = on;
    ApplyEnabled();
}

void MainWindow::ApplyEnabled() {
    const bool on = ControlsOn();
    if (DeviceEditor* editor = editors_.Current())
        editor->setEnabled(on);
    for (QAction* action :
         {actDevRead, actDevWrite, actSetDefault, actUpdateFirmware, FileOpen1, FileSaveAs1})
        action->setEnabled(on);
    cbbPorts->setEnabled(on);
}

void MainWindow::UpdateDeviceActions() {
    // While an exchange runs the state stays as it is: no write, reset or save may start.
    const bool on = currentDeviceType_ != 0 && ControlsOn();
    actDevWrite->setEnabled(on);
    actSetDefault->setEnabled(on);
    FileSaveAs1->setEnabled(on);
}

void MainWindow::SetExchangeRunning(bool running) {
    otherExchange_ = running;
    ApplyEnabled();
    UpdateDeviceActions();
}

void MainWindow::ShowNotSupported() {
    Dialogs::message(this, QStringLiteral("Ошибка "),
                     QStringLiteral("Данный прибор не поддерживается программатором"),
                     MessageIcon::Information);
}

bool MainWindow::EditorOffered(std::uint8_t code) {
    if (editors_.HasEditor(code))
        return true;
    ShowNotSupported();
    return false;
}

void MainWindow::openEditorOfType(std::uint8_t code) {
    WriteSetting(kSettingDeviceType, QString::number(code));
    OpenEditor(code);
}

void MainWindow::OpenEditor(std::uint8_t code) {
    if (!EditorOffered(code))
        return;
    if (editors_.Open(code, workArea_, this))
        currentDeviceType_ = code;
    else if (editors_.Current() == nullptr)
        currentDeviceType_ = 0; // an editor of another type was closed
    ApplyEnabled(); // a new editor chosen during an exchange stays disabled like the old one
    UpdateDeviceActions();
}

void MainWindow::reopenRecentType() {
    const QString text = ReadSetting(kSettingDeviceType, QStringLiteral("0"));
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        throw std::runtime_error(
            QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
    const auto code = static_cast<std::uint8_t>(value & 0xFF);
    if (code != 0)
        OpenEditor(code);
}

void MainWindow::readDevice() {
    EnableControls(false);
    if (!link_.StartExchange(ExchangeMode::Read, bridge_)) {
        // Another window's exchange holds the link; nothing was started.
        EnableControls(true);
        UpdateDeviceActions();
        ShowLinkBusy();
    }
}

void MainWindow::ShowLinkBusy() {
    ShowStatus(kStatusRed, FromUtf8(kLinkBusyText));
}

void MainWindow::onExchangeReport(int code, int arg) {
    switch (static_cast<ExchangeReport>(code & 0x7F)) {
    case ExchangeReport::PortOpened:
        status_->SetText(QStringLiteral("Порт открыт..."));
        break;
    case ExchangeReport::ReplyStarted:
        status_->SetText(QStringLiteral("Ответ прибора получен"));
        break;
    case ExchangeReport::PortFailed:
        ShowLinkFailure(QStringLiteral("Невозможно открыть порт") + PortAccessHint(link_.port),
                        ExchangeMode::Read, ExchangeReport::PortFailed);
        EnableControls(true);
        UpdateDeviceActions();
        break;
    case ExchangeReport::NoValidReply:
        ShowLinkFailure(QStringLiteral("Нет связи, проверьте соединения или номер порта"),
                        ExchangeMode::Read, ExchangeReport::NoValidReply);
        EnableControls(true);
        UpdateDeviceActions();
        break;
    case ExchangeReport::Unsupported:
        Dialogs::message(this, QStringLiteral("Ошибка"),
                         QStringLiteral("Прибор не поддерживается.\r\n"
                                        "Попробуйте обновить программатор"),
                         MessageIcon::Error);
        EnableControls(true);
        UpdateDeviceActions();
        break;
    case ExchangeReport::Identified:
        DeviceIdentified(static_cast<std::uint8_t>(arg & 0xFF));
        break;
    default:
        break;
    }
}

void MainWindow::DeviceIdentified(std::uint8_t type) {
    EnableControls(true);
    bool loaded = false;
    if (type == currentDeviceType_ && editors_.Current() != nullptr) {
        loaded = editors_.Current()->LoadFromReply(); // the same editor, not reset
    } else if (editors_.Open(type, workArea_, this)) {
        loaded = editors_.Current()->LoadFromReply();
        currentDeviceType_ = type;
    } else {
        currentDeviceType_ = 0;
        ShowStatus(kStatusRed, QStringLiteral("Прибор не поддерживается"));
        UpdateDeviceActions();
        Dialogs::message(this, QStringLiteral("Information"),
                         QStringLiteral("Подключенный прибор:\r\n") +
                             QString::fromStdString(DeviceTypeName(type)) +
                             QStringLiteral(",\r\nданным программатором не поддерживается"),
                         MessageIcon::Information);
        return;
    }
    if (loaded) {
        ShowStatus(kStatusGreen, QStringLiteral("Данные прибора считаны"));
        configTools_->SetOrigin(QStringLiteral("прибор, порт ") + cbbPorts->currentText());
    } else // a valid frame too short for the type's record: nothing of it was taken
        ShowStatus(kStatusRed, QStringLiteral("Неполный ответ прибора, данные не считаны"));
    UpdateDeviceActions();
}

void MainWindow::OnEditorReport(EditorReport code, DeviceEditor* sender) {
    switch (code) {
    case EditorReport::Written:
        ShowStatus(kStatusGreen, QStringLiteral("Данные записаны"));
        break;
    case EditorReport::PortFailed: // as for a read: the last success must not stay on screen
        ShowLinkFailure(QStringLiteral("Невозможно открыть порт") + PortAccessHint(link_.port),
                        ExchangeMode::Write, ExchangeReport::PortFailed);
        break;
    case EditorReport::NoLink:
        ShowLinkFailure(QStringLiteral("Нет связи с прибором"), ExchangeMode::Write,
                        ExchangeReport::NoValidReply);
        break;
    case EditorReport::ConfigError:
        ShowStatus(kStatusRed, QStringLiteral("Ошибка конфигурации"));
        break;
    case EditorReport::Closing:
        if (editors_.Forget(sender))
            currentDeviceType_ = 0;
        // Queued: it may arrive while an exchange runs, whose own end enables the controls.
        if (link_.ExchangeBusy()) {
            UpdateDeviceActions();
            return;
        }
        break;
    default:
        break;
    }
    EnableControls(true);
    UpdateDeviceActions();
}

void MainWindow::writeDevice() {
    DeviceEditor* editor = editors_.Current();
    if (editor == nullptr)
        return;
    if (link_.ExchangeBusy()) {
        ShowLinkBusy();
        return;
    }
    EnableControls(false);
    try {
        editor->WriteToDevice();
    } catch (...) {
        // A commit that refused a typed value: the error box shows it, the user gets the
        // controls back to mend it.
        EnableControls(true);
        UpdateDeviceActions();
        throw;
    }
    // An exchange reports at least once on this thread before it ends, so no exchange running
    // now means the editor started none (and may not report): give the controls back.
    if (!link_.ExchangeBusy()) {
        EnableControls(true);
        UpdateDeviceActions();
    }
}

void MainWindow::resetToDefaults() {
    if (DeviceEditor* editor = editors_.Current())
        editor->SetDefaults();
}

void MainWindow::openFile() {
    const QString folder = ReadSetting(kSettingFilePath, DefaultFolderSetting());
    const QString name = Dialogs::openFileName(this, QString(), folder, kConfigFilter);
    if (name.isEmpty())
        return;
    ConfigFile reader;
    const std::uint8_t type = reader.LoadFrom(FilePath(name)); // throws on a bad file
    if (!EditorOffered(type))
        return;
    if (!editors_.Open(type, workArea_, this)) {
        currentDeviceType_ = 0;
        UpdateDeviceActions();
        ShowNotSupported();
        return;
    }
    currentDeviceType_ = type;
    UpdateDeviceActions();
    editors_.Current()->LoadFromFile(reader);
    configTools_->SetOrigin(QDir::toNativeSeparators(QFileInfo(name).absoluteFilePath()));
    setWindowTitle(ApplicationTitle() + QStringLiteral(" : ") + name);
    WriteSetting(kSettingFilePath, FolderSetting(QFileInfo(name).absolutePath()));
    status_->SetText(QStringLiteral("Файл открыт: ") +
                     QDir::toNativeSeparators(QFileInfo(name).absoluteFilePath()));
}

void MainWindow::saveFileAs() {
    const QString folder = ReadSetting(kSettingFilePath, DefaultFolderSetting());
    QString name = Dialogs::saveFileName(this, QString(), folder, kConfigFilter);
    DeviceEditor* editor = editors_.Current();
    if (name.isEmpty() || editor == nullptr)
        return;
    // The file's own name decides, not a folder on its path such as "site.bcf.d".
    if (!QFileInfo(name).fileName().contains(QStringLiteral(".bcf")))
        name += QStringLiteral(".bcf");
    editor->SaveToFile(name);
}

FirmwareWindow* MainWindow::firmwareWindow() const {
    return firmwareWindow_.data();
}

void MainWindow::openFirmwareWindow() {
    if (firmwareWindow_) {
        // An editor may cover it, and it has no frame buttons to raise it by.
        if (auto* frame = qobject_cast<QMdiSubWindow*>(firmwareWindow_->parentWidget()))
            workArea_->setActiveSubWindow(frame);
        return;
    }
    auto* window = new FirmwareWindow(link_);
    firmwareWindow_ = window;
    // While it transfers, the device commands here must not start a second exchange.
    connect(window, &FirmwareWindow::transferRunning, this, &MainWindow::SetExchangeRunning);
    AddCaptionedChild(workArea_, window)->show();
}

void MainWindow::showAbout() {
    ShowAboutBox(this);
}

void MainWindow::exitProgram() {
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Every way out comes here; a firmware transfer cut short may leave the device without a
    // working program, so the user is asked as by the firmware window's own exit.
    if (firmwareWindow_ && !firmwareWindow_->ConfirmLeave()) {
        event->ignore();
        return;
    }
    ShutDown();
    event->accept();
}

void MainWindow::ShutDown() {
    if (shutDown_)
        return;
    shutDown_ = true;
    status_->Stop();
    editors_.CloseCurrent();
    currentDeviceType_ = 0;
    // Reports still on their way are dropped; a report the exchange waits on returns at once.
    bridge_->shutdown();
    link_.StopExchange();
    link_.port.Disconnect();
}

} // namespace tesmira::ui
