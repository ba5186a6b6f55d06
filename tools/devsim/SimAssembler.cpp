#include "SimAssembler.h"

#include <algorithm>

namespace tesmira::devsim {

std::vector<Piece> Assembler::Feed(std::span<const std::uint8_t> bytes, InputMode mode,
                                   Clock::time_point now) {
    std::vector<Piece> out = Expire(now);
    if (mode != mode_ && !pending_.empty())
        Take(out, Piece::Kind::Discarded, pending_.size(), "line speed changed");
    mode_ = mode;
    last_ = now;
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    Cut(out);
    return out;
}

std::vector<Piece> Assembler::Expire(Clock::time_point now) {
    std::vector<Piece> out;
    if (!pending_.empty() && now - last_ > pause_)
        Take(out, Piece::Kind::Discarded, pending_.size(), "partial, then a pause");
    return out;
}

// Moves `count` bytes from the head of the pending ones into a piece. Bytes are only marked as
// taken here; Cut drops them in one go, so a long run of garbage costs linear time.
void Assembler::Take(std::vector<Piece>& out, Piece::Kind kind, std::size_t count,
                     std::string why) {
    auto from = pending_.begin() + static_cast<std::ptrdiff_t>(head_);
    auto to = from + static_cast<std::ptrdiff_t>(count);
    if (kind == Piece::Kind::Discarded && !out.empty() && out.back().kind == kind &&
        out.back().why == why)
        out.back().bytes.insert(out.back().bytes.end(), from, to); // one line per run, not per byte
    else
        out.push_back({kind, Bytes(from, to), std::move(why)});
    head_ += count;
    if (head_ == pending_.size()) {
        pending_.clear();
        head_ = 0;
    }
}

void Assembler::Cut(std::vector<Piece>& out) {
    while (head_ < pending_.size()) {
        const bool progressed = mode_ == InputMode::Config ? CutFrame(out) : CutBlock(out);
        if (!progressed)
            break;
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(head_));
    head_ = 0;
}

// Returns false when the pending bytes are the start of a frame that is not complete yet.
bool Assembler::CutFrame(std::vector<Piece>& out) {
    const std::span<const std::uint8_t> rest = std::span(pending_).subspan(head_);
    const std::uint8_t start = rest[0];
    if (start != kShortStart && start != kLongStart) {
        auto next = std::find_if(rest.begin(), rest.end(), [](std::uint8_t b) {
            return b == kShortStart || b == kLongStart;
        });
        Take(out, Piece::Kind::Discarded, static_cast<std::size_t>(next - rest.begin()),
             "no start byte");
        return true;
    }
    const std::size_t fieldEnd = start == kShortStart ? 2 : 4;
    if (rest.size() < fieldEnd)
        return false;
    const std::size_t n = start == kShortStart ? rest[1] : (rest[2] << 8 | rest[3]);
    if (n < kMinFrameLength) {
        Take(out, Piece::Kind::Discarded, 1, "length field too small");
        return true;
    }
    if (rest.size() < n)
        return false;
    if (!CrcMatches(rest.first(n))) {
        Take(out, Piece::Kind::Discarded, n, "CRC mismatch");
        return true;
    }
    Take(out, Piece::Kind::Frame, n, {});
    return true;
}

bool Assembler::CutBlock(std::vector<Piece>& out) {
    const std::span<const std::uint8_t> rest = std::span(pending_).subspan(head_);
    if (rest.size() < 2)
        return false;
    const std::size_t n = 2 + (rest[0] << 8 | rest[1]);
    if (rest.size() < n)
        return false;
    Take(out, Piece::Kind::Block, n, {});
    return true;
}

} // namespace tesmira::devsim
