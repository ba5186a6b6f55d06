#include "cli/Cli.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <ostream>
#include <string>

namespace tesmira::cli {

namespace {

constexpr const char* kHelpText = "Справка";
constexpr const char* kHelpAllText = "Справка по всем командам";

// Help in the program's language. Value names stay ASCII (FILE, PORT): CLI11 pads its first
// column by bytes, so Cyrillic there would break the columns.
void SpeakRussian(CLI::App& app) {
    const auto formatter = app.get_formatter();
    const std::pair<const char*, const char*> labels[] = {
        {"Usage", "Вызов"},   {"OPTIONS", "ПАРАМЕТРЫ"},  {"Positionals", "Аргументы"},
        {"REQUIRED", ""},     {"SUBCOMMAND", "КОМАНДА"}, {"SUBCOMMANDS", "КОМАНДЫ"},
        {"Needs", "Требует"}, {"Excludes", "Исключает"}};
    for (const auto& [label, text] : labels)
        formatter->label(label, text);
    for (CLI::App* command : app.get_subcommands({})) {
        command->group("Команды");
        // Made with the command before the defaults reached it: made again in their group.
        command->set_help_flag("-h,--help", kHelpText);
        command->set_help_all_flag("--help-all", kHelpAllText);
    }
}

// CLI11's explanation after ours, so that its names of options and arguments stay exact.
std::string UsageText(const CLI::ParseError& e) {
    std::string text = "Неверный вызов";
    if (dynamic_cast<const CLI::RequiredError*>(&e) != nullptr)
        text = "Не хватает обязательного аргумента или параметра";
    else if (dynamic_cast<const CLI::ExtrasError*>(&e) != nullptr)
        text = "Лишние аргументы";
    else if (dynamic_cast<const CLI::ConversionError*>(&e) != nullptr ||
             dynamic_cast<const CLI::ValidationError*>(&e) != nullptr)
        text = "Недопустимое значение";
    return text + " (" + e.what() + "). Справка: tesmira-cli --help";
}

} // namespace

int RunCli(const std::vector<std::string>& args, CommandContext& context) {
    CLI::App app{"Настройка приборов охранной сигнализации из командной строки", "tesmira-cli"};
    app.require_subcommand(1);
    app.option_defaults()->group("Параметры");
    app.set_help_flag("-h,--help", kHelpText);
    app.set_help_all_flag("--help-all", kHelpAllText);
    app.footer("Коды завершения: 0 - выполнено; 1 - diff нашла различия; 2 - неверный вызов, поле\n"
               "или значение, файл не принят; 3 - порт не открыт или нет прав на него; 4 - нет\n"
               "верного ответа прибора; 5 - прибор отказал или он другого типа (write без --yes);\n"
               "130 - прервано (Ctrl+C).");
    AddFileCommands(app, context);
    AddDeviceCommands(app, context);
    SpeakRussian(app);

    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        context.out << app.help();
        return static_cast<int>(ExitStatus::Done);
    } catch (const CLI::CallForAllHelp&) {
        context.out << app.help("", CLI::AppFormatMode::All);
        return static_cast<int>(ExitStatus::Done);
    } catch (const CLI::ParseError& e) {
        context.err << UsageText(e) << "\n";
        return static_cast<int>(ExitStatus::BadUsage);
    }
    if (!context.run) {
        return static_cast<int>(ExitStatus::BadUsage);
    }
    try {
        return static_cast<int>(context.run());
    } catch (const CommandFailure& failure) {
        context.err << failure.what() << "\n";
        return static_cast<int>(failure.status());
    } catch (const std::exception& e) {
        // Nothing a command lets through may end the program without a word.
        context.err << e.what() << "\n";
        return static_cast<int>(ExitStatus::BadUsage);
    }
}

} // namespace tesmira::cli
