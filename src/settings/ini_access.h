#pragma once
// The program's only access to profile (INI) files. Every call reads or
// writes the file anew; absent files, sections and keys give the defaults.

#include <cstdint>
#include <string>
#include <string_view>

#include "shell/run_state.h"

namespace settings {

// The value (at most 254 characters), or an empty text.
std::string LoadIniString(shell::RunState& state, std::string_view section, std::string_view key,
                          std::string_view file);

// The decimal number at the start of the value, -1 when absent, 0 when the
// value is no number; beyond 16 bits an overflow is reported and 0 returned.
std::int16_t LoadIniInteger(shell::RunState& state, std::string_view section, std::string_view key,
                            std::string_view file);

// True only for the text TRUE in any letter case.
bool LoadIniBoolean(shell::RunState& state, std::string_view section, std::string_view key,
                    std::string_view file);

// 1 when the entry was written, 0 when the write was refused.
std::int16_t SaveIni(shell::RunState& state, std::string_view value, std::string_view section,
                     std::string_view key, std::string_view file);

}  // namespace settings
