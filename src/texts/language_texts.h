#pragma once
// Captions and tool tips of the window's controls per language, kept in the
// language INI beside the executable (<program folder>\<executable>.ini).

#include <string>

#include "shell/run_state.h"

namespace texts {

std::string LanguageIniPath(shell::RunState& state);

// [Language] Language; "1031" is written and returned when it is missing.
std::string GetLanguage(shell::RunState& state);

// Applies the texts of the language to the window's controls and writes an
// entry for every text the file lacks.
void LoadToolTipTexts(shell::RunState& state);

}  // namespace texts
