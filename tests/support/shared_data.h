#pragma once
// Where the shared sample data lies, and a skip for tests that need it.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace testsupport {

// The folder with the Access-written databases (shared/testdata/access).
std::filesystem::path AccessDataDir();
// The folder with the recorded Windows INI behaviour (shared/testdata/ini).
std::filesystem::path IniDataDir();
// The build folder (where the executables are).
std::filesystem::path BinaryDir();

}  // namespace testsupport

// Skips the current test with a clear message when a shared folder is absent.
#define ORLIX_REQUIRE_DIR(dir)                                           \
  do {                                                                   \
    if (!std::filesystem::is_directory(dir))                             \
      GTEST_SKIP() << "shared test data not found at " << (dir).string() \
                   << " (expected ../shared beside the checkout)";       \
  } while (0)
