// The device commands' pieces that live in files of their own.
#pragma once

#include "cli/Cli.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace tesmira::cli {

// flash -p PORT IMAGE.enc
void AddFlashCommand(CLI::App& app, CommandContext& context);
// files list|upload FILE|delete NAME -p PORT
void AddFilesCommand(CLI::App& app, CommandContext& context);

// A path as UTF-8, for the messages.
std::string PathText(const std::filesystem::path& path);
// A message box's text for a terminal: its "\r\n" line breaks as "\n".
std::string TerminalText(std::string_view text);

} // namespace tesmira::cli
