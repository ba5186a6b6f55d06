// The base of every device editor window: its report target, its device type, the seven
// operations the main window and the factory drive it by, its changes with their history, and its
// close handling.
#pragma once

#include "link/Exchange.h"
#include "model/ConfigChanges.h"
#include "model/FieldTable.h"
#include "model/TextHelpers.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace tesmira {
class ConfigFile;
class DeviceConfig;
class LinkModule;
} // namespace tesmira

class QUndoStack;

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
    // there. `config` is the editor's own configuration; the base uses it only once the editor is
    // made, so a member of the derived editor may be given.
    DeviceEditor(LinkModule& link, DeviceConfig& config, QWidget* parent = nullptr);
    ~DeviceEditor() override;

    // Receiver of the reports: a QObject that implements EditorReportReceiver. Guarded, so an
    // editor that outlives the main window reports to nobody.
    QPointer<QObject> MainWindowHandle;
    std::uint8_t DeviceType = 0;

    // The seven operations, in this order; the first five are the same for every editor.
    // Factory defaults into the configuration, then RecordToControls; a step of the history.
    virtual void SetDefaults();
    // The configuration of the last reply (see LoadReply); false, with the configuration, the
    // controls and the caption as they were, when the reply holds no whole one of this type.
    virtual bool LoadFromReply();
    // CommitEdit, then the write frame goes out as a write reporting to this editor. When no
    // write starts, reports NoLink (the main window waits for a report to give the user the
    // controls back), or ConfigError after saying why the configuration cannot be written.
    virtual void WriteToDevice();
    virtual void SaveToFile(const QString& fileName); // may throw ConfigFileError
    // Shows what the file held; a file without this type's blocks leaves everything as it was.
    virtual void LoadFromFile(ConfigFile& reader);
    virtual void RecordToControls() = 0;
    // The value still being typed into the record (its field's store runs), then the controls
    // that keep their values until now (CollectControls). Throws, with the record kept, when the
    // typed text is refused.
    void CommitEdit();

    // Whether the configuration differs from the one the editor last had from the factory, a read,
    // a file, a save or an acknowledged write, as of the last change that reached it.
    bool IsChanged() const;
    // The same after the value still being typed has been committed (throws as CommitEdit does).
    bool CommitAndCheckChanged();
    // What the editor shows now counts as unchanged (the factory has reset it).
    void MarkUnchanged();

    // Every change, read, load and reset as one step: undoing one shows the configuration as it
    // was before it, as if loaded. Ends with the editor.
    QUndoStack* History() const { return history_; }
    // The value still being typed is committed first (throwing as CommitEdit does), so that it is
    // the change undone.
    void UndoChange();
    void RedoChange();

    // The configuration the editor shows.
    const DeviceConfig& Config() const { return config_; }
    // The configuration as the controls show it, as named fields, without changing the editor:
    // controls that keep their values until CommitEdit count as they are shown. A value still
    // being typed counts once its field has been left.
    virtual FieldTable ShownFields() const;
    // Brings the page with the control that shows field `id` to the front and gives the control
    // the focus (the cell of a table); false when the editor has no such control.
    bool ShowField(const std::string& id, const QString& control, std::optional<FieldCell> cell);

    // Runs the close handling (OnClosing) and frees the editor and its MDI frame.
    void CloseEditor();
    bool IsClosing() const { return closeRequested_; }

    // Caption after a read: the reply's device name, ", Версия прибора - " and its version.
    static QString ReplyCaption(std::span<const std::uint8_t> reply);

signals:
    // IsChanged() has turned to `changed`.
    void changedStateChanged(bool changed);

public slots:
    // Reports of the exchange thread during this editor's write: 1, 6 and 7 go on to the main
    // window as Written, PortFailed and NoLink; 4 runs FileCommandDone; the rest are ignored.
    // An editor with exchanges of its own (file commands) also learns how they ended here.
    virtual void OnExchangeReport(int code, int arg);

protected:
    LinkModule& Link() const { return link_; }

    // Delivers a report to MainWindowHandle: at once, except Closing, which is queued.
    void SendEditorReport(EditorReport code);

    // The steps of LoadFromReply for the reply that begins at reply[0]: takes the configuration
    // out, shows it, captions the window and reports Loaded. Returns false, changing nothing,
    // when the configuration refuses the reply.
    bool LoadReply(std::span<const std::uint8_t> reply);

    // Stores what a typed field holds when the caret leaves it and at CommitEdit. `store` is
    // given the text and returns what the record made of it: a correction is shown in the field;
    // an error is shown on leaving and thrown at commit, and the field then shows `shown()`.
    using TypedStore = std::function<TypedInput(const std::string& text)>;
    // `control` is a line edit or an editable list; it is watched from now on.
    void AddTypedField(QWidget* control, TypedStore store, std::function<std::string()> shown = {});
    // A field whose store only corrects what was typed (clamped numbers).
    void
    AddCorrectedField(QWidget* control,
                      std::function<std::optional<std::string>(const std::string& text)> store);

    // The composite controls that keep their values until CommitEdit collects them.
    virtual void CollectControls() {}
    // The configuration image of what the controls show, the value still being typed aside. It
    // runs after every user input, so it changes nothing the user sees: by default the composite
    // controls are collected; an editor whose collecting reorders its tables gives the image
    // otherwise.
    virtual ConfigImage ShownImage();

    // A reply or a file has replaced the whole configuration; RecordToControls follows.
    virtual void OnConfigReplaced() {}
    // ShowField's first step, for a control that shows more than one field in turn.
    virtual void ShowingField(const std::string& /*id*/) {}
    // The configuration could not be written and the user has been told why.
    virtual void OnWriteRefused() {}

    // Exchange thread code 4; only the GSM editor has file commands.
    virtual void FileCommandDone() {}

    // Close handling: editors free the dialogs and tables they own here.
    virtual void OnClosing() {}

    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TypedField {
        QWidget* control;
        TypedStore store;
        std::function<std::string()> shown;
    };

    // RecordToControls with no field storing what it shows; a field that lost the caret on the
    // way is no longer the one typed in.
    void ShowConfig();
    ConfigChanges& Changes();
    // A change that has reached the configuration since the last one becomes a step.
    void NoteChange();
    // The same after any user input, once that input has been handled.
    void QueueChangeCheck();
    // Before the whole configuration is replaced: what the user changed until then, with the value
    // still being typed, becomes a step of its own. A typed value that is refused is dropped.
    void NotePendingChange();
    // Shows a configuration image from the history, as if loaded.
    void ShowImage(const ConfigImage& image);
    void AnnounceChangedState();

    friend class ImageStep;
    const TypedField* FieldOf(const QObject* watched) const;
    // The field's store: its correction shown, or its error returned (the field then shows the
    // record's value again).
    std::optional<std::string> StoreTyped(const TypedField& field);

    LinkModule& link_;
    DeviceConfig& config_;
    std::deque<TypedField> typedFields_; // a deque: typing_ stays valid as fields are added
    const TypedField* typing_ = nullptr; // entered and not yet left
    bool showingRecord_ = false;
    bool closeRequested_ = false;
    std::optional<ConfigChanges> changes_; // made on first use: the configuration is made later
    std::optional<ConfigImage> writing_;   // the image of the write under way
    QUndoStack* history_ = nullptr;
    bool checkQueued_ = false;
    bool changedAnnounced_ = false;
};

} // namespace tesmira::ui
