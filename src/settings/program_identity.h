#pragma once
// Names derived from where the running executable lies and what it is called:
// the OCX name, the project folder and the last component of a path. Nothing
// is stored; every caller derives them anew.

#include <optional>
#include <string>
#include <string_view>

#include "shell/run_state.h"

namespace settings {

// The executable name without its last 7 characters; nothing when it is shorter.
std::optional<std::string> OcxNameOf(std::string_view executable_name);

// The OCX name of the running executable; reported under "GetOCXName", empty
// when it cannot be derived.
std::string GetOCXName(shell::RunState& s);

// The program folder without its last component (D:\Plant\Bin -> D:\Plant,
// C:\ -> C:). Lets pending window messages run once per dropped character.
std::string ProjectFolder(shell::RunState& s);

// The text after the last separator, or the whole text; reported under
// "GetFileNameOnly". Lets pending window messages run once per separator.
std::string GetFileNameOnly(shell::RunState& s, std::string_view path);

}  // namespace settings
