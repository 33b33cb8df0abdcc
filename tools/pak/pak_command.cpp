#include "pak_command.h"

#include <exception>
#include <string>
#include <vector>

#include "collect_files.h"
#include "pak_writer.h"

namespace pak {

int RunPak(int argc, const char* const* argv, std::ostream& errors) {
  if (argc != 3) {
    errors << "usage: pak OUTPUT.pak FOLDER\n"
              "Builds the package OUTPUT.pak from every file under FOLDER, named relative to\n"
              "FOLDER with '/' separators.\n";
    return kExitUsage;
  }
  const std::filesystem::path output = argv[1];
  const std::filesystem::path folder = argv[2];

  std::string error;
  try {
    std::vector<PakInput> inputs;
    if (CollectFiles(folder, output, &inputs, &error) && WritePackage(output, inputs, &error)) {
      return kExitSuccess;
    }
  } catch (const std::exception& exception) {
    error = exception.what();
  }
  errors << "pak: " << error << "\n";
  return kExitError;
}

}  // namespace pak
