// The commands on configuration files: defaults, show, set, diff.
#include "cli/Cli.h"
#include "cli/FieldPrinting.h"

#include "app/DeviceConfigs.h"
#include "gsm/GsmDeviceConfig.h"
#include "model/ConfigFile.h"
#include "model/TextHelpers.h"

#include <CLI/CLI.hpp>

#include <cctype>
#include <ostream>

namespace tesmira::cli {

namespace {

constexpr const char* kNotSupportedText = "Данный прибор не поддерживается программатором";

// As the window's standard error box shows a text: a period after a final letter or digit.
std::string AsSentence(std::string text) {
    const auto last = [&](std::size_t back) {
        return static_cast<unsigned char>(text[text.size() - back]);
    };
    const bool ascii = !text.empty() && std::isalnum(last(1)) != 0;
    // A final Cyrillic letter: two bytes, the first D0..D3.
    const bool cyrillic =
        text.size() >= 2 && (last(1) & 0xC0) == 0x80 && last(2) >= 0xD0 && last(2) <= 0xD3;
    if (ascii || cyrillic)
        text += '.';
    return text;
}

[[noreturn]] void Refuse(const std::string& message) {
    throw CommandFailure(ExitStatus::BadUsage, AsSentence(message));
}

// The text with the file it is about in front, unless it names the file itself.
std::string FileMessage(const std::filesystem::path& file, const std::string& text) {
    if (text.find(file.filename().string()) != std::string::npos)
        return text;
    return file.string() + ": " + text;
}

// The bytes the window's save writes: the GSM communicator's tables committed first.
std::vector<std::uint8_t> SavedImage(const DeviceConfig& config) {
    if (const auto* gsm = dynamic_cast<const GsmDeviceConfig*>(&config))
        return gsm->CommittedImage();
    return config.Image();
}

void Save(const DeviceConfig& config, const std::filesystem::path& file) {
    try {
        SaveFileAtomically(file, SavedImage(config));
    } catch (const ConfigFileError& e) {
        Refuse(FileMessage(file, e.what()));
    }
}

// "ID=VALUE": the id up to the first "=", the value all after it (it may be empty or hold "=").
std::pair<std::string, std::string> Assignment(const std::string& text) {
    const std::size_t equals = text.find('=');
    if (equals == 0 || equals == std::string::npos)
        Refuse("Ожидается ПОЛЕ=ЗНАЧЕНИЕ: " + text);
    return {text.substr(0, equals), text.substr(equals + 1)};
}

// Windows and Linux newlines in the window's message texts both printed as one.
std::string OneLine(std::string text) {
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.replace(at, 2, " ");
    return text;
}

struct DefaultsOptions {
    std::string type;
    std::filesystem::path output;
};

struct ShowOptions {
    std::filesystem::path file;
    bool raw = false;
    bool json = false;
};

struct SetOptions {
    std::filesystem::path file;
    std::vector<std::string> assignments;
    std::filesystem::path output;
};

struct DiffOptions {
    std::filesystem::path left;
    std::filesystem::path right;
    DeviceLine line;
    bool json = false;
};

ExitStatus RunDefaults(CommandContext&, const DefaultsOptions& options) {
    const std::optional<long long> type = ParseInteger(options.type);
    if (!type || *type < 1 || *type > 255)
        Refuse("Неизвестный тип прибора: " + options.type);
    const std::unique_ptr<DeviceConfig> config = MakeDeviceConfig(static_cast<std::uint8_t>(*type));
    if (config == nullptr)
        Refuse(std::string(kNotSupportedText) + ": " + options.type);
    config->SetDefaults();
    Save(*config, options.output);
    return ExitStatus::Done;
}

ExitStatus RunShow(CommandContext& context, const ShowOptions& options) {
    PrintFields(context, *OpenConfigFile(options.file), options.json, options.raw);
    return ExitStatus::Done;
}

ExitStatus RunSet(CommandContext& context, const SetOptions& options) {
    const std::unique_ptr<DeviceConfig> config = OpenConfigFile(options.file);
    std::vector<std::string> notes;
    for (const std::string& text : options.assignments) {
        const auto [id, value] = Assignment(text);
        const FieldEdit edit = config->SetField(id, value);
        if (!edit.Taken())
            Refuse(edit.refusal);
        if (!edit.note.empty())
            notes.push_back(OneLine(edit.note));
    }
    Save(*config, options.output.empty() ? options.file : options.output);
    for (const std::string& note : notes)
        context.err << note << "\n";
    return ExitStatus::Done;
}

ExitStatus RunDiff(CommandContext& context, const DiffOptions& options) {
    const std::unique_ptr<DeviceConfig> left = OpenConfigFile(options.left);
    const bool fromDevice = !options.line.port.empty();
    if (fromDevice == !options.right.empty())
        Refuse("Укажите второй файл или порт прибора (-p), одно из двух");
    std::unique_ptr<DeviceConfig> right;
    std::string rightName;
    if (fromDevice) {
        DeviceRead read = ReadDevice(options.line, context);
        right = std::move(read.config);
        rightName = "прибор";
        if (right == nullptr)
            Refuse(kNotSupportedText);
    } else {
        right = OpenConfigFile(options.right);
        rightName = options.right.string();
    }
    const FieldComparison comparison =
        CompareFields(left->Type(), left->Fields(), right->Type(), right->Fields());
    if (!comparison.refusal.empty())
        Refuse(comparison.refusal);
    PrintDifferences(context.out, comparison, options.left.string(), rightName, options.json);
    return comparison.differences.empty() ? ExitStatus::Done : ExitStatus::Differences;
}

// The command's options live as long as the parse and the run: kept by the callback.
template <class Options>
void OnRun(CLI::App& command, CommandContext& context, std::shared_ptr<Options> options,
           ExitStatus (*run)(CommandContext&, const Options&)) {
    command.callback([&context, options, run] {
        context.run = [&context, options, run] {
            return run(context, *options);
        };
    });
}

} // namespace

void AddFileCommands(CLI::App& app, CommandContext& context) {
    {
        auto options = std::make_shared<DefaultsOptions>();
        CLI::App* command =
            app.add_subcommand("defaults", "Файл с заводскими настройками прибора этого типа");
        command->add_option("TYPE", options->type, "Тип прибора (код: 26, 27, 30..35)")
            ->type_name("")
            ->required();
        command->add_option("-o,--output", options->output, "Файл конфигурации (*.bcf)")
            ->type_name("FILE")
            ->required();
        OnRun(*command, context, options, RunDefaults);
    }
    {
        auto options = std::make_shared<ShowOptions>();
        CLI::App* command =
            app.add_subcommand("show", "Все поля файла конфигурации: поле, название, значение");
        command->add_option("FILE", options->file, "Файл конфигурации (*.bcf)")
            ->type_name("")
            ->required();
        command->add_flag("--raw", options->raw, "Также место каждого поля в блоках и его байты");
        command->add_flag("--json", options->json, "Один документ JSON, ключи - поля");
        OnRun(*command, context, options, RunShow);
    }
    {
        auto options = std::make_shared<SetOptions>();
        CLI::App* command = app.add_subcommand(
            "set", "Изменить поля по их именам, по правилам элементов окна прибора");
        command->add_option("FILE", options->file, "Файл конфигурации (*.bcf)")
            ->type_name("")
            ->required();
        command
            ->add_option("ASSIGNMENTS", options->assignments,
                         "ПОЛЕ=ЗНАЧЕНИЕ, значение - как его показывает окно (имена полей: show)")
            ->type_name("")
            ->required();
        command
            ->add_option("-o,--output", options->output,
                         "Записать в другой файл; без него файл заменяется целиком")
            ->type_name("FILE");
        OnRun(*command, context, options, RunSet);
    }
    {
        auto options = std::make_shared<DiffOptions>();
        CLI::App* command = app.add_subcommand(
            "diff", "Различающиеся поля двух файлов или файла и прибора; код 1 - есть различия");
        command->add_option("A", options->left, "Файл конфигурации (*.bcf)")
            ->type_name("")
            ->required();
        command->add_option("B", options->right, "Второй файл (или -p)")->type_name("");
        AddDeviceOptions(*command, options->line);
        // The port is one of the two ways to name the other side here, not required.
        if (CLI::Option* port = command->get_option_no_throw("--port"))
            port->required(false);
        command->add_flag("--json", options->json, "Один документ JSON, ключи - поля");
        OnRun(*command, context, options, RunDiff);
    }
}

std::unique_ptr<DeviceConfig> OpenConfigFile(const std::filesystem::path& file) {
    try {
        ConfigFile reader;
        const std::uint8_t type = reader.LoadFrom(file);
        std::unique_ptr<DeviceConfig> config = MakeDeviceConfig(type);
        if (config == nullptr)
            Refuse(FileMessage(file, kNotSupportedText));
        // A record of the wrong length is refused whole, as the window's open refuses it.
        if (!config->LoadFromFile(reader))
            Refuse(FileMessage(file, kFileDamagedText));
        return config;
    } catch (const ConfigFileError& e) {
        Refuse(FileMessage(file, e.what()));
    }
}

} // namespace tesmira::cli
