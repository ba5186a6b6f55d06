// The commands that send more than a configuration: the firmware update and the GSM
// communicator's sound files.
#include "cli/DeviceCommands.h"
#include "cli/DeviceLink.h"
#include "firmware/FirmwareImage.h"
#include "firmware/UpdateState.h"
#include "gsm/SoundFiles.h"
#include "link/Frames.h"
#include "model/ConfigFile.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <memory>
#include <ostream>
#include <vector>

namespace tesmira::cli {

namespace {

struct FlashOptions {
    DeviceLine line;
    std::string image;
};

// Why a file gives no image to send, in the firmware window's words.
std::string ImageRefusal(ImageError error) {
    switch (error) {
    case ImageError::TooLarge:
        return "Файл прошивки слишком велик";
    case ImageError::BlockPastEnd:
    case ImageError::Empty:
        return "Файл прошивки поврежден";
    default: // a file that cannot be read, or text that is not digit pairs
        return "Файл не найден";
    }
}

// "\rОбновление прошивки: 45% (блок 12 из 27)" on a terminal's stderr, each change once.
class ProgressLine {
public:
    explicit ProgressLine(CommandContext& context) : context_(context) {}

    void Show(int percent, const TraceRow* block) {
        std::string text = "Обновление прошивки: " + std::to_string(percent) + "%";
        if (block != nullptr)
            text += " (блок " + std::to_string(block->block) +
                    (block->blocks ? " из " + std::to_string(block->blocks) : "") + ")";
        if (text == shown_)
            return;
        context_.err << "\r" << text << "\x1b[K";
        context_.err.flush();
        shown_ = text;
    }
    // Ends the line, so that the result stands on a line of its own.
    void End() {
        if (!shown_.empty())
            context_.err << "\n";
        shown_.clear();
    }

private:
    CommandContext& context_;
    std::string shown_;
};

ExitStatus RunFlash(const FlashOptions& options, CommandContext& context) {
    DeviceLink link(options.line, context);
    // Loaded aside first: a refused file leaves nothing to send.
    std::vector<std::uint8_t> image(link.TransmitBuffer().size());
    const ImageResult loaded = LoadFirmwareImage(options.image, image);
    if (!loaded.ok())
        throw CommandFailure(ExitStatus::BadUsage, ImageRefusal(loaded.error));
    std::copy_n(image.begin(), loaded.length, link.TransmitBuffer().begin());

    link.WatchBlocks(); // the failure names the block, the progress counts them
    ProgressLine progress(context);
    DeviceLink::Progress onProgress;
    // A trace names every block already, on lines of its own.
    const bool showProgress = context.errIsTerminal && !options.line.trace;
    if (showProgress)
        onProgress = [&](int percent, const TraceRow* block) {
            progress.Show(percent, block);
        };
    FirmwareUpdateState state;
    state.Start();
    const ExchangeEnd end =
        link.Run(ExchangeMode::Firmware, static_cast<int>(loaded.length), onProgress, true);
    if (showProgress && end.code == ExchangeReport::FirmwareProgress)
        progress.Show(FirmwareUpdateState::kDone, link.LastBlock());
    progress.End();
    if (end.interrupted)
        throw CommandFailure(kInterrupted, "Обновление прошивки прервано");
    switch (state.Report(end.code, end.arg)) {
    case UpdateOutcome::Updated:
        context.out << "Прошивка обновлена\n";
        return ExitStatus::Done;
    case UpdateOutcome::PortFailed:
        throw link.PortFailure(ExchangeMode::Firmware);
    default: {
        const std::span<const std::uint8_t> answer = link.Reply();
        const bool refused = !answer.empty() && answer[0] == kFirmwareBlockRefused;
        throw link.Failure(refused ? ExitStatus::DeviceRefused : ExitStatus::NoAnswer,
                           "Устройство не отвечает", ExchangeMode::Firmware,
                           ExchangeReport::NoValidReply);
    }
    }
}

struct FilesOptions {
    DeviceLine line;
    std::string upload;
    std::string name;
    bool json = false;
};

using FrameWriter = std::function<SoundFileFrame(std::span<std::uint8_t> tx)>;

// Runs one file command and prints the device's file list it is answered with.
ExitStatus RunFileCommand(const FilesOptions& options, CommandContext& context,
                          const FrameWriter& writeFrame, const std::string& done) {
    DeviceLink link(options.line, context);
    SoundFileFrame frame;
    try {
        frame = writeFrame(link.TransmitBuffer());
    } catch (const ConfigFileError& e) {
        throw CommandFailure(ExitStatus::BadUsage, e.what());
    }
    if (frame.length == 0)
        throw CommandFailure(ExitStatus::DeviceRefused,
                             std::string(frame.title) + ": " + TerminalText(frame.refusal));
    link.SendFrame(ExchangeMode::FileCommand, frame.length, ExchangeReport::FileCommandDone);
    const std::vector<std::string> names = ParseFileList(link.Reply());
    if (options.json) {
        context.out << nlohmann::json(names).dump(2) << "\n";
        return ExitStatus::Done;
    }
    if (!done.empty())
        context.out << done << "\n";
    for (const std::string& name : names)
        context.out << name << "\n";
    return ExitStatus::Done;
}

} // namespace

void AddFlashCommand(CLI::App& app, CommandContext& context) {
    auto options = std::make_shared<FlashOptions>();
    CLI::App* command = app.add_subcommand(
        "flash", "Обновить прошивку прибора из файла (*.enc); ход обновления в stderr");
    AddDeviceOptions(*command, options->line);
    command->add_option("image", options->image, "Файл прошивки (*.enc)")->required();
    command->callback([&context, options] {
        context.run = [&context, options] {
            return RunFlash(*options, context);
        };
    });
}

void AddFilesCommand(CLI::App& app, CommandContext& context) {
    auto options = std::make_shared<FilesOptions>();
    CLI::App* files = app.add_subcommand("files", "Звуковые файлы GSM-коммуникатора");
    files->require_subcommand(1);
    AddDeviceOptions(*files, options->line);

    CLI::App* list = files->add_subcommand("list", "Файлы прибора");
    list->add_flag("--json", options->json, "Один документ JSON");
    CLI::App* upload = files->add_subcommand("upload", "Загрузить файл (*.amr) в прибор");
    upload->add_option("file", options->upload, "Звуковой файл")->required();
    CLI::App* remove = files->add_subcommand("delete", "Удалить файл из прибора");
    remove->add_option("name", options->name, "Имя файла в приборе")->required();
    for (CLI::App* command : {list, upload, remove})
        command->fallthrough(); // -p and --trace may follow the command's own arguments

    list->callback([&context, options] {
        context.run = [&context, options] {
            return RunFileCommand(*options, context,
                                  [](std::span<std::uint8_t> tx) {
                                      return SoundFileFrame{WriteListFilesFrame(tx), {}, {}};
                                  },
                                  {});
        };
    });
    upload->callback([&context, options] {
        context.run = [&context, options] {
            const std::filesystem::path path = options->upload;
            return RunFileCommand(
                *options, context,
                [&](std::span<std::uint8_t> tx) { return WriteUploadFrameFromFile(tx, path); },
                "Файл загружен: " + PathText(path.filename()));
        };
    });
    remove->callback([&context, options] {
        context.run = [&context, options] {
            return RunFileCommand(
                *options, context,
                [&](std::span<std::uint8_t> tx) { return WriteDeleteFrame(tx, options->name); },
                "Файл удален: " + options->name);
        };
    });
}

} // namespace tesmira::cli
