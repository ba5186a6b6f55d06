// The configurations of the types whose editors keep one record (26, 27, 30, 31, 33, 34, 35),
// each over its record class: what its reply, write frame and file hold.
#pragma once

#include "editors/FiveZonePanelRecord.h"
#include "editors/PanelRecord.h"
#include "editors/RecordFields.h"
#include "editors/RepeaterRecord34.h"
#include "editors/RepeaterRecord35.h"
#include "editors/TwoLoopRecord.h"
#include "model/DeviceConfig.h"

#include <cstdint>
#include <utility>

namespace tesmira {

// A configuration that is one record: the reply holds it right after its header, and the file
// holds it as its one block.
template <class Record> class RecordConfig : public DeviceConfig {
public:
    Record record;

    ConfigLoad LoadFromReply(std::span<const std::uint8_t> reply) override;
    std::vector<std::span<const std::uint8_t>> FileBlocks() const override;
    bool LoadFromFile(ConfigFile& reader) override;

protected:
    explicit RecordConfig(Record initial) : record(std::move(initial)) {}
};

// Types 26 and 27; the type picks the defaults.
class TwoLoopConfig final : public RecordConfig<TwoLoopRecord> {
public:
    explicit TwoLoopConfig(std::uint8_t type) : RecordConfig(TwoLoopRecord(type)), type_(type) {}
    std::uint8_t Type() const override { return type_; }
    void SetDefaults() override;
    ConfigFrame WriteFrame(std::span<std::uint8_t> tx) const override;
    FieldTable Fields() const override { return TwoLoopFields(record); }
    FieldEdit SetField(std::string_view id, std::string_view value) override {
        return SetTwoLoopField(record, id, value);
    }

private:
    std::uint8_t type_;
};

// Types 30 and 31; type 30's file may add the direction block, which a reset keeps.
class PanelConfig final : public RecordConfig<PanelRecord> {
public:
    explicit PanelConfig(std::uint8_t type) : RecordConfig(PanelRecord(type)) {}
    std::uint8_t Type() const override { return record.type(); }
    void SetDefaults() override;
    ConfigFrame WriteFrame(std::span<std::uint8_t> tx) const override;
    std::vector<std::span<const std::uint8_t>> FileBlocks() const override;
    bool LoadFromFile(ConfigFile& reader) override;
    FieldTable Fields() const override { return PanelFields(record); }
    FieldEdit SetField(std::string_view id, std::string_view value) override {
        return SetPanelField(record, id, value);
    }
};

class FiveZonePanelConfig final : public RecordConfig<FiveZonePanelRecord> {
public:
    FiveZonePanelConfig() : RecordConfig(FiveZonePanelRecord()) {}
    std::uint8_t Type() const override { return FiveZonePanelRecord::kType33; }
    void SetDefaults() override;
    ConfigFrame WriteFrame(std::span<std::uint8_t> tx) const override;
    FieldTable Fields() const override { return FiveZonePanelFields(record); }
    FieldEdit SetField(std::string_view id, std::string_view value) override {
        return SetFiveZonePanelField(record, id, value);
    }
};

// Types 34 and 35: one type per record class.
template <class Record> class RepeaterConfig final : public RecordConfig<Record> {
public:
    RepeaterConfig() : RecordConfig<Record>(Record()) {}
    std::uint8_t Type() const override { return Record::kType; }
    void SetDefaults() override { this->record.Assign(Record::Defaults()); }
    ConfigFrame WriteFrame(std::span<std::uint8_t> tx) const override {
        return {this->record.WriteFrame(tx, Record::kType), {}};
    }
    FieldTable Fields() const override { return RepeaterFields(this->record); }
    FieldEdit SetField(std::string_view id, std::string_view value) override {
        return SetRepeaterField(this->record, numberDialogs_, id, value);
    }

private:
    NumberDialogs numberDialogs_;
};

using RepeaterConfig34 = RepeaterConfig<RepeaterRecord34>;
using RepeaterConfig35 = RepeaterConfig<RepeaterRecord35>;

} // namespace tesmira
