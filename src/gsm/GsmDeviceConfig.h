// The GSM communicator's configuration (type 32) as every type's is driven: the record, the
// tables and the caption block of GsmConfig, with its reply and write outcomes given as reasons.
#pragma once

#include "gsm/GsmConfig.h"
#include "model/DeviceConfig.h"

namespace tesmira {

inline constexpr std::string_view kGsmReplyCaptionsDamagedText =
    "Подписи в ответе прибора повреждены";

// The editor's fields: the record's controls, the phone, caption and event tables' cells.
FieldTable GsmFields(const GsmConfig& gsm);
// Changes one of those fields as its control does; a table's cell stays in the table.
FieldEdit SetGsmField(GsmConfig& gsm, std::string_view id, std::string_view value);

class GsmDeviceConfig final : public DeviceConfig {
public:
    GsmConfig gsm;

    std::uint8_t Type() const override { return GsmRecord::kType; }
    // The phone rows stay: the next Commit writes them into the record.
    void SetDefaults() override { gsm.SetDefaults(); }
    ConfigLoad LoadFromReply(std::span<const std::uint8_t> reply) override;
    // From what the last Commit left; refused above 2052 bytes (kGsmTooLargeText).
    ConfigFrame WriteFrame(std::span<std::uint8_t> tx) const override;
    // The record, then the caption block.
    std::vector<std::span<const std::uint8_t>> FileBlocks() const override;
    bool LoadFromFile(ConfigFile& reader) override { return gsm.LoadFromFile(reader); }
    FieldTable Fields() const override { return GsmFields(gsm); }
    // A table's cell stays in the table until a commit (CommittedImage), as in the window.
    FieldEdit SetField(std::string_view id, std::string_view value) override {
        return SetGsmField(gsm, id, value);
    }

    // The image once the tables are committed, with the tables left as they are: a commit sorts
    // the caption rows and drops the incomplete ones, which must not happen under the user's hands.
    std::vector<std::uint8_t> CommittedImage() const;
};

} // namespace tesmira
