// The serve loop: reads the line, cuts frames, lets the device answer, sends the answers on time.
#pragma once

#include "SimAssembler.h"
#include "SimDevice.h"
#include "SimLine.h"

#include <atomic>
#include <cstdio>
#include <deque>

namespace tesmira::devsim {

struct Timing {
    std::chrono::milliseconds delay{0};      // from a complete request to the first answer byte
    unsigned chunks = 1;                     // pieces the answer is sent in
    std::chrono::milliseconds chunkPause{0}; // between two pieces
};

inline constexpr std::chrono::milliseconds kPartialFramePause{500};

class Server {
public:
    // `log` is the link monitor's stream, or null for none.
    Server(Line& line, Device& device, Timing timing, std::FILE* log);

    // Serves until `stop` is set.
    void Run(const std::atomic<bool>& stop);

private:
    void Step(Clock::time_point now);
    // Nothing of a session (a partial frame, answers not sent yet, a firmware transfer under
    // way) carries over into the next one.
    void EndSession();
    void Handle(const Piece& piece, Clock::time_point now);
    void Schedule(Bytes answer, Clock::time_point now);
    void SendDue(Clock::time_point now);
    void Log(const char* dir, std::span<const std::uint8_t> bytes, const std::string& text);

    struct Chunk {
        Clock::time_point due;
        Bytes bytes;
    };

    Line& line_;
    Device& device_;
    Timing timing_;
    std::FILE* log_;
    Assembler assembler_{kPartialFramePause};
    std::deque<Chunk> out_;
    bool open_ = false; // the other end was seen holding the line open
};

} // namespace tesmira::devsim
