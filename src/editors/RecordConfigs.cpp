#include "editors/RecordConfigs.h"

#include "link/Frames.h"
#include "model/ConfigFile.h"

namespace tesmira {

template <class Record>
ConfigLoad RecordConfig<Record>::LoadFromReply(std::span<const std::uint8_t> reply) {
    typename Record::Bytes bytes;
    if (!CopyReplyRecord(reply, bytes))
        return {std::string(kReplyIncompleteText)};
    record.Assign(bytes);
    return {};
}

template <class Record>
std::vector<std::span<const std::uint8_t>> RecordConfig<Record>::FileBlocks() const {
    return {record.bytes()};
}

template <class Record> bool RecordConfig<Record>::LoadFromFile(ConfigFile& reader) {
    typename Record::Bytes bytes;
    if (reader.ReadRecord(bytes, bytes.size()) == 0)
        return false;
    record.Assign(bytes);
    return true;
}

template class RecordConfig<TwoLoopRecord>;
template class RecordConfig<PanelRecord>;
template class RecordConfig<FiveZonePanelRecord>;
template class RecordConfig<RepeaterRecord34>;
template class RecordConfig<RepeaterRecord35>;

void TwoLoopConfig::SetDefaults() {
    record.Assign(TwoLoopRecord::Defaults(type_));
}

ConfigFrame TwoLoopConfig::WriteFrame(std::span<std::uint8_t> tx) const {
    return {record.WriteFrame(tx, type_), {}};
}

void PanelConfig::SetDefaults() {
    record.SetDefaults();
}

ConfigFrame PanelConfig::WriteFrame(std::span<std::uint8_t> tx) const {
    return {record.WriteFrame(tx), {}};
}

std::vector<std::span<const std::uint8_t>> PanelConfig::FileBlocks() const {
    return record.FileBlocks();
}

bool PanelConfig::LoadFromFile(ConfigFile& reader) {
    return record.LoadFromFile(reader);
}

void FiveZonePanelConfig::SetDefaults() {
    record.Assign(FiveZonePanelRecord::Defaults());
}

ConfigFrame FiveZonePanelConfig::WriteFrame(std::span<std::uint8_t> tx) const {
    return {record.WriteFrame(tx), {}};
}

} // namespace tesmira
