#include "cli/DeviceLink.h"

#include "app/DeviceConfigs.h"
#include "link/FailureHint.h"
#include "link/Frames.h"
#include "link/PortNames.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <ostream>
#include <thread>
#include <vector>

namespace tesmira::cli {

namespace {

using namespace std::chrono_literals;

// How often the waiting command prints the trace, shows the progress and looks for Ctrl+C.
constexpr auto kWaitStep = 50ms;

// Keeps the final report and the last progress for the command's thread.
class WaitingTarget : public ExchangeReportTarget {
public:
    void Report(ExchangeReport code, int arg, bool) override {
        std::lock_guard lock(mutex_);
        switch (code) {
        case ExchangeReport::PortOpened:
        case ExchangeReport::ReplyStarted:
            return;
        case ExchangeReport::FirmwareProgress:
            percent_ = arg;
            if (arg < 100)
                return;
            break;
        default:
            break;
        }
        end_ = ExchangeEnd{code, arg, false};
        changed_.notify_all();
    }

    // The final report, once it has come within `limit`.
    std::optional<ExchangeEnd> Wait(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, limit, [&] { return end_.has_value(); });
        return end_;
    }

    int percent() {
        std::lock_guard lock(mutex_);
        return percent_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<ExchangeEnd> end_;
    int percent_ = 0;
};

} // namespace

DeviceLink::DeviceLink(const DeviceLine& line, CommandContext& context)
    : context_(context), trace_(line.trace), module_(timer_) {
    const std::string path = PortPathForName(line.port);
    if (path.empty())
        throw CommandFailure(ExitStatus::BadUsage, "Порт не найден: " + line.port);
    module_.port.SetPortName(path);
    module_.tap.Listen(trace_);
}

DeviceLink::~DeviceLink() {
    module_.StopExchange();
    module_.port.Disconnect();
}

ExchangeEnd DeviceLink::Run(ExchangeMode mode, int length, const Progress& onProgress,
                            bool interruptible) {
    std::optional<InterruptWatch> watch;
    if (interruptible)
        watch.emplace();
    auto target = std::make_shared<WaitingTarget>();
    decoder_ = FrameDecoder();
    haveBlock_ = false;
    if (!module_.StartExchange(mode, target, length)) // one command, one exchange at a time
        return ExchangeEnd{};
    std::optional<ExchangeEnd> end;
    while (!(end = target->Wait(kWaitStep))) {
        DrainTap(false);
        if (onProgress)
            onProgress(target->percent(), LastBlock());
        if (interruptible && InterruptWatch::Requested()) {
            // The device keeps the blocks it has; the next update starts from the first again.
            module_.StopExchange();
            end = ExchangeEnd{ExchangeReport::NoValidReply, 0, true};
            break;
        }
    }
    // The final report is made before the port closes; the trace ends with the close.
    while (module_.ExchangeRunning())
        std::this_thread::sleep_for(1ms);
    DrainTap(true);
    return *end;
}

void DeviceLink::SendFrame(ExchangeMode mode, std::size_t length, ExchangeReport success) {
    const ExchangeEnd end = Run(mode, static_cast<int>(length));
    if (end.code == success)
        return;
    if (end.code == ExchangeReport::PortFailed)
        throw PortFailure(mode);
    throw Failure(ExitStatus::NoAnswer, "Нет связи с прибором", mode, ExchangeReport::NoValidReply);
}

void DeviceLink::DrainTap(bool end) {
    if (!module_.tap.Listening())
        return;
    std::vector<TraceRow> rows;
    decoder_.Feed(module_.tap.Take(), rows);
    if (end)
        decoder_.Finish(rows);
    for (const TraceRow& row : rows) {
        if (row.kind == RowKind::FirmwareBlock) {
            lastBlock_ = row;
            haveBlock_ = true;
        }
        if (trace_)
            context_.err << FormatTraceLine(row) << "\n";
    }
    context_.err.flush();
}

CommandFailure DeviceLink::Failure(ExitStatus status, const std::string& text, ExchangeMode mode,
                                   ExchangeReport report) const {
    FailureFacts facts;
    facts.mode = mode;
    facts.report = report;
    facts.openFailure = module_.port.LastOpenFailure();
    facts.answer = module_.Reply();
    if (haveBlock_) {
        facts.block = lastBlock_.block;
        facts.blocks = lastBlock_.blocks;
    }
    std::string message = text;
    if (report == ExchangeReport::PortFailed)
        message += PortAccessNote(facts.openFailure);
    if (const std::string hint = FailureHint(facts); !hint.empty())
        message += "\n" + hint;
    return CommandFailure(status, message);
}

CommandFailure DeviceLink::PortFailure(ExchangeMode mode) const {
    return Failure(ExitStatus::PortUnavailable, "Невозможно открыть порт", mode,
                   ExchangeReport::PortFailed);
}

DeviceRead ReadDeviceOn(DeviceLink& link) {
    const ExchangeEnd end = link.Run(ExchangeMode::Read);
    switch (end.code) {
    case ExchangeReport::Identified:
        break;
    case ExchangeReport::PortFailed:
        throw link.PortFailure(ExchangeMode::Read);
    case ExchangeReport::Unsupported:
        throw link.Failure(ExitStatus::NoAnswer,
                           "Прибор не поддерживается.\nПопробуйте обновить программатор",
                           ExchangeMode::Read, end.code);
    default:
        throw link.Failure(ExitStatus::NoAnswer, "Нет связи, проверьте соединения или номер порта",
                           ExchangeMode::Read, ExchangeReport::NoValidReply);
    }
    DeviceRead read;
    const std::span<const std::uint8_t> reply = link.Reply();
    read.reply.assign(reply.begin(), reply.end());
    read.config = MakeDeviceConfig(ReplyDeviceType(read.reply));
    // A valid frame too short for the type's record: nothing of it is taken.
    if (read.config != nullptr && !read.config->LoadFromReply(read.reply).Taken())
        throw CommandFailure(ExitStatus::NoAnswer, "Неполный ответ прибора, данные не считаны");
    return read;
}

DeviceRead ReadDevice(const DeviceLine& line, CommandContext& context) {
    DeviceLink link(line, context);
    return ReadDeviceOn(link);
}

} // namespace tesmira::cli
