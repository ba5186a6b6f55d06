#include "gui/DeviceEditor.h"

#include "gui/EditHelpers.h"
#include "gui/EditorExchange.h"
#include "link/Frames.h"
#include "model/ConfigFile.h"
#include "model/DeviceCatalogue.h"

#include <QCloseEvent>
#include <QFile>
#include <QMdiSubWindow>
#include <QMetaObject>

#include <algorithm>

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

DeviceEditor::DeviceEditor(LinkModule& link, QWidget* parent) : QWidget(parent), link_(link) {
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

void DeviceEditor::StartWrite(
    const std::function<std::size_t(std::span<std::uint8_t> tx)>& writeFrame) {
    CommitEdit();
    if (!StartEditorExchange(*this, link_, ExchangeMode::Write, writeFrame))
        SendEditorReport(EditorReport::NoLink);
}

bool DeviceEditor::LoadFromReplyBytes(std::span<const std::uint8_t> reply,
                                      std::span<std::uint8_t> record) {
    if (!CopyReplyRecord(reply, record))
        return false;
    RecordToControls();
    setWindowTitle(ReplyCaption(reply));
    SendEditorReport(EditorReport::Loaded);
    return true;
}

void DeviceEditor::SaveRecordsToFile(
    const QString& fileName, std::initializer_list<std::span<const std::uint8_t>> records) const {
    SaveRecordsToFile(fileName, std::span(records.begin(), records.size()));
}

void DeviceEditor::SaveRecordsToFile(const QString& fileName,
                                     std::span<const std::span<const std::uint8_t>> records) const {
    ConfigFile file(DeviceType);
    for (std::span<const std::uint8_t> record : records)
        file.AddRecord(record);
    file.SaveTo(FilePath(fileName));
}

bool DeviceEditor::LoadRecordFromFile(ConfigFile& reader, std::span<std::uint8_t> record) {
    if (reader.ReadRecord(record, record.size()) == 0)
        return false;
    RecordToControls();
    return true;
}

} // namespace tesmira::ui
