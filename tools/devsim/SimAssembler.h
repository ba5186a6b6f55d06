// Cuts the byte stream from the line into configuration frames or firmware blocks.
#pragma once

#include "SimFrames.h"

#include <chrono>
#include <string>
#include <vector>

namespace tesmira::devsim {

using Clock = std::chrono::steady_clock;

// What the line carries: frames at the configuration speed, length-prefixed blocks at the
// firmware speed.
enum class InputMode { Config, Firmware };

struct Piece {
    enum class Kind { Frame, Block, Discarded };
    Kind kind;
    Bytes bytes;
    std::string why; // for Discarded: the reason, for the link monitor
};

class Assembler {
public:
    // A partial frame or block that sees no byte for longer than `pause` is thrown away, so a
    // broken transfer does not swallow the next request.
    explicit Assembler(std::chrono::milliseconds pause) : pause_(pause) {}

    // Appends bytes that arrived at `now` and returns every frame or block now complete, in order,
    // together with the runs of bytes that could not be part of one.
    std::vector<Piece> Feed(std::span<const std::uint8_t> bytes, InputMode mode,
                            Clock::time_point now);

    // Discards a partial frame that has waited longer than the pause; empty when nothing went.
    std::vector<Piece> Expire(Clock::time_point now);

    void Reset() { pending_.clear(); }
    std::size_t pending() const { return pending_.size(); }

private:
    void Cut(std::vector<Piece>& out);
    bool CutFrame(std::vector<Piece>& out);
    bool CutBlock(std::vector<Piece>& out);
    void Take(std::vector<Piece>& out, Piece::Kind kind, std::size_t count, std::string why);

    std::chrono::milliseconds pause_;
    InputMode mode_ = InputMode::Config;
    Bytes pending_;
    std::size_t head_ = 0; // bytes of pending_ already cut, dropped at the end of Cut
    Clock::time_point last_{};
};

} // namespace tesmira::devsim
