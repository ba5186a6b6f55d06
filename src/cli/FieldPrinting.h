// The output of the commands that print fields: an aligned table for people, or one JSON document
// (field ids as keys, in the window's order) for scripts.
#pragma once

#include "cli/Cli.h"
#include "model/FieldTable.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace tesmira::cli {

// Columns padded to their widest cell, counted in characters, not bytes.
void PrintTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows);

// Every field of `table`, of a configuration of `type`; with `raw` also where each field lives
// and its bytes in hexadecimal, and the bytes no control shows.
void PrintFieldTable(std::ostream& out, std::uint8_t type, const FieldTable& table, bool json,
                     bool raw);

// The fields that differ, with the two sides named as given.
void PrintDifferences(std::ostream& out, const FieldComparison& comparison,
                      const std::string& leftName, const std::string& rightName, bool json);

} // namespace tesmira::cli
