#pragma once
// A run against an in-memory machine: a project D:\Plant with the program in
// D:\Plant\Bin, Windows-style paths, the service-pack log on C:.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/memory_env.h"
#include "shell/run_state.h"
#include "shell/window.h"

namespace testrun {

inline constexpr char kProgramFolder[] = "D:\\Plant\\Bin";
inline constexpr char kErrorLog[] = "D:\\Plant\\KV9cfglog.txt";
inline constexpr char kServicePackLog[] = "C:\\VelmorServicePack.log";
inline constexpr char kCfg[] = "D:\\Plant\\316_Orlix\\316_Orlix.cfg";
inline constexpr char kConfigurationIni[] = "D:\\Plant\\parameter\\kv9configuration.ini";
inline constexpr char kProgramIni[] = "D:\\Plant\\parameter\\Program.ini";
inline constexpr char kLanguageIni[] = "D:\\Plant\\Bin\\316_Orlix_Config.ini";

class RunFixture : public ::testing::Test {
 protected:
  RunFixture() : env('\\'), window(shell::MakeMainWindow()), state(env, window) {
    env.AddFolder("C:\\");
    env.AddFolder("D:\\Plant\\Bin");
    env.AddFolder("D:\\Plant\\parameter");
    env.AddFolder("D:\\Plant\\316_Orlix");
    env.SetProgramFolder(kProgramFolder);
    env.SetServicePackLogPath(kServicePackLog);
  }

  // The file's bytes, or "<absent>".
  std::string Bytes(std::string_view path) { return env.FileBytes(path).value_or("<absent>"); }

  platform::MemoryEnv env;
  shell::Window window;
  shell::RunState state;
};

}  // namespace testrun
