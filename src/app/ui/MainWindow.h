// The main window: hosts the one device editor, starts reads, passes writes, resets and file
// commands to the editor, and turns the link's and the editor's reports into status texts.
#pragma once

#include "app/DeviceBackups.h"
#include "app/PortList.h"
#include "app/ui/StatusLine.h"
#include "gui/DeviceEditor.h"

#include <QComboBox>
#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QDockWidget;
class QMenu;
class QPushButton;

namespace tesmira {
class LinkModule;
}

namespace tesmira::ui {

class ConfigTools;
class EditorFactory;
class ReportBridge;
class FirmwareWindow;
class LinkMonitor;
class WorkArea;

// The port box; opening its list is announced first, so the list can be rebuilt.
class PortComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void showPopup() override;
signals:
    void dropDown();
};

class MainWindow : public QMainWindow, public EditorReportReceiver {
    Q_OBJECT
public:
    // Opens editors through `editors` and talks to the device through `link`; both must outlive
    // the window.
    MainWindow(LinkModule& link, EditorFactory& editors, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The actions; buttons and menu items are bound to them.
    QAction* actDevRead = nullptr;
    QAction* actDevWrite = nullptr;
    QAction* actSetDefault = nullptr;
    QAction* FileOpen1 = nullptr;
    QAction* FileSave1 = nullptr; // "Сохранить": to the file last opened or saved
    QAction* FileSaveAs1 = nullptr;
    QAction* FileExit1 = nullptr;
    QAction* actBackups = nullptr; // "Резервные копии..."
    QAction* HelpAbout1 = nullptr;
    QAction* actUpdateFirmware = nullptr;
    QAction* actRecentDevice = nullptr; // "Недавно выбранный"
    QAction* EditUndo1 = nullptr;       // "Правка" → "Отменить"
    QAction* EditRedo1 = nullptr;       // "Правка" → "Повторить"

    PortComboBox* cbbPorts = nullptr;
    QMenu* DeviceMenu = nullptr; // "Прибор"
    QDockWidget* dockLinkMonitor = nullptr;
    QAction* actLinkMonitor = nullptr; // "Вид" → "Монитор обмена", opens and closes the dock

    // Image 0: a port that looks like a device.
    QList<QIcon> ImageList;

    std::uint8_t CurrentDeviceType() const { return currentDeviceType_; }
    WorkArea* workArea() const { return workArea_; }
    // The open firmware window, or null.
    FirmwareWindow* firmwareWindow() const;
    StatusLine& status() { return *status_; }
    LinkMonitor* linkMonitor() const { return linkMonitor_; }

    void ShowStatus(const QColor& colour, const QString& text);
    // The editor, Read, Write, Reset, Update firmware, Open, Save as and the port box.
    void EnableControls(bool on);
    // Write, Reset and Save as exactly when a device type is current (and no exchange runs).
    void UpdateDeviceActions();
    void openEditorOfType(std::uint8_t code);
    // Reopens the stored device type; throws when the stored text is not a number.
    void reopenRecentType();

    // An exchange of another window (the firmware transfer) runs or has ended: the device
    // commands are disabled meanwhile, as during a read.
    void SetExchangeRunning(bool running);

    // Where the port list comes from (the system's ports unless replaced).
    void SetPortSource(std::function<std::vector<PortListItem>()> source);

    void OnEditorReport(EditorReport code, DeviceEditor* sender) override;

public slots:
    // Reports of the read exchange; the code is taken from its low seven bits.
    void onExchangeReport(int code, int arg);

    void readDevice();
    void writeDevice();
    void resetToDefaults();
    void openFile();
    void saveFile();
    void saveFileAs();
    // Opens the configuration file `name` as Open does once a file is chosen.
    void openFileNamed(const QString& name);
    void showBackups();
    void undoChange();
    void redoChange();
    void openFirmwareWindow();
    void showAbout();
    void exitProgram();
    void refreshPortList();
    void onPortTextChanged(const QString& text);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The stored port text, shown and applied to the port without being stored again.
    void ShowStoredPort();
    void CreateActions();
    void CreateMenus();
    // The "Вид" menu and the link monitor's dock, open or closed as the settings last left it.
    void CreateLinkMonitor();
    // A failure's status text in red, with what the link's bytes suggest in its tooltip.
    void ShowLinkFailure(const QString& text, ExchangeMode mode, ExchangeReport report);
    QWidget* CreateSidePanel();
    void BuildDeviceMenu();
    void ApplyPortText(const QString& text);
    void ApplyEnabled();
    bool ControlsOn() const { return controlsOn_ && !otherExchange_; }
    void DeviceIdentified(std::uint8_t type);
    // The read before a write has identified the device: asks when it is of another type, keeps
    // what it held and starts the write.
    void WriteAfterCheck(std::uint8_t type);
    // The editor's write, once what the device held is kept.
    void StartEditorWrite(DeviceEditor& editor);
    void EndWriteCommand(const QString& status);
    // After the device acknowledged a write: what it was given, kept beside what it held.
    void KeepWrittenImage();
    void ShowLinkBusy();
    void ShowNotSupported();
    // True when this build has an editor for `code`; otherwise says so. Asked before the factory
    // opens one, which would close the open editor, with its edits, first.
    bool EditorOffered(std::uint8_t code);
    // The editor of `code` opened (or reset, when it is the one open) and the commands set for it.
    void OpenEditor(std::uint8_t code);
    // Closes the editor, stops a running exchange and closes the port; once.
    void ShutDown();

    // "Сохранить" and "Сохранить как...": false when the user cancelled the dialog; throws when
    // the file cannot be written.
    bool Save();
    bool SaveAs();
    // Asked before a changed editor is closed or replaced: Save (which may be cancelled in turn),
    // Discard or Cancel. True when the edits may go.
    bool MayLoseEdits();
    // The same when the editor would be closed for one of `code` (another type).
    bool MayReplaceWith(std::uint8_t code);
    // The editor shown no longer comes from the file named in the title.
    void ForgetFile();
    // The title (the file part, the editor's caption and its changed mark) and the history's
    // commands, after the editor or its state changed.
    void UpdateEditorState();
    void UpdateHistoryActions();
    // Runs a handler, showing what it throws in the application's error box.
    std::function<void()> Guarded(void (MainWindow::*handler)());

    LinkModule& link_;
    EditorFactory& editors_;
    std::uint8_t currentDeviceType_ = 0;
    // The read that runs is the check before a write of writeAfterRead_.
    bool readBeforeWrite_ = false;
    QPointer<DeviceEditor> writeAfterRead_;
    // What the write that runs gives the device, and the device, for the backup after it.
    std::vector<std::uint8_t> writtenImage_;
    BackupDevice writtenDevice_;
    QString fileTitle_; // the title's part before the editor's caption
    QString savedFile_; // where "Сохранить" writes; empty: it asks as "Сохранить как..."
    bool controlsOn_ = true;
    bool otherExchange_ = false;
    bool shutDown_ = false;
    WorkArea* workArea_ = nullptr;
    QPointer<FirmwareWindow> firmwareWindow_; // one at a time
    StatusLine* status_ = nullptr;
    LinkMonitor* linkMonitor_ = nullptr;
    std::shared_ptr<ReportBridge> bridge_;
    ConfigTools* configTools_ = nullptr; // compare and report
    std::function<std::vector<PortListItem>()> portSource_;
};

} // namespace tesmira::ui
