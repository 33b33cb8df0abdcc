// The pak command: pak OUTPUT.pak FOLDER.
#pragma once

#include <ostream>

namespace pak {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitError = 1;
inline constexpr int kExitUsage = 64;  // EX_USAGE of BSD's sysexits.h

// Builds OUTPUT.pak from every file under FOLDER. Returns the exit code: kExitSuccess, kExitError
// (with a message on errors) or kExitUsage (with the usage text on errors).
int RunPak(int argc, const char* const* argv, std::ostream& errors);

}  // namespace pak
