// How an editor starts an exchange of its own (a write, a file command): its frame goes into the
// link's transmit buffer and the exchange reports to the editor's OnExchangeReport.
#pragma once

#include "link/Exchange.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

namespace tesmira {
class LinkModule;
}

namespace tesmira::ui {

class DeviceEditor;

// What the user is told when another exchange holds the link.
inline constexpr std::string_view kLinkBusyText = "Идет обмен с прибором, повторите позже";

// Writes a frame from tx[0] and returns its length; 0 when it cannot.
using FrameWriter = std::function<std::size_t(std::span<std::uint8_t> tx)>;

// Builds the frame in the link's transmit buffer and starts the exchange with `editor` as
// report target. Returns false when another exchange still holds the link (the transmit buffer is
// then left alone, as that exchange may be sending from it), when the frame cannot be built, or
// when the exchange does not start; the caller reports the failure.
bool StartEditorExchange(DeviceEditor& editor, LinkModule& link, ExchangeMode mode,
                         const FrameWriter& writeFrame);

} // namespace tesmira::ui
