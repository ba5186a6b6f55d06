#include "gui/DeviceEditor.h"

#include "gui/Dialogs.h"
#include "gui/EditHelpers.h"
#include "gui/EditorExchange.h"
#include "gui/FormControls.h"
#include "link/Frames.h"
#include "link/LinkModule.h"
#include "model/ConfigFile.h"
#include "model/DeviceCatalogue.h"
#include "model/DeviceConfig.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMetaObject>
#include <QScopedValueRollback>
#include <QUndoStack>

#include <stdexcept>
#include <utility>

namespace tesmira::ui {

std::optional<EditorReport> EditorReportFor(ExchangeReport code) {
    switch (code) {
    case ExchangeReport::Written:
        return EditorReport::Written;
    case ExchangeReport::PortFailed:
        return EditorReport::PortFailed;
    case ExchangeReport::NoValidReply:
        return EditorReport::NoLink;
    default:
        return std::nullopt;
    }
}

namespace {

// At least the 100 steps a user may take back.
constexpr int kHistorySteps = 500;

// Ctrl+Z (Ctrl+Y) in an edit with no typing of its own to undo (redo) is left to the menu's
// command: Qt's edits would take the key and do nothing with it.
bool LeavesKeyToMenu(QObject* watched, const QEvent& event) {
    if (event.type() != QEvent::ShortcutOverride)
        return false;
    const auto& key = static_cast<const QKeyEvent&>(event);
    const auto* edit = qobject_cast<const QLineEdit*>(watched);
    if (const auto* list = qobject_cast<const QComboBox*>(watched))
        edit = list->lineEdit();
    if (edit == nullptr || edit->isReadOnly())
        return false;
    if (key.matches(QKeySequence::Undo))
        return !edit->isUndoAvailable();
    if (key.matches(QKeySequence::Redo) || key.keyCombination() == (Qt::CTRL | Qt::Key_Y))
        return !edit->isRedoAvailable();
    return false;
}

// Calls `seen` for every input by which a user may change a value, wherever in the program (the
// editor's lists open popups and its tables open windows of their own), and leaves the undo keys
// to the menu where an edit has nothing of its own to undo.
class InputWatcher : public QObject {
public:
    InputWatcher(QObject* parent, std::function<void()> seen)
        : QObject(parent), seen_(std::move(seen)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (LeavesKeyToMenu(watched, *event)) {
            event->ignore();
            return true;
        }
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::Drop:
            seen_();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> seen_;
};

} // namespace

// One step of the history. Pushed once the change is shown, so its first redo does nothing.
class ImageStep : public QUndoCommand {
public:
    ImageStep(DeviceEditor& editor, ConfigStep step) : editor_(editor), step_(std::move(step)) {}
    void undo() override { editor_.ShowImage(step_.before); }
    void redo() override {
        if (!std::exchange(pushed_, false))
            editor_.ShowImage(step_.after);
    }

private:
    DeviceEditor& editor_;
    ConfigStep step_;
    bool pushed_ = true;
};

DeviceEditor::DeviceEditor(LinkModule& link, DeviceConfig& config, QWidget* parent)
    : QWidget(parent), link_(link), config_(config), history_(new QUndoStack(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    history_->setUndoLimit(kHistorySteps);
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(new InputWatcher(this, [this] { QueueChangeCheck(); }));
}

// The history goes with the editor, and those who watch it must not hear it empty itself while the
// editor is half gone.
DeviceEditor::~DeviceEditor() {
    history_->blockSignals(true);
}

ConfigImage DeviceEditor::ShownImage() {
    CollectControls();
    return config_.Image();
}

ConfigChanges& DeviceEditor::Changes() {
    if (!changes_)
        changes_.emplace(ShownImage());
    return *changes_;
}

void DeviceEditor::NoteChange() {
    if (std::optional<ConfigStep> step = Changes().Note(ShownImage()))
        history_->push(new ImageStep(*this, std::move(*step)));
    AnnounceChangedState();
}

void DeviceEditor::QueueChangeCheck() {
    if (std::exchange(checkQueued_, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            checkQueued_ = false;
            if (closeRequested_)
                return;
            try {
                NoteChange();
            } catch (const std::exception&) {
                // An image that does not fit a file is refused by the save that follows.
            }
        },
        Qt::QueuedConnection);
}

void DeviceEditor::NotePendingChange() {
    try {
        if (typing_ != nullptr) // the composite controls are collected for the image anyway
            CommitEdit();
    } catch (const std::exception&) {
        // Replaced anyway: the refused text is not worth a question now.
    }
    NoteChange();
}

void DeviceEditor::ShowImage(const ConfigImage& image) {
    if (!config_.LoadImage(image).Taken())
        return; // an image the configuration made itself; cannot happen
    OnConfigReplaced();
    ShowConfig();
    Changes().Note(ShownImage());
    AnnounceChangedState();
}

bool DeviceEditor::IsChanged() const {
    return changes_ && changes_->Changed();
}

bool DeviceEditor::CommitAndCheckChanged() {
    CommitEdit();
    NoteChange();
    return IsChanged();
}

void DeviceEditor::MarkUnchanged() {
    Changes().MarkUnchanged();
    AnnounceChangedState();
}

void DeviceEditor::AnnounceChangedState() {
    const bool changed = IsChanged();
    if (changed != std::exchange(changedAnnounced_, changed))
        emit changedStateChanged(changed);
}

void DeviceEditor::UndoChange() {
    CommitEdit();
    NoteChange();
    history_->undo();
}

void DeviceEditor::RedoChange() {
    CommitEdit();
    NoteChange();
    history_->redo();
}

void DeviceEditor::CloseEditor() {
    if (closeRequested_)
        return;
    closeRequested_ = true;
    // The frame closes its widget first, so the close handling below runs either way.
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}

void DeviceEditor::closeEvent(QCloseEvent* event) {
    if (!closeRequested_) {
        event->ignore();
        return;
    }
    OnClosing();
    event->accept();
}

QString DeviceEditor::ReplyCaption(std::span<const std::uint8_t> reply) {
    return QString::fromStdString(DeviceTypeName(ReplyDeviceType(reply))) +
           QStringLiteral(", Версия прибора - ") + QString::number(ReplyVersion(reply));
}

void DeviceEditor::OnExchangeReport(int code, int /*arg*/) {
    const auto report = static_cast<ExchangeReport>(code);
    if (report == ExchangeReport::Written && writing_) {
        Changes().MarkUnchanged(*std::exchange(writing_, std::nullopt)); // the device holds it
        AnnounceChangedState();
    }
    if (report == ExchangeReport::FileCommandDone)
        FileCommandDone();
    else if (const auto forMainWindow = EditorReportFor(report))
        SendEditorReport(*forMainWindow);
}

void DeviceEditor::SendEditorReport(EditorReport code) {
    QObject* target = MainWindowHandle.data();
    auto* receiver = dynamic_cast<EditorReportReceiver*>(target);
    if (receiver == nullptr)
        return;
    if (code != EditorReport::Closing) {
        receiver->OnEditorReport(code, this);
        return;
    }
    // Queued: the sender is guarded because it is usually freed soon after it closes. Should the
    // main window go first, Qt drops the call along with it.
    QPointer<DeviceEditor> sender(this);
    QMetaObject::invokeMethod(
        target, [receiver, sender, code] { receiver->OnEditorReport(code, sender.data()); },
        Qt::QueuedConnection);
}

void DeviceEditor::SetDefaults() {
    NotePendingChange();
    config_.SetDefaults();
    ShowConfig();
    NoteChange();
}

bool DeviceEditor::LoadFromReply() {
    return LoadReply(link_.Reply());
}

bool DeviceEditor::LoadReply(std::span<const std::uint8_t> reply) {
    NotePendingChange();
    if (!config_.LoadFromReply(reply).Taken())
        return false; // the main window says the reply was refused
    OnConfigReplaced();
    ShowConfig();
    NoteChange();
    MarkUnchanged();
    setWindowTitle(ReplyCaption(reply));
    SendEditorReport(EditorReport::Loaded);
    return true;
}

void DeviceEditor::WriteToDevice() {
    CommitEdit();
    NoteChange();
    writing_ = Changes().Shown();
    ConfigFrame frame;
    const bool started =
        StartEditorExchange(*this, link_, ExchangeMode::Write, [&](std::span<std::uint8_t> tx) {
            frame = config_.WriteFrame(tx);
            return frame.length;
        });
    if (started)
        return;
    if (frame.refusal.empty()) {
        SendEditorReport(EditorReport::NoLink);
        return;
    }
    Dialogs::message(this, FromUtf8(kWriteRefusedTitle), FromUtf8(frame.refusal),
                     MessageIcon::Error);
    OnWriteRefused();
    SendEditorReport(EditorReport::ConfigError);
}

void DeviceEditor::SaveToFile(const QString& fileName) {
    CommitEdit();
    NoteChange();
    ConfigFile file(DeviceType);
    for (std::span<const std::uint8_t> block : config_.FileBlocks())
        file.AddRecord(block);
    file.SaveTo(FilePath(fileName));
    MarkUnchanged();
}

void DeviceEditor::LoadFromFile(ConfigFile& reader) {
    NotePendingChange();
    // A block that is there but damaged throws, with nothing changed.
    if (!config_.LoadFromFile(reader))
        return;
    OnConfigReplaced();
    ShowConfig();
    NoteChange();
    MarkUnchanged();
}

void DeviceEditor::ShowConfig() {
    // A typed field that hides here loses the caret, and what it held is no longer the user's:
    // the record shown replaces it.
    const QScopedValueRollback showing(showingRecord_, true);
    RecordToControls();
    if (typing_ != nullptr && !typing_->control->hasFocus())
        typing_ = nullptr;
}

void DeviceEditor::CommitEdit() {
    // The field typed in last, even when the main window's disabling has taken its focus away;
    // one that keeps the caret stays the one typed in.
    if (const TypedField* field = typing_) {
        if (!field->control->hasFocus())
            typing_ = nullptr;
        if (const std::optional<std::string> error = StoreTyped(*field))
            throw std::runtime_error(*error);
    }
    CollectControls();
}

void DeviceEditor::AddTypedField(QWidget* control, TypedStore store,
                                 std::function<std::string()> shown) {
    typedFields_.push_back({control, std::move(store), std::move(shown)});
    control->installEventFilter(this);
    // An editable list's caret is in its line edit.
    if (auto* list = qobject_cast<QComboBox*>(control); list != nullptr && list->lineEdit())
        list->lineEdit()->installEventFilter(this);
}

void DeviceEditor::AddCorrectedField(
    QWidget* control, std::function<std::optional<std::string>(const std::string& text)> store) {
    AddTypedField(control, [store = std::move(store)](const std::string& text) {
        return TypedInput{store(text), std::nullopt};
    });
}

const DeviceEditor::TypedField* DeviceEditor::FieldOf(const QObject* watched) const {
    for (const TypedField& field : typedFields_) {
        const auto* list = qobject_cast<const QComboBox*>(field.control);
        if (field.control == watched || (list != nullptr && list->lineEdit() == watched))
            return &field;
    }
    return nullptr;
}

std::optional<std::string> DeviceEditor::StoreTyped(const TypedField& field) {
    const TypedInput input = field.store(TypedText(field.control));
    if (input.error) {
        if (field.shown)
            ShowTyped(field.control, QString::fromStdString(field.shown())); // the record kept it
        return input.error;
    }
    if (input.shownText)
        ShowTyped(field.control, QString::fromStdString(*input.shownText));
    return std::nullopt;
}

bool DeviceEditor::eventFilter(QObject* watched, QEvent* event) {
    const TypedField* field = FieldOf(watched);
    if (field != nullptr && event->type() == QEvent::FocusIn)
        typing_ = field;
    // Focus taken by disabling is no leaving: the commit of the write that disabled it decides.
    if (field != nullptr && !showingRecord_ && field->control->isEnabled() &&
        LeavesControl(*event)) {
        typing_ = nullptr;
        if (const std::optional<std::string> error = StoreTyped(*field))
            Dialogs::showError(this, QString::fromStdString(*error));
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tesmira::ui
