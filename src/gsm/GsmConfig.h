// Everything the type 32 editor keeps: the record, the rows of its phone, event and caption
// tables and the caption block; the steps of the editor's operations on them.
#pragma once

#include "gsm/CaptionBlock.h"
#include "gsm/EventSelection.h"
#include "gsm/GsmRecord.h"
#include "gsm/PhoneTable.h"
#include "model/DeviceConfig.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace tesmira {

class ConfigFile;

// The write frame is the record's first 380 bytes and the caption block behind 6 header bytes;
// the device takes no frame longer than this.
inline constexpr std::size_t kGsmWriteFrameMax = 2052;
inline constexpr std::size_t kGsmReplyRecordAt = 6;
inline constexpr std::size_t kGsmReplyCaptionsAt = 386; // over the record's header copy

inline constexpr std::string_view kGsmTooLargeText =
    "Превышен допустимый размер конфигурации.\r\nУменьшите количество данных в подписях.";
inline constexpr std::string_view kGsmTooLargeTitle = kWriteRefusedTitle;
inline constexpr int kGsmCaptionPage = 1; // the tab a refused write switches to

enum class GsmReplyOutcome {
    Loaded,
    RecordIncomplete,   // the frame ends before the record does
    CaptionsTooShort,   // the length in record bytes 382..383 is below the block's header
    CaptionsPastBuffer, // ... above the 2048 bytes a block may have
    CaptionsPastReply,  // ... beyond the bytes received
};

struct GsmWriteFrame {
    std::size_t length = 0; // 0: nothing was written
    bool tooLarge = false;  // refused: kGsmTooLargeText
};

class GsmConfig {
public:
    GsmRecord record;
    PhoneRows phones;      // the phone grid's rows, in displayed order
    EventSelection events; // the event selection and the group shown
    CaptionTable captions; // the caption grid's rows and the caption block

    GsmConfig() { SetDefaults(); }

    // The template with every event selected, no captions. The phone rows stay: the next Commit
    // writes them into the record.
    void SetDefaults();

    // Takes the record and the caption block out of the reply that was received (from its first
    // byte, the received count long). Only Loaded changes anything.
    GsmReplyOutcome LoadFromReply(std::span<const std::uint8_t> reply);

    // Reads the 384-byte record and the caption block. False, and nothing changes, when the first
    // section is not 384 bytes long. Throws ConfigFileError(kFileDamagedText), and nothing changes,
    // when the caption section is missing, shorter than 4 or longer than 2048 bytes, or its header
    // gives another length.
    bool LoadFromFile(ConfigFile& reader);

    // The tables into the record and the caption block; the caption rows then show the block
    // (sorted, without incomplete rows).
    void Commit();

    // The write frame from tx[0], from what the last Commit left: 14 00 N(hi) N(lo) 20, byte 5
    // as tx held it, record bytes 0..379, the caption block, CRC-8. Refused, and tx untouched,
    // above 2052 bytes.
    GsmWriteFrame WriteFrame(std::span<std::uint8_t> tx) const;
};

} // namespace tesmira
