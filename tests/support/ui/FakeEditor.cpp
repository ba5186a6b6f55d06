#include "support/ui/FakeEditor.h"

#include "gui/EditorFactory.h"
#include "link/Frames.h"
#include "model/ConfigFile.h"

namespace tesmira::test {

ConfigLoad FakeConfig::LoadFromReply(std::span<const std::uint8_t> reply) {
    Bytes taken(record.size());
    if (!CopyReplyRecord(reply, taken))
        return {std::string(kReplyIncompleteText)};
    record = std::move(taken);
    return {};
}

bool FakeConfig::LoadFromFile(ConfigFile& reader) {
    Bytes taken(record.size());
    if (reader.ReadRecord(taken, taken.size()) == 0)
        return false;
    record = std::move(taken);
    return true;
}

FakeEditor::FakeEditor(LinkModule& link, Bytes defaultRecord, bool closingReport)
    : DeviceEditor(link, config_), config_(std::move(defaultRecord)), defaults(config_.defaults),
      record(config_.record), reportsClosing(closingReport) {}

void FakeEditor::SetDefaults() {
    ++setDefaultsCalls;
    DeviceEditor::SetDefaults();
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
