#include "path_normalize.h"

#include <vector>

#include "filesystem_api.h"

namespace vfs {
namespace {

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

// ASCII letters only, the same on every host whatever the locale. The program's parser folds case
// by the same rule (parser/text_case.cpp); this is a copy of its own because the library must not
// depend on the program.
char FoldChar(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Windows opens these device names in every folder, whatever the extension ("nul.txt" is the null
// device too), so a source would hand out a device instead of a file. They are refused everywhere
// so that a name means the same on every host.
bool IsDeviceName(std::string_view part) {
  std::string base = FoldCase(part.substr(0, part.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  if (base == "con" || base == "prn" || base == "aux" || base == "nul" || base == "conin$" ||
      base == "conout$") {
    return true;
  }
  return base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

}  // namespace

std::string NormalizePath(std::string_view path) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    std::string_view part = path.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }

  std::string result;
  for (std::string_view part : parts) {
    if (!result.empty()) result += '/';
    result += part;
  }
  return result;
}

bool MakeLookupName(const char* name, std::string* lookup) {
  if (!name) return false;
  // Looks at no more than one character past the limit, so a huge name costs nothing.
  std::size_t length = 0;
  while (length <= FS_MAX_PATH && name[length] != '\0') ++length;
  if (length > FS_MAX_PATH) return false;
  std::string_view text(name, length);

  if (text.find(':') != std::string_view::npos) return false;
  if (text.size() >= 2 && IsSeparator(text[0]) && IsSeparator(text[1])) return false;

  std::string normalized = NormalizePath(text);
  if (normalized.empty()) return false;
  for (std::size_t start = 0; start < normalized.size();) {
    std::size_t end = normalized.find('/', start);
    if (end == std::string::npos) end = normalized.size();
    if (IsDeviceName(std::string_view(normalized).substr(start, end - start))) return false;
    start = end + 1;
  }
  *lookup = std::move(normalized);
  return true;
}

bool IsLookupName(const std::string& name) {
  // A zero inside the name would end it early, so the lookup name would differ.
  std::string lookup;
  return MakeLookupName(name.c_str(), &lookup) && lookup == name;
}

std::string FoldCase(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) c = FoldChar(c);
  return folded;
}

}  // namespace vfs
