// The simulated device: its record, its answers to configuration frames and firmware blocks, the
// GSM communicator's sound-file store, and the faults it is told to make.
#pragma once

#include "SimRecords.h"

#include <optional>
#include <string>
#include <utility>

namespace tesmira::devsim {

// Faults in the device's answers; timing faults (delay, split) belong to the line side.
struct Faults {
    bool silent = false;      // never answer
    bool badCrc = false;      // reply CRC inverted
    bool extraByte = false;   // one byte more than the length field says
    bool zeroLength = false;  // length field 0
    std::size_t truncate = 0; // reply cut by this many bytes at its end
    unsigned refuseBlock = 0; // firmware block number (from 1) answered with 0x22
    unsigned dropBlock = 0;   // firmware block number (from 1) left unanswered
};

inline constexpr std::uint8_t kBlockAccepted = 0x11;
inline constexpr std::uint8_t kBlockRefused = 0x22;

class Device {
public:
    Device(std::uint8_t type, std::uint8_t version, Faults faults = {});

    // The answer to one well-formed frame received at the configuration speed, faults applied;
    // nothing when a real device would stay silent. `note` says why, for the link monitor.
    std::optional<Bytes> AnswerFrame(std::span<const std::uint8_t> frame, std::string& note);

    // The answer byte to one firmware block (2-byte big-endian length and its bytes).
    std::optional<std::uint8_t> AnswerBlock(std::span<const std::uint8_t> block);

    // The next firmware block starts a new image (the line was closed, or configuration traffic).
    void EndTransfer() { transferDone_ = true; }

    // Replaces the record (and for type 32 the caption block); false when the sizes do not fit
    // this type, and then nothing changes.
    bool Load(Bytes record, Bytes captions, std::string& error);

    void AddFile(std::string name, Bytes content = {});

    std::uint8_t type() const { return type_; }
    const Bytes& record() const { return record_; }
    const Bytes& captions() const { return captions_; }
    const Bytes& firmware() const { return firmware_; }

private:
    std::optional<Bytes> AnswerShort(std::span<const std::uint8_t> f, std::string& note);
    std::optional<Bytes> AnswerLong(std::span<const std::uint8_t> f, std::string& note);
    std::optional<Bytes> WriteGsm(std::span<const std::uint8_t> f, std::string& note);
    std::optional<Bytes> FileCommand(std::span<const std::uint8_t> f, std::string& note);
    Bytes ReadReply() const;
    Bytes WriteAck() const;
    Bytes FileList(std::uint8_t sub) const;
    Bytes WithFaults(Bytes reply) const;

    std::uint8_t type_;
    std::uint8_t version_;
    Faults faults_;
    Bytes record_;
    Bytes captions_;
    std::vector<std::pair<std::string, Bytes>> files_;
    Bytes firmware_;
    unsigned blocks_ = 0; // blocks of the current transfer, the one being answered included
    bool transferDone_ = true;
};

} // namespace tesmira::devsim
