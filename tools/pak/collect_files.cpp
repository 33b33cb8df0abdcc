#include "collect_files.h"

#include <algorithm>
#include <system_error>

namespace vantor::pak {

namespace fs = std::filesystem;

bool CollectFiles(const fs::path& folder, const fs::path& skip, std::vector<PakInput>* inputs,
                  std::string* error) {
  std::error_code code;
  if (!fs::is_directory(folder, code)) {
    *error = folder.string() + " is not a folder";
    return false;
  }
  const bool skip_exists = fs::exists(skip, code);

  fs::recursive_directory_iterator entries(folder, code);
  for (; !code && entries != fs::recursive_directory_iterator(); entries.increment(code)) {
    const fs::path& path = entries->path();
    if (!entries->is_regular_file(code) || code) continue;
    if (skip_exists && fs::equivalent(path, skip, code)) continue;
    inputs->push_back({path.lexically_relative(folder).generic_string(), path});
  }
  if (code) {
    *error = "cannot list " + folder.string() + ": " + code.message();
    return false;
  }
  std::sort(inputs->begin(), inputs->end(),
            [](const PakInput& a, const PakInput& b) { return a.name < b.name; });
  return true;
}

}  // namespace vantor::pak
