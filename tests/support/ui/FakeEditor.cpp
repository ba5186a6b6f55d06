#include "support/ui/FakeEditor.h"

#include "gui/EditorFactory.h"
#include "model/ConfigFile.h"

namespace tesmira::test {

FakeEditor::FakeEditor(LinkModule& link, Bytes defaultRecord, bool closingReport)
    : DeviceEditor(link), defaults(std::move(defaultRecord)), record(defaults),
      reportsClosing(closingReport) {}

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

void FakeEditor::OnClosing() {
    if (whenClosing)
        whenClosing();
    if (reportsClosing)
        SendEditorReport(ui::EditorReport::Closing);
}

void RecordingReceiver::OnEditorReport(ui::EditorReport code, ui::DeviceEditor* sender) {
    const bool forgot =
        code == ui::EditorReport::Closing && factory_ != nullptr && factory_->Forget(sender);
    reports.append({code, sender, forgot});
}

} // namespace tesmira::test
