// The commands on a device: ports, read and write; flash and files are in DeviceTransfers.cpp.
#include "cli/DeviceCommands.h"

#include "app/DeviceBackups.h"
#include "app/PortDiscovery.h"
#include "cli/DeviceLink.h"
#include "link/Frames.h"
#include "model/ConfigFile.h"
#include "model/DeviceCatalogue.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <ctime>
#include <memory>
#include <ostream>
#include <stdexcept>

namespace tesmira::cli {

namespace {

void AddPortsCommand(CLI::App& app, CommandContext& context) {
    auto json = std::make_shared<bool>(false);
    CLI::App* command = app.add_subcommand(
        "ports", "Последовательные порты; порты приборов отмечены, как в окне настроек");
    command->add_flag("--json", *json, "Один документ JSON");
    command->callback([&context, json] {
        context.run = [&context, json] {
            const std::vector<PortListItem> ports = DiscoverPorts();
            if (*json) {
                nlohmann::json list = nlohmann::json::array();
                for (const PortListItem& port : ports)
                    list.push_back({{"port", port.caption}, {"marked", port.marked}});
                context.out << list.dump(2) << "\n";
                return ExitStatus::Done;
            }
            for (const PortListItem& port : ports)
                context.out << port.caption << (port.marked ? "\tприбор" : "") << "\n";
            return ExitStatus::Done;
        };
    });
}

std::string DeviceText(std::span<const std::uint8_t> reply) {
    const BackupDevice device = BackupDeviceOf(reply);
    return device.name + ", версия " + std::to_string(device.version);
}

struct ReadOptions {
    DeviceLine line;
    std::string output;
    bool json = false;
};

ExitStatus RunRead(const ReadOptions& options, CommandContext& context) {
    const DeviceRead read = ReadDevice(options.line, context);
    if (read.config == nullptr)
        throw CommandFailure(ExitStatus::NoAnswer,
                             "Подключенный прибор:\n" +
                                 DeviceTypeName(ReplyDeviceType(read.reply)) +
                                 ",\nданным программатором не поддерживается");
    if (options.output.empty() || options.json)
        PrintFields(context, *read.config, options.json, false);
    if (options.output.empty())
        return ExitStatus::Done;
    try {
        SaveFileAtomically(options.output, read.config->Image());
    } catch (const ConfigFileError& e) {
        throw CommandFailure(ExitStatus::BadUsage, e.what());
    }
    if (!options.json)
        context.out << "Данные прибора считаны: " << DeviceText(read.reply) << "\n"
                    << "Файл сохранен: " << options.output << "\n";
    return ExitStatus::Done;
}

void AddReadCommand(CLI::App& app, CommandContext& context) {
    auto options = std::make_shared<ReadOptions>();
    CLI::App* command =
        app.add_subcommand("read", "Опознать и считать прибор; без -o вывести его поля");
    AddDeviceOptions(*command, options->line);
    command->add_option("-o,--output", options->output, "Сохранить в файл конфигурации (*.bcf)");
    command->add_flag("--json", options->json, "Поля одним документом JSON");
    command->callback([&context, options] {
        context.run = [&context, options] {
            return RunRead(*options, context);
        };
    });
}

struct WriteOptions {
    DeviceLine line;
    std::string file;
    bool yes = false;
};

// Keeps what the device held before the write, as the window does; without the copy the write
// goes on only when the user said so.
void KeepBefore(const std::filesystem::path& folder, const DeviceRead& read,
                const WriteOptions& options, CommandContext& context) {
    try {
        if (folder.empty()) // no home folder: not the working folder instead
            throw std::runtime_error("Папка резервных копий не найдена");
        const std::filesystem::path kept =
            KeepReplyBackup(folder, LocalBackupTime(std::time(nullptr)), read.reply);
        context.out << "Копия до записи: " << PathText(kept) << "\n";
    } catch (const std::exception& e) {
        const std::string text =
            "Не удалось сохранить копию конфигурации прибора:\n" + TerminalText(e.what());
        if (!options.yes)
            throw CommandFailure(ExitStatus::BadUsage,
                                 text + "\nЗапись отменена (--yes: записать без неё)");
        context.err << text << "\nЗапись без копии\n";
    }
}

ExitStatus RunWrite(const WriteOptions& options, CommandContext& context) {
    const std::unique_ptr<DeviceConfig> config = OpenConfigFile(options.file);
    DeviceLink link(options.line, context);
    const DeviceRead read = ReadDeviceOn(link);
    const std::uint8_t type = ReplyDeviceType(read.reply);
    context.out << "Прибор: " << DeviceText(read.reply) << "\n";
    if (type != config->Type() && !options.yes)
        throw CommandFailure(ExitStatus::DeviceRefused,
                             "Подключен прибор другого типа:\n" + DeviceTypeName(type) +
                                 "\nВ файле конфигурация прибора " +
                                 DeviceTypeName(config->Type()) +
                                 ".\nЗапись отменена (--yes: записать всё равно)");
    const std::filesystem::path folder =
        context.backupsFolder.empty() ? DefaultBackupsFolder() : context.backupsFolder;
    KeepBefore(folder, read, options, context);

    std::vector<std::uint8_t> image;
    try {
        image = config->Image();
    } catch (const std::exception&) {
        // A configuration too large for a file cannot be written either; the frame says why.
    }
    const ConfigFrame frame = config->WriteFrame(link.TransmitBuffer());
    if (frame.length == 0)
        throw CommandFailure(ExitStatus::DeviceRefused,
                             frame.refusal.empty() ? std::string("Ошибка конфигурации")
                                                   : std::string(kWriteRefusedTitle) + ": " +
                                                         TerminalText(frame.refusal));
    link.SendFrame(ExchangeMode::Write, frame.length, ExchangeReport::Written);
    std::filesystem::path kept;
    try {
        if (!folder.empty() && !image.empty())
            kept = KeepWrittenBackup(folder, LocalBackupTime(std::time(nullptr)),
                                     BackupDeviceOf(read.reply), image);
    } catch (const std::exception&) {
        // The device has what the file holds; only the copy of it is missing.
    }
    if (kept.empty())
        context.out << "Данные записаны, копия записанного не сохранена\n";
    else
        context.out << "Данные записаны\nКопия записанного: " << PathText(kept) << "\n";
    return ExitStatus::Done;
}

void AddWriteCommand(CLI::App& app, CommandContext& context) {
    auto options = std::make_shared<WriteOptions>();
    CLI::App* command = app.add_subcommand(
        "write", "Считать прибор (проверка типа, копия), затем записать в него файл");
    AddDeviceOptions(*command, options->line);
    command->add_option("file", options->file, "Файл конфигурации (*.bcf)")->required();
    command->add_flag("-y,--yes", options->yes,
                      "Записать и в прибор другого типа, и без копии до записи");
    command->callback([&context, options] {
        context.run = [&context, options] {
            return RunWrite(*options, context);
        };
    });
}

} // namespace

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string TerminalText(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    return out;
}

void AddDeviceCommands(CLI::App& app, CommandContext& context) {
    AddPortsCommand(app, context);
    AddReadCommand(app, context);
    AddWriteCommand(app, context);
    AddFlashCommand(app, context);
    AddFilesCommand(app, context);
}

void AddDeviceOptions(CLI::App& command, DeviceLine& line) {
    command.add_option("-p,--port", line.port, "Порт прибора")->required();
    command.add_flag("--trace", line.trace, "Каждый кадр обмена в stderr");
}

} // namespace tesmira::cli
