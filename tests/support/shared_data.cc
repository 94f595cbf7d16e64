#include "support/shared_data.h"

namespace testsupport {

std::filesystem::path AccessDataDir() {
  return std::filesystem::path(ORLIX_SHARED_DIR) / "testdata" / "access";
}

std::filesystem::path IniDataDir() {
  return std::filesystem::path(ORLIX_SHARED_DIR) / "testdata" / "ini";
}

std::filesystem::path BinaryDir() {
  return std::filesystem::path(ORLIX_BINARY_DIR);
}

}  // namespace testsupport
