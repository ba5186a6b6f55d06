#include "support/ui/FakeEditor.h"

#include "model/ConfigFile.h"
#include "model/ui/DeviceFactory.h"

namespace tesmira::test {

FakeEditor::FakeEditor(Bytes defaultRecord, bool closingReport)
    : defaults(std::move(defaultRecord)), record(defaults), reportsClosing(closingReport) {}

void FakeEditor::SetDefaults() {
    ++setDefaultsCalls;
    record = defaults;
    RecordToControls();
}

bool FakeEditor::LoadFromReply() {
    return LoadFromReplyBytes(reply, record);
}

void FakeEditor::SaveToFile(const QString& fileName) {
    CommitEdit();
    SaveRecordsToFile(fileName, {record});
}

void FakeEditor::LoadFromFile(ConfigFile& reader) {
    LoadRecordFromFile(reader, record);
}

void FakeEditor::RecordToControls() {
    ++recordToControlsCalls;
    shown = record;
}

void FakeEditor::FormClose() {
    if (onFormClose)
        onFormClose();
    if (reportsClosing)
        SendDeviceReport(ui::DeviceReport::Closing);
}

void RecordingReceiver::GetDevice_MSG(ui::DeviceReport code, ui::TDeviceForm* sender) {
    const bool forgot = code == ui::DeviceReport::Closing && ui::ForgetEditor(sender);
    reports.append({code, sender, forgot});
}

} // namespace tesmira::test
