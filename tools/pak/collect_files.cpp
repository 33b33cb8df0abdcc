#include "collect_files.h"

#include <algorithm>
#include <system_error>

namespace pak {

namespace stdfs = std::filesystem;

bool CollectFiles(const stdfs::path& folder, const stdfs::path& skip, std::vector<PakInput>* inputs,
                  std::string* error) {
  std::error_code code;
  if (!stdfs::is_directory(folder, code)) {
    *error = folder.string() + " is not a folder";
    return false;
  }
  const bool skipExists = stdfs::exists(skip, code);

  stdfs::recursive_directory_iterator entries(folder, code);
  for (; !code && entries != stdfs::recursive_directory_iterator(); entries.increment(code)) {
    const stdfs::path& path = entries->path();
    if (!entries->is_regular_file(code) || code) continue;
    if (skipExists && stdfs::equivalent(path, skip, code)) continue;
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

}  // namespace pak
