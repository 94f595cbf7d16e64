#include "shell/command_line.h"

#include <array>

#include "diagnostics/procedure.h"
#include "diagnostics/runtime_error.h"
#include "platform/windows1252.h"

namespace shell {
namespace {

constexpr std::array<std::string_view, 2> kSwitchKeys = {"EXTERNAL", "LOGFILE"};

std::string TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

// Length in bytes of the UTF-8 character that starts at text[at].
std::size_t CharacterLength(std::string_view text, std::size_t at) {
  std::size_t length = 1;
  while (at + length < text.size() &&
         (static_cast<unsigned char>(text[at + length]) & 0xC0) == 0x80) {
    ++length;
  }
  return length;
}

// Where a value ends. Windows paths never hold a slash, so there the first
// one ends the value; POSIX paths are made of slashes, so there only a slash
// that starts the next switch does.
std::size_t EndOfValue(std::string_view upper_value, char separator) {
  if (separator == '\\') return upper_value.find('/');
  for (std::size_t at = upper_value.find('/'); at != std::string_view::npos;
       at = upper_value.find('/', at + 1)) {
    for (std::string_view key : kSwitchKeys) {
      if (upper_value.substr(at + 1, key.size()) == key) return at;
    }
  }
  return std::string_view::npos;
}

}  // namespace

std::string ReadCommand(RunState& state, std::string_view command_line, std::string_view key) {
  diagnostics::Procedure proc(state, "ReadCommand");
  std::string result;
  std::size_t found = std::string::npos;
  proc.Step([&] { found = platform::UpperCase(command_line).find(platform::UpperCase(key)); });
  if (found == std::string::npos) return result;

  proc.Step([&] {
    const std::size_t after_key = found + key.size();
    if (after_key >= command_line.size()) {
      diagnostics::RaiseRuntimeError(state.env, platform::err::kInvalidArgument,
                                     "Invalid procedure call: a negative number of characters "
                                     "was asked for");
    }
    result = std::string(command_line.substr(after_key + CharacterLength(command_line, after_key)));
  });
  proc.Step([&] { result = platform::UpperCase(TrimBlanks(result)); });
  proc.Step([&] {
    const std::size_t end = EndOfValue(result, state.env.PathSeparator());
    if (end != std::string::npos) result = TrimBlanks(platform::UpperCase(result.substr(0, end)));
  });
  return result;
}

bool GetStartModeIntegrated(RunState& state) {
  diagnostics::Procedure proc(state, "GetStartModeIntegrated");
  bool result = false;
  std::string value;
  proc.Step([&] { value = ReadCommand(state, state.env.CommandLine(), "EXTERNAL"); });
  if (proc.If([&] { return platform::UpperCase(value) == "KV9CFG"; })) {
    state.integrated = true;
    result = true;
  } else {
    state.integrated = false;
    result = false;
  }
  if (proc.If([&] { return platform::UpperCase(value) == "SILENT"; })) {
    state.silent = true;
    state.integrated = false;
    result = false;
  } else {
    state.silent = false;
  }
  return result;
}

std::string GetPathLogfile(RunState& state) {
  diagnostics::Procedure proc(state, "GetPathLogfile");
  std::string result;
  proc.Step([&] { result = ReadCommand(state, state.env.CommandLine(), "LOGFILE"); });
  return result;
}

}  // namespace shell
