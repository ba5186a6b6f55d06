// The main window's commands and its handling of the link's and the editors' reports.
#include "app/DeviceConfigs.h"
#include "app/ui/AboutBox.h"
#include "app/ui/AppTitle.h"
#include "app/ui/BackupsDialog.h"
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
#include "model/DeviceConfig.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QUndoStack>

#include <ctime>
#include <stdexcept>
#include <utility>

namespace tesmira::ui {

namespace {

const QString kConfigFilter = QStringLiteral("Файл конфигурации прибора (*.bcf)");

// Refuses, with the reader's error, a file whose records the type's configuration would not all
// take: checked before the factory closes or resets anything.
void CheckWholeFile(const ConfigFile& reader, std::uint8_t type) {
    const std::unique_ptr<DeviceConfig> config = MakeDeviceConfig(type);
    if (config == nullptr)
        return;
    ConfigFile records = reader;
    if (!config->LoadFromFile(records)) // throws for a record that is there but damaged
        throw ConfigFileError(kFileDamagedText);
}

// The steps of the history in between count as one.
class OneStep {
public:
    explicit OneStep(DeviceEditor* editor) : history_(editor ? editor->History() : nullptr) {
        if (history_ != nullptr)
            history_->beginMacro(QString());
    }
    ~OneStep() {
        if (history_ != nullptr)
            history_->endMacro();
    }
    OneStep(const OneStep&) = delete;
    OneStep& operator=(const OneStep&) = delete;

private:
    QPointer<QUndoStack> history_;
};

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
    for (QAction* action : {actDevRead, actDevWrite, actSetDefault, actUpdateFirmware, FileOpen1,
                            FileSave1, FileSaveAs1, actBackups})
        action->setEnabled(on);
    cbbPorts->setEnabled(on);
    UpdateHistoryActions();
}

void MainWindow::UpdateDeviceActions() {
    // While an exchange runs the state stays as it is: no write, reset or save may start.
    const bool on = currentDeviceType_ != 0 && ControlsOn();
    actDevWrite->setEnabled(on);
    actSetDefault->setEnabled(on);
    FileSave1->setEnabled(on);
    FileSaveAs1->setEnabled(on);
}

void MainWindow::UpdateHistoryActions() {
    DeviceEditor* editor = editors_.Current();
    const bool on = editor != nullptr && ControlsOn();
    EditUndo1->setEnabled(on && editor->History()->canUndo());
    EditRedo1->setEnabled(on && editor->History()->canRedo());
}

void MainWindow::UpdateEditorState() {
    QString title = fileTitle_;
    DeviceEditor* editor = editors_.Current();
    if (editor != nullptr) {
        title += QStringLiteral(" - [") + editor->windowTitle() + QStringLiteral("][*]");
        connect(editor, &DeviceEditor::changedStateChanged, this, &MainWindow::UpdateEditorState,
                Qt::UniqueConnection);
        connect(editor, &QWidget::windowTitleChanged, this, &MainWindow::UpdateEditorState,
                Qt::UniqueConnection);
        connect(editor->History(), &QUndoStack::indexChanged, this,
                &MainWindow::UpdateHistoryActions, Qt::UniqueConnection);
    }
    setWindowTitle(title);
    setWindowModified(editor != nullptr && editor->IsChanged());
    UpdateHistoryActions();
}

void MainWindow::ForgetFile() {
    fileTitle_ = QStringLiteral("Tesmira");
    savedFile_.clear();
    UpdateEditorState();
}

bool MainWindow::MayLoseEdits() {
    DeviceEditor* editor = editors_.Current();
    if (editor == nullptr || !editor->CommitAndCheckChanged())
        return true;
    switch (Dialogs::askToSave(this, ApplicationTitle(),
                               QStringLiteral("Конфигурация изменена и не сохранена.\r\n"
                                              "Сохранить изменения в файл?"))) {
    case SaveAnswer::Save:
        return Save();
    case SaveAnswer::Discard:
        return true;
    case SaveAnswer::Cancel:
        break;
    }
    return false;
}

bool MainWindow::MayReplaceWith(std::uint8_t code) {
    const DeviceEditor* editor = editors_.Current();
    return editor == nullptr || editor->DeviceType == code || MayLoseEdits();
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
    // Cancel leaves everything as it was, the stored choice too.
    if (editors_.HasEditor(code) && !MayReplaceWith(code))
        return;
    WriteSetting(kSettingDeviceType, QString::number(code));
    OpenEditor(code);
}

void MainWindow::OpenEditor(std::uint8_t code) {
    if (!EditorOffered(code))
        return;
    if (editors_.Open(code, workArea_, this)) {
        currentDeviceType_ = code;
        ForgetFile(); // the editor shows the defaults now
    } else if (editors_.Current() == nullptr) {
        currentDeviceType_ = 0; // an editor of another type was closed
    }
    ApplyEnabled(); // a new editor chosen during an exchange stays disabled like the old one
    UpdateDeviceActions();
    UpdateEditorState();
}

void MainWindow::reopenRecentType() {
    const QString text = ReadSetting(kSettingDeviceType, QStringLiteral("0"));
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        throw std::runtime_error(
            QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
    const auto code = static_cast<std::uint8_t>(value & 0xFF);
    if (code != 0 && (!editors_.HasEditor(code) || MayReplaceWith(code)))
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
        if (!readBeforeWrite_) // the read before a write keeps saying what it is for
            status_->SetText(QStringLiteral("Порт открыт..."));
        return;
    case ExchangeReport::ReplyStarted:
        if (!readBeforeWrite_)
            status_->SetText(QStringLiteral("Ответ прибора получен"));
        return;
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
        if (std::exchange(readBeforeWrite_, false))
            WriteAfterCheck(static_cast<std::uint8_t>(arg & 0xFF));
        else
            DeviceIdentified(static_cast<std::uint8_t>(arg & 0xFF));
        return;
    default:
        return;
    }
    readBeforeWrite_ = false; // the read ended without a device: no write
}

void MainWindow::DeviceIdentified(std::uint8_t type) {
    // The factory would close an editor of another type, even for a type without one.
    bool mayReplace = false;
    Dialogs::guarded(this, [&] { mayReplace = MayReplaceWith(type); });
    EnableControls(true);
    if (!mayReplace) {
        UpdateDeviceActions();
        status_->SetText(QStringLiteral("Чтение отменено"));
        return;
    }
    bool loaded = false;
    bool replaced = false;
    if (type == currentDeviceType_ && editors_.Current() != nullptr) {
        loaded = editors_.Current()->LoadFromReply(); // the same editor, not reset
    } else if (editors_.Open(type, workArea_, this)) {
        replaced = true;
        loaded = editors_.Current()->LoadFromReply();
        currentDeviceType_ = type;
    } else {
        currentDeviceType_ = 0;
        UpdateEditorState();
        ShowStatus(kStatusRed, QStringLiteral("Прибор не поддерживается"));
        UpdateDeviceActions();
        Dialogs::message(this, QStringLiteral("Information"),
                         QStringLiteral("Подключенный прибор:\r\n") +
                             QString::fromStdString(DeviceTypeName(type)) +
                             QStringLiteral(",\r\nданным программатором не поддерживается"),
                         MessageIcon::Information);
        return;
    }
    if (loaded || replaced)
        ForgetFile(); // what is shown came from the device
    UpdateEditorState();
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
        KeepWrittenImage();
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
        UpdateEditorState();
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
    // A typed value the record refuses is shown before anything goes to the line; one that is
    // taken counts as a change from now on.
    editor->CommitAndCheckChanged();
    UpdateEditorState();
    EnableControls(false);
    writeAfterRead_ = editor;
    readBeforeWrite_ = true;
    status_->SetText(QStringLiteral("Чтение перед записью..."));
    if (!link_.StartExchange(ExchangeMode::Read, bridge_)) {
        readBeforeWrite_ = false;
        EnableControls(true);
        UpdateDeviceActions();
        ShowLinkBusy();
    }
}

void MainWindow::WriteAfterCheck(std::uint8_t type) {
    DeviceEditor* editor = std::exchange(writeAfterRead_, nullptr);
    if (editor != editors_.Current() || editor == nullptr || editor->IsClosing()) {
        // Another editor was chosen meanwhile: what the user asked to write is gone.
        EndWriteCommand(QStringLiteral("Запись отменена"));
        return;
    }
    if (type != editor->DeviceType) {
        const QString text = QStringLiteral("Подключен прибор другого типа:\r\n") +
                             QString::fromStdString(DeviceTypeName(type)) +
                             QStringLiteral("\r\nВ окне открыта конфигурация прибора ") +
                             QString::fromStdString(DeviceTypeName(editor->DeviceType)) +
                             QStringLiteral(".\r\nЗаписать всё равно?");
        if (!Dialogs::ask(this, QStringLiteral("Программатор"), text, MessageIcon::Warning)) {
            EndWriteCommand(QStringLiteral("Запись отменена"));
            return;
        }
    }
    const std::span<const std::uint8_t> reply = link_.Reply();
    try {
        KeepReplyBackup(FilePath(BackupsFolder()), LocalBackupTime(std::time(nullptr)), reply);
    } catch (const std::exception& e) {
        const QString text =
            QStringLiteral("Не удалось сохранить копию конфигурации прибора:\r\n") +
            QString::fromUtf8(e.what()) + QStringLiteral("\r\nЗаписать без неё?");
        if (!Dialogs::ask(this, QStringLiteral("Программатор"), text, MessageIcon::Warning)) {
            EndWriteCommand(QStringLiteral("Запись отменена"));
            return;
        }
    }
    writtenDevice_ = BackupDeviceOf(reply);
    // A question may have let the user close or replace the editor meanwhile.
    if (editor != editors_.Current() || editor->IsClosing()) {
        EndWriteCommand(QStringLiteral("Запись отменена"));
        return;
    }
    StartEditorWrite(*editor);
}

void MainWindow::StartEditorWrite(DeviceEditor& editor) {
    writtenImage_.clear();
    try {
        writtenImage_ = editor.Config().Image();
    } catch (const std::exception&) {
        // A configuration too large for a file cannot be written either; the write says why.
    }
    try {
        editor.WriteToDevice();
    } catch (...) {
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

void MainWindow::EndWriteCommand(const QString& status) {
    status_->SetText(status);
    EnableControls(true);
    UpdateDeviceActions();
}

void MainWindow::resetToDefaults() {
    if (DeviceEditor* editor = editors_.Current())
        editor->SetDefaults();
}

void MainWindow::openFile() {
    const QString folder = ReadSetting(kSettingFilePath, DefaultFolderSetting());
    const QString name = Dialogs::openFileName(this, QString(), folder, kConfigFilter);
    if (!name.isEmpty())
        openFileNamed(name);
}

void MainWindow::openFileNamed(const QString& name) {
    ConfigFile reader;
    const std::uint8_t type = reader.LoadFrom(FilePath(name)); // throws on a bad file
    if (!EditorOffered(type))
        return;
    CheckWholeFile(reader, type);
    if (!MayReplaceWith(type))
        return;
    {
        // A kept editor is reset by the factory and then loaded: one step to take back.
        const OneStep step(type == currentDeviceType_ ? editors_.Current() : nullptr);
        if (!editors_.Open(type, workArea_, this)) {
            currentDeviceType_ = 0;
            UpdateDeviceActions();
            UpdateEditorState();
            ShowNotSupported();
            return;
        }
        currentDeviceType_ = type;
        UpdateDeviceActions();
        editors_.Current()->LoadFromFile(reader);
    }
    fileTitle_ = ApplicationTitle() + QStringLiteral(" : ") + name;
    // The program never writes over a backup: "Сохранить" asks for a name instead.
    savedFile_ = IsInFolder(FilePath(name), FilePath(BackupsFolder())) ? QString() : name;
    UpdateEditorState();
    configTools_->SetOrigin(QDir::toNativeSeparators(QFileInfo(name).absoluteFilePath()));
    WriteSetting(kSettingFilePath, FolderSetting(QFileInfo(name).absolutePath()));
    status_->SetText(QStringLiteral("Файл открыт: ") +
                     QDir::toNativeSeparators(QFileInfo(name).absoluteFilePath()));
}

void MainWindow::saveFile() {
    Save();
}

void MainWindow::saveFileAs() {
    SaveAs();
}

bool MainWindow::Save() {
    DeviceEditor* editor = editors_.Current();
    if (savedFile_.isEmpty() || editor == nullptr)
        return SaveAs();
    editor->SaveToFile(savedFile_);
    return true;
}

bool MainWindow::SaveAs() {
    const QString folder = ReadSetting(kSettingFilePath, DefaultFolderSetting());
    QString name = Dialogs::saveFileName(this, QString(), folder, kConfigFilter);
    DeviceEditor* editor = editors_.Current();
    if (name.isEmpty() || editor == nullptr)
        return false;
    // The file's own name decides, not a folder on its path such as "site.bcf.d".
    if (!QFileInfo(name).fileName().contains(QStringLiteral(".bcf")))
        name += QStringLiteral(".bcf");
    editor->SaveToFile(name);
    savedFile_ = name;
    return true;
}

void MainWindow::undoChange() {
    if (DeviceEditor* editor = editors_.Current())
        editor->UndoChange();
}

void MainWindow::redoChange() {
    if (DeviceEditor* editor = editors_.Current())
        editor->RedoChange();
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
    // A failed save, or a typed value refused, keeps the window open with the error shown.
    bool mayLose = shutDown_;
    if (!shutDown_)
        Dialogs::guarded(this, [&] { mayLose = MayLoseEdits(); });
    if (!mayLose) {
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
