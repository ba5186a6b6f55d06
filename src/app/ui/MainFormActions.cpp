// The main window's commands and its handling of the link's and the editors' reports.
#include "app/ui/AboutBox.h"
#include "app/ui/AppTitle.h"
#include "app/ui/MainForm.h"
#include "app/ui/PortAccess.h"
#include "app/ui/SetupUnit.h"
#include "app/ui/WorkArea.h"
#include "firmware/ui/FormUpdateFW.h"
#include "link/LinkModule.h"
#include "link/ui/ReportBridge.h"
#include "model/ConfigFile.h"
#include "model/DeviceCatalogue.h"
#include "model/ui/DeviceFactory.h"
#include "model/ui/Dialogs.h"
#include "model/ui/EditHelpers.h"

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

void TMainForm::ShowStatus(const QColor& colour, const QString& text) {
    status_->ShowStatus(colour, text);
}

void TMainForm::EnableControls(bool on) {
    controlsOn_ = on;
    ApplyEnabled();
}

void TMainForm::ApplyEnabled() {
    const bool on = ControlsOn();
    if (TDeviceForm* editor = CurrentEditor())
        editor->setEnabled(on);
    for (QAction* action :
         {actDevRead, actDevWrite, actSetDefault, actUpdateFirmware, FileOpen1, FileSaveAs1})
        action->setEnabled(on);
    cbbPorts->setEnabled(on);
}

void TMainForm::UpdateDeviceActions() {
    // While an exchange runs the state stays as it is: no write, reset or save may start.
    const bool on = currentDeviceType_ != 0 && ControlsOn();
    actDevWrite->setEnabled(on);
    actSetDefault->setEnabled(on);
    FileSaveAs1->setEnabled(on);
}

void TMainForm::SetExchangeRunning(bool running) {
    otherExchange_ = running;
    ApplyEnabled();
    UpdateDeviceActions();
}

void TMainForm::ShowNotSupported() {
    Dialogs::message(this, QStringLiteral("Ошибка "),
                     QStringLiteral("Данный прибор не поддерживается программатором"),
                     MessageIcon::Information);
}

void TMainForm::DeviceMenuClick(std::uint8_t code) {
    WriteSetting(kSettingDeviceType, QString::number(code));
    // The menu offers every catalogued type; one this build cannot edit must not close the
    // editor that is open, with its unsaved edits.
    if (!DeviceFactory::HasEditor(code)) {
        ShowNotSupported();
        return;
    }
    if (OpenDeviceEditor(code, workArea_, this))
        currentDeviceType_ = code;
    else if (CurrentEditor() == nullptr)
        currentDeviceType_ = 0; // an editor of another type was closed
    ApplyEnabled(); // a new editor chosen during an exchange stays disabled like the old one
    UpdateDeviceActions();
}

void TMainForm::RecentDeviceClick() {
    const QString text = ReadSetting(kSettingDeviceType, QStringLiteral("0"));
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        throw std::runtime_error(
            QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
    const auto code = static_cast<std::uint8_t>(value & 0xFF);
    if (code == 0)
        return;
    if (!DeviceFactory::HasEditor(code)) {
        ShowNotSupported();
        return;
    }
    if (OpenDeviceEditor(code, workArea_, this))
        currentDeviceType_ = CurrentEditor()->DeviceType;
    else if (CurrentEditor() == nullptr)
        currentDeviceType_ = 0;
    ApplyEnabled();
    UpdateDeviceActions();
}

void TMainForm::actDevReadExecute() {
    EnableControls(false);
    if (!DataModule().StartExchange(ExchangeMode::Read, bridge_)) {
        // Another window's exchange holds the link; nothing was started.
        EnableControls(true);
        UpdateDeviceActions();
        ShowLinkBusy();
    }
}

void TMainForm::ShowLinkBusy() {
    ShowStatus(kStatusRed, QStringLiteral("Идет обмен с прибором, повторите позже"));
}

void TMainForm::GetThread_MSG(int code, int arg) {
    switch (static_cast<ExchangeReport>(code & 0x7F)) {
    case ExchangeReport::PortOpened:
        status_->SetText(QStringLiteral("Порт открыт..."));
        break;
    case ExchangeReport::ReplyStarted:
        status_->SetText(QStringLiteral("Ответ прибора получен"));
        break;
    case ExchangeReport::PortFailed:
        ShowStatus(kStatusRed,
                   QStringLiteral("Невозможно открыть порт") + PortAccessHint(DataModule().port));
        EnableControls(true);
        UpdateDeviceActions();
        break;
    case ExchangeReport::NoValidReply:
        ShowStatus(kStatusRed, QStringLiteral("Нет связи, проверьте соединения или номер порта"));
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

void TMainForm::DeviceIdentified(std::uint8_t type) {
    EnableControls(true);
    bool loaded = false;
    if (type == currentDeviceType_ && CurrentEditor() != nullptr) {
        loaded = CurrentEditor()->LoadFromReply(); // the same editor, not reset
    } else if (OpenDeviceEditor(type, workArea_, this)) {
        loaded = CurrentEditor()->LoadFromReply();
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
    if (loaded)
        ShowStatus(kStatusGreen, QStringLiteral("Данные прибора считаны"));
    else // a valid frame too short for the type's record: nothing of it was taken
        ShowStatus(kStatusRed, QStringLiteral("Неполный ответ прибора, данные не считаны"));
    UpdateDeviceActions();
}

void TMainForm::GetDevice_MSG(DeviceReport code, TDeviceForm* sender) {
    switch (code) {
    case DeviceReport::Written:
        ShowStatus(kStatusGreen, QStringLiteral("Данные записаны"));
        break;
    case DeviceReport::NoLink:
        ShowStatus(kStatusRed, QStringLiteral("Нет связи с прибором"));
        break;
    case DeviceReport::ConfigError:
        ShowStatus(kStatusRed, QStringLiteral("Ошибка конфигурации"));
        break;
    case DeviceReport::Closing:
        if (ForgetEditor(sender))
            currentDeviceType_ = 0;
        // Queued: it may arrive while an exchange runs, whose own end enables the controls.
        if (HasDataModule() && DataModule().ExchangeBusy()) {
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

void TMainForm::actDevWriteExecute() {
    TDeviceForm* editor = CurrentEditor();
    if (editor == nullptr)
        return;
    if (DataModule().ExchangeBusy()) {
        ShowLinkBusy();
        return;
    }
    EnableControls(false);
    editor->WriteToDevice();
    // An exchange reports at least once on this thread before it ends, so no exchange running
    // now means the editor started none (and may not report): give the controls back.
    if (!DataModule().ExchangeBusy()) {
        EnableControls(true);
        UpdateDeviceActions();
    }
}

void TMainForm::actSetDefaultExecute() {
    if (TDeviceForm* editor = CurrentEditor())
        editor->SetDefaults();
}

void TMainForm::FileOpen1Execute() {
    const QString folder = ReadSetting(kSettingFilePath, DefaultFolderSetting());
    const QString name = Dialogs::openFileName(this, QString(), folder, kConfigFilter);
    if (name.isEmpty())
        return;
    ConfigFile reader;
    const std::uint8_t type = reader.LoadFrom(FilePath(name)); // throws on a bad file
    if (!OpenDeviceEditor(type, workArea_, this)) {
        currentDeviceType_ = 0;
        UpdateDeviceActions();
        ShowNotSupported();
        return;
    }
    currentDeviceType_ = type;
    UpdateDeviceActions();
    CurrentEditor()->LoadFromFile(reader);
    setWindowTitle(ApplicationTitle() + QStringLiteral(" : ") + name);
    WriteSetting(kSettingFilePath, FolderSetting(QFileInfo(name).absolutePath()));
    status_->SetText(QStringLiteral("Файл открыт: ") +
                     QDir::toNativeSeparators(QFileInfo(name).absoluteFilePath()));
}

void TMainForm::FileSaveAs1Execute() {
    const QString folder = ReadSetting(kSettingFilePath, DefaultFolderSetting());
    QString name = Dialogs::saveFileName(this, QString(), folder, kConfigFilter);
    TDeviceForm* editor = CurrentEditor();
    if (name.isEmpty() || editor == nullptr)
        return;
    // The file's own name decides, not a folder on its path such as "site.bcf.d".
    if (!QFileInfo(name).fileName().contains(QStringLiteral(".bcf")))
        name += QStringLiteral(".bcf");
    editor->SaveToFile(name);
}

void TMainForm::actUpdateFirmwareExecute() {
    OpenFirmwareWindow();
}

void TMainForm::OpenFirmwareWindow() {
    if (TFormUpdateFW::WindowOpen())
        return;
    auto* window = new TFormUpdateFW;
    // While it transfers, the device commands here must not start a second exchange.
    connect(window, &TFormUpdateFW::transferRunning, this, &TMainForm::SetExchangeRunning);
    AddCaptionedChild(workArea_, window)->show();
}

void TMainForm::HelpAbout1Execute() {
    ShowAboutBox(this);
}

void TMainForm::FileExit1Execute() {
    close();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    ShutDown();
    event->accept();
}

void TMainForm::ShutDown() {
    if (shutDown_)
        return;
    shutDown_ = true;
    status_->Stop();
    CloseCurrentEditor();
    currentDeviceType_ = 0;
    // Reports still on their way are dropped; a report the exchange waits on returns at once.
    bridge_->shutdown();
    if (HasDataModule()) {
        DataModule().StopExchange();
        DataModule().port.Disconnect();
    }
}

} // namespace tesmira::ui
