#include "settings/program_identity.h"

#include "diagnostics/procedure.h"
#include "diagnostics/runtime_error.h"
#include "shell/run_state.h"

namespace settings {

std::optional<std::string> OcxNameOf(std::string_view executable_name) {
  constexpr std::size_t kSuffixLength = 7;  // "_Config"
  if (executable_name.size() < kSuffixLength) return std::nullopt;
  return std::string(executable_name.substr(0, executable_name.size() - kSuffixLength));
}

std::string GetOCXName(shell::RunState& s) {
  diagnostics::Procedure p(s, "GetOCXName");
  std::string result;
  p.Step([&] {
    auto name = OcxNameOf(s.env.ExecutableName());
    if (!name)
      diagnostics::RaiseRuntimeError(s.env, platform::err::kInvalidArgument,
                                     "Invalid argument: the executable name is too short");
    result = *name;
  });
  return result;
}

std::string ProjectFolder(shell::RunState& s) {
  const char sep = s.env.PathSeparator();
  std::string folder = s.env.ProgramFolder();
  while (folder.empty() || folder.back() != sep) {
    shell::DoEvents(s);
    if (folder.empty())
      diagnostics::RaiseRuntimeError(s.env, platform::err::kInvalidArgument,
                                     "Invalid argument: the program folder has no separator");
    folder.pop_back();
  }
  folder.pop_back();
  return folder;
}

std::string GetFileNameOnly(shell::RunState& s, std::string_view path) {
  diagnostics::Procedure p(s, "GetFileNameOnly");
  std::string rest(path);
  p.Step([&] {
    for (auto pos = rest.find(s.env.PathSeparator()); pos != std::string::npos;
         pos = rest.find(s.env.PathSeparator())) {
      shell::DoEvents(s);
      rest.erase(0, pos + 1);
    }
  });
  return rest;
}

}  // namespace settings
