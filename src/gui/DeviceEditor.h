// The base of every device editor window: its report target, its device type, the seven
// operations the main window and the factory drive it by, and its close handling.
#pragma once

#include "link/Exchange.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>

namespace tesmira {
class ConfigFile;
class LinkModule;
} // namespace tesmira

namespace tesmira::ui {

class DeviceEditor;

// An editor's reports to the main window; the values are the message codes.
enum class EditorReport : int {
    Loaded = 0,      // LoadFromReply has shown the record read from the device
    Written = 1,     // the device acknowledged a write
    PortFailed = 2,  // the port could not be opened for a write
    NoLink = 3,      // no valid answer to a write
    ConfigError = 5, // the record cannot be written
    Closing = 6,     // the editor is closing; the only report that is queued
};

// What an exchange thread report of an editor's exchange means to the main window: 1, 6 and 7 are
// Written, PortFailed and NoLink; the others mean nothing to it.
std::optional<EditorReport> EditorReportFor(ExchangeReport code);

// Implemented by the main window, which is also a QObject.
class EditorReportReceiver {
public:
    virtual ~EditorReportReceiver() = default;
    // Closing arrives queued: by then `sender` may have been replaced by a newer editor (see
    // EditorFactory::Forget), or freed, in which case it is null.
    virtual void OnEditorReport(EditorReport code, DeviceEditor* sender) = 0;
};

// Frameless MDI child that frees itself when closed. Only the program closes it (CloseEditor);
// a close asked for by the user through the window system is refused.
class DeviceEditor : public QWidget {
    Q_OBJECT
public:
    // `link` must outlive the editor: its replies are read from there and its exchanges start
    // there.
    explicit DeviceEditor(LinkModule& link, QWidget* parent = nullptr);

    // Receiver of the reports: a QObject that implements EditorReportReceiver. Guarded, so an
    // editor that outlives the main window reports to nobody.
    QPointer<QObject> MainWindowHandle;
    std::uint8_t DeviceType = 0;

    // The seven operations, in this order.
    virtual void SetDefaults() = 0; // factory defaults into the record, then RecordToControls
    // The record of the last reply (see LoadFromReplyBytes); false, with the record, the controls
    // and the caption as they were, when the reply holds no whole record of this editor.
    virtual bool LoadFromReply() = 0;
    virtual void WriteToDevice() = 0; // builds the write frame and starts the exchange
    virtual void SaveToFile(const QString& fileName) = 0; // may throw ConfigFileError
    virtual void LoadFromFile(ConfigFile& reader) = 0;
    virtual void RecordToControls() = 0;
    virtual void CommitEdit() = 0; // the value still being typed into the record

    // Runs the close handling (OnClosing) and frees the editor and its MDI frame.
    void CloseEditor();
    bool IsClosing() const { return closeRequested_; }

    // Caption after a read: the reply's device name, ", Версия прибора - " and its version.
    static QString ReplyCaption(std::span<const std::uint8_t> reply);

public slots:
    // Reports of the exchange thread during this editor's write: 1, 6 and 7 go on to the main
    // window as Written, PortFailed and NoLink; 4 runs FileCommandDone; the rest are ignored.
    void OnExchangeReport(int code, int arg);

protected:
    LinkModule& Link() const { return link_; }

    // Delivers a report to MainWindowHandle: at once, except Closing, which is queued.
    void SendEditorReport(EditorReport code);

    // The steps of LoadFromReply: copies record.size() bytes from where the reply form puts the
    // record, shows them, captions the window and reports Loaded. Returns false, changing
    // nothing, when the frame at reply[0] (as long as its length field says, and no longer than
    // `reply`) does not hold that many bytes between its header and its CRC byte.
    bool LoadFromReplyBytes(std::span<const std::uint8_t> reply, std::span<std::uint8_t> record);

    // The steps of WriteToDevice: CommitEdit, then the frame that `writeFrame` writes from tx[0]
    // (returning its length, 0 when it cannot) goes out as a write reporting to this editor. When
    // no write starts, reports NoLink: the main window waits for a report to give the user the
    // controls back.
    void StartWrite(const std::function<std::size_t(std::span<std::uint8_t> tx)>& writeFrame);

    // Writes the records as a configuration file of DeviceType. Call CommitEdit first.
    void SaveRecordsToFile(const QString& fileName,
                           std::initializer_list<std::span<const std::uint8_t>> records) const;
    // The same for a number of blocks known only at run time.
    void SaveRecordsToFile(const QString& fileName,
                           std::span<const std::span<const std::uint8_t>> records) const;

    // Reads the next record of exactly record.size() bytes and shows it; a record of another
    // length leaves the record and the controls as they are. Returns whether it loaded.
    bool LoadRecordFromFile(ConfigFile& reader, std::span<std::uint8_t> record);

    // Exchange thread code 4; only the GSM editor has file commands.
    virtual void FileCommandDone() {}

    // Close handling: editors free the dialogs and tables they own here.
    virtual void OnClosing() {}

    void closeEvent(QCloseEvent* event) override;

private:
    LinkModule& link_;
    bool closeRequested_ = false;
};

} // namespace tesmira::ui
