// Event list files (*.evl): one group's event selection as code page 1251 text, a line per event
// and a closing line of hyphens.
#pragma once

#include "gsm/EventSelection.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace tesmira {

inline constexpr std::string_view kEventListEndLine = "----------------------------";

// The file of the group shown: for each event 1..255 a line of "1" or a blank for the violation
// bit, the same for the restoration bit, and "(" description ")"; then the hyphen line. Every
// line ends with CR LF.
std::vector<std::uint8_t> EventListBytes(const EventSelection& selection);

// Takes line i (1..255) of the text into event i of the group shown: a "1" as its first
// character sets the violation bit, anything else (a short line included) clears it; the second
// character does the same for the restoration bit. Events past the last line keep their bits.
// Lines end at CR LF, a lone LF or a lone CR.
void ApplyEventList(std::span<const std::uint8_t> text, EventSelection& selection);

// Write and read a file whole. Both throw ConfigFileError with the text for the user when the file
// cannot be written or read; a failed read leaves the selection as it was.
void SaveEventListFile(const std::filesystem::path& path, const EventSelection& selection);
void LoadEventListFile(const std::filesystem::path& path, EventSelection& selection);

} // namespace tesmira
