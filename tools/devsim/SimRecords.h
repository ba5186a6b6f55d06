// Factory records of the device types the simulator plays, and the frame form each type uses.
#pragma once

#include "SimFrames.h"

namespace tesmira::devsim {

enum class Form { Short, Long };

// Short frames for 26, 27, 30, 31, 33 and every type without a known layout; long for 32, 34, 35.
Form FormOf(std::uint8_t type);

// The record a device of `type` leaves the factory with; a short record of zeros for a type whose
// layout is unknown. For type 32 this is the 384-byte record without its caption block.
Bytes DefaultRecord(std::uint8_t type);

// Record size of a type with a known layout; 0 for the others (any size is taken).
std::size_t RecordSize(std::uint8_t type);

// The caption block a type 32 device starts with: no entries, format 1, length 4.
Bytes DefaultCaptions();

inline constexpr std::uint8_t kGsmType = 32;
inline constexpr std::size_t kGsmRecordSize = 384;
inline constexpr std::size_t kGsmHeaderInRecord =
    380; // record bytes 380..383 copy the block header
inline constexpr std::size_t kMinCaptionBlock = 4;
inline constexpr std::size_t kMaxWriteFrame32 = 2052;

} // namespace tesmira::devsim
