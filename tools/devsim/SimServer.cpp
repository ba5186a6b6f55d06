#include "SimServer.h"

#include <algorithm>
#include <ctime>
#include <thread>

namespace tesmira::devsim {

namespace {

constexpr int kPollMs = 10;

InputMode ModeAt(unsigned baud, bool& known) {
    known = baud == 9600 || baud == 115200;
    return baud == 115200 ? InputMode::Firmware : InputMode::Config;
}

std::string Timestamp() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm tm{};
    localtime_r(&t, &tm);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", tm.tm_hour, tm.tm_min, tm.tm_sec,
                  static_cast<int>(ms));
    return text;
}

} // namespace

Server::Server(Line& line, Device& device, Timing timing, std::FILE* log)
    : line_(line), device_(device), timing_(timing), log_(log) {}

void Server::Run(const std::atomic<bool>& stop) {
    while (!stop.load())
        Step(Clock::now());
}

void Server::Step(Clock::time_point now) {
    int wait = kPollMs;
    if (!out_.empty()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(out_.front().due - now);
        // A paced line may not take the next byte yet: no point waking before it does.
        const long long ready = std::max<long long>(left.count(), line_.WriteReadyInMs());
        wait = static_cast<int>(std::clamp<long long>(ready, 0, kPollMs));
    }
    Bytes in;
    const Line::Status status = line_.Read(in, wait);
    now = Clock::now();
    if (status == Line::Status::Closed) {
        if (open_)
            Log("--", {}, "line closed by the other end");
        open_ = false;
        EndSession();
        // The master reports the closed slave at once; sleep instead of spinning on it.
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
        return;
    }
    // Checked after the read: what it returned was sent in the new session.
    if (line_.Reopened()) {
        Log("--", {}, "line opened by the other end: a new session");
        EndSession();
    }
    open_ = true;
    std::vector<Piece> pieces;
    if (status == Line::Status::Data) {
        const unsigned baud = line_.Speed();
        bool known = false;
        const InputMode mode = ModeAt(baud, known);
        if (!known) {
            Log("RX", in, "ignored: line at " + std::to_string(baud) + " baud");
            assembler_.Reset();
        } else {
            pieces = assembler_.Feed(in, mode, now);
        }
    } else {
        pieces = assembler_.Expire(now);
    }
    for (const Piece& p : pieces)
        Handle(p, now);
    SendDue(Clock::now());
}

void Server::EndSession() {
    out_.clear();
    assembler_.Reset();
    device_.EndTransfer();
}

void Server::Handle(const Piece& piece, Clock::time_point now) {
    switch (piece.kind) {
    case Piece::Kind::Discarded:
        Log("RX", piece.bytes, "discarded: " + piece.why);
        return;
    case Piece::Kind::Frame: {
        std::string note;
        auto answer = device_.AnswerFrame(piece.bytes, note);
        Log("RX", piece.bytes,
            DescribeFrame(piece.bytes, Direction::Received) + (note.empty() ? "" : ", " + note));
        if (answer)
            Schedule(std::move(*answer), now);
        return;
    }
    case Piece::Kind::Block: {
        auto answer = device_.AnswerBlock(piece.bytes);
        Log("RX", std::span(piece.bytes).first(2),
            "firmware block of " + std::to_string(piece.bytes.size()) + " bytes" +
                (answer ? "" : ", not answered"));
        if (answer)
            Schedule(Bytes{*answer}, now);
        return;
    }
    }
}

void Server::Schedule(Bytes answer, Clock::time_point now) {
    const std::size_t pieces =
        std::min<std::size_t>(timing_.chunks, std::max<std::size_t>(answer.size(), 1));
    const std::size_t size = (answer.size() + pieces - 1) / pieces;
    auto due = now + timing_.delay;
    for (std::size_t from = 0; from < answer.size(); from += size, due += timing_.chunkPause) {
        const std::size_t to = std::min(answer.size(), from + size);
        out_.push_back({due, Bytes(answer.begin() + from, answer.begin() + to)});
    }
    std::string text =
        answer.size() == 1 ? "firmware answer" : DescribeFrame(answer, Direction::Sent);
    if (timing_.delay.count() > 0 || out_.size() > 1)
        text += ", due in " + std::to_string(timing_.delay.count()) + " ms, " +
                std::to_string(pieces) + " piece(s)";
    Log("TX", answer, text);
}

void Server::SendDue(Clock::time_point now) {
    while (!out_.empty() && out_.front().due <= now) {
        Bytes& bytes = out_.front().bytes;
        const std::size_t n = line_.Write(bytes);
        if (n < bytes.size()) {
            bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
            return; // the line is full; the rest goes on the next round
        }
        out_.pop_front();
    }
}

void Server::Log(const char* dir, std::span<const std::uint8_t> bytes, const std::string& text) {
    if (!log_)
        return;
    std::fprintf(log_, "%s %s %s | %s\n", Timestamp().c_str(), dir, Hex(bytes).c_str(),
                 text.c_str());
    std::fflush(log_);
}

} // namespace tesmira::devsim
