#include "texts/language_texts.h"

#include <algorithm>

#include "diagnostics/procedure.h"
#include "platform/windows1252.h"
#include "settings/ini_access.h"

namespace texts {
namespace {

constexpr std::string_view kDesignLanguage = "1031";

bool IsNoText(std::string_view value) {
  return value.empty() || value == "0";
}

bool HasCaptionKey(const shell::Control& control) {
  const std::string kind = platform::UpperCase(control.kind);
  return kind == "LABEL" || kind == "COMMANDBUTTON" || kind == "CHECKBOX";
}

bool IsArrayMember(const shell::Window& window, std::size_t position) {
  const auto& name = window.controls[position].name;
  for (std::size_t other = 0; other < window.controls.size(); ++other) {
    if (other != position && window.controls[other].name == name) return true;
  }
  return false;
}

// The key part after the prefix: name, array index for members, "_", tag.
std::string KeyOf(const shell::Control& control, bool array_member) {
  std::string key = control.name;
  if (array_member && control.index) key += std::to_string(*control.index);
  return key + "_" + control.tag;
}

struct LanguageFile {
  shell::RunState& state;
  std::string language;
  std::string path;

  std::string Read(const std::string& key) {
    return settings::LoadIniString(state, language, key, path);
  }
  void Write(std::string_view value, const std::string& key) {
    settings::SaveIni(state, value, language, key, path);
  }
};

void ApplyCaption(LanguageFile& file, shell::Control& control, const std::string& key) {
  const std::string value = file.Read("Caption_" + key);
  if (!IsNoText(value)) {
    control.caption = value;
  } else if (file.language != kDesignLanguage) {
    file.Write("0", "Caption_" + key);
  } else {
    file.Write(control.caption, "Caption_" + key);
  }
  if (control.help_id != 0) {
    const std::string help_key = "Help" + std::to_string(control.help_id);
    if (IsNoText(file.Read(help_key))) file.Write("0", help_key);
  }
}

void ApplyToolTip(LanguageFile& file, shell::Control& control, const std::string& key) {
  if (platform::UpperCase(control.tag).find("NOTTT") != std::string::npos) return;
  const std::string value = file.Read("TTT_" + key);
  if (!IsNoText(value)) {
    control.tool_tip = value;
  } else {
    file.Write("0", "TTT_" + key);
  }
}

}  // namespace

std::string LanguageIniPath(shell::RunState& state) {
  return state.env.ProgramFolder() + state.env.PathSeparator() + state.env.ExecutableName() +
         ".ini";
}

std::string GetLanguage(shell::RunState& state) {
  diagnostics::Procedure proc(state, "GetLanguage");
  std::string file;
  std::string value;
  proc.Step([&] { file = LanguageIniPath(state); });
  proc.Step([&] { value = settings::LoadIniString(state, "Language", "Language", file); });
  if (proc.If([&] { return !value.empty(); })) return value;
  proc.Step([&] { settings::SaveIni(state, kDesignLanguage, "Language", "Language", file); });
  return std::string(kDesignLanguage);
}

void LoadToolTipTexts(shell::RunState& state) {
  LanguageFile file{state, GetLanguage(state), LanguageIniPath(state)};
  shell::Window& window = state.window;
  for (std::size_t position = 0; position < window.controls.size(); ++position) {
    const bool array_member = IsArrayMember(window, position);
    shell::Control& control = window.controls[position];
    // A failure ends the treatment of this control only, without a report.
    try {
      const std::string key = KeyOf(control, array_member);
      if (HasCaptionKey(control)) ApplyCaption(file, control, key);
      ApplyToolTip(file, control, key);
    } catch (const platform::Failure&) {
    }
  }
}

}  // namespace texts
