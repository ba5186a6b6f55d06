// Fuzzes the decoder of what the tap saw. The input is a script of events: a control byte, and for
// a chunk its bytes. 00LLLLLL: L bytes sent; 10LLLLLL: L bytes received; 01BBBBMM: an exchange of
// mode M with B firmware blocks starts; 11FFFRRR: it ends with report R (port failure F).
// Whatever the script, every byte fed comes out in exactly one row of its direction, in order.
#include "link/FailureHint.h"
#include "link/FrameDecoder.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using namespace tesmira;

void Collect(const std::vector<TraceRow>& rows, std::vector<std::uint8_t>& sent,
             std::vector<std::uint8_t>& received) {
    for (const TraceRow& row : rows) {
        if (row.kind == RowKind::Hint || row.kind == RowKind::Dropped) {
            if (!row.bytes.empty() || row.direction != LinkDirection::None)
                std::abort();
        } else {
            auto& to = row.direction == LinkDirection::ToDevice ? sent : received;
            if (row.bytes.empty() || row.direction == LinkDirection::None)
                std::abort();
            to.insert(to.end(), row.bytes.begin(), row.bytes.end());
        }
        volatile std::size_t sink = FormatTraceLine(row).size();
        (void)sink;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FrameDecoder decoder;
    std::vector<TraceRow> rows;
    std::vector<std::uint8_t> fedSent, fedReceived;
    std::uint64_t time = 0;
    for (std::size_t at = 0; at < size;) {
        const std::uint8_t control = data[at++];
        TapEvent event;
        event.timeMs = time += control & 7;
        switch (control >> 6) {
        case 0:
        case 2: {
            const std::size_t n = std::min<std::size_t>(control & 0x3F, size - at);
            event.kind = control >> 6 == 0 ? TapEventKind::Sent : TapEventKind::Received;
            event.bytes.assign(data + at, data + at + n);
            auto& fed = event.kind == TapEventKind::Sent ? fedSent : fedReceived;
            fed.insert(fed.end(), event.bytes.begin(), event.bytes.end());
            at += n;
            break;
        }
        case 1:
            event.kind = TapEventKind::ExchangeStarted;
            event.mode = static_cast<ExchangeMode>(control & 3);
            event.blocks = (control >> 2) & 0x0F;
            break;
        default:
            event.kind = TapEventKind::ExchangeEnded;
            event.report = static_cast<ExchangeReport>(control & 7);
            event.openFailure = static_cast<OpenFailure>(((control >> 3) & 7) % 4);
            break;
        }
        decoder.Feed(event, rows);
    }
    decoder.Finish(rows);
    std::vector<std::uint8_t> sent, received;
    Collect(rows, sent, received);
    if (sent != fedSent || received != fedReceived)
        std::abort();
    return 0;
}
