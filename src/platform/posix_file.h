#pragma once
// The random-access File of the POSIX Env (pread/pwrite on one descriptor).

#include <memory>
#include <string>

#include "platform/env.h"
#include "platform/posix_io.h"

namespace platform::posix {

std::unique_ptr<File> MakePosixFile(UniqueFd fd, std::string path, bool writable);

}  // namespace platform::posix
