#include "cli/Cli.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <ostream>

namespace tesmira::cli {

int RunCli(const std::vector<std::string>& args, CommandContext& context) {
    CLI::App app{"Настройка приборов охранной сигнализации из командной строки", "tesmira-cli"};
    app.require_subcommand(1);
    app.set_help_all_flag("--help-all", "Справка по всем командам");
    AddFileCommands(app, context);
    AddDeviceCommands(app, context);

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
        context.err << e.what() << "\n";
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
    }
}

} // namespace tesmira::cli
