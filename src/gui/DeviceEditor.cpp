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
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMetaObject>
#include <QScopedValueRollback>

#include <stdexcept>

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

DeviceEditor::DeviceEditor(LinkModule& link, DeviceConfig& config, QWidget* parent)
    : QWidget(parent), link_(link), config_(config) {
    setAttribute(Qt::WA_DeleteOnClose);
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
    config_.SetDefaults();
    ShowConfig();
}

bool DeviceEditor::LoadFromReply() {
    return LoadReply(link_.Reply());
}

bool DeviceEditor::LoadReply(std::span<const std::uint8_t> reply) {
    if (!config_.LoadFromReply(reply).Taken())
        return false; // the main window says the reply was refused
    OnConfigReplaced();
    ShowConfig();
    setWindowTitle(ReplyCaption(reply));
    SendEditorReport(EditorReport::Loaded);
    return true;
}

void DeviceEditor::WriteToDevice() {
    CommitEdit();
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
    ConfigFile file(DeviceType);
    for (std::span<const std::uint8_t> block : config_.FileBlocks())
        file.AddRecord(block);
    file.SaveTo(FilePath(fileName));
}

void DeviceEditor::LoadFromFile(ConfigFile& reader) {
    // A block that is there but damaged throws, with nothing changed.
    if (!config_.LoadFromFile(reader))
        return;
    OnConfigReplaced();
    ShowConfig();
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
