// File names as the library understands them: one separator, no "." or ".." parts, and the checks
// that keep a name inside its source.
#pragma once

#include <string>
#include <string_view>

namespace vfs {

// The name with '/' as the one separator, empty, "." and ".." parts removed (".." takes away the
// part before it; at the root it is dropped), and no leading or trailing '/'. No length limit:
// callers cut the result where they must.
std::string NormalizePath(std::string_view path);

// Turns a name given to FS_open or FS_exists into the name searched for in the sources. Refuses
// (returns false) a null name, a name longer than FS_MAX_PATH, a name that leaves the sources
// (a drive such as "C:", a "//server" name, a Windows device such as "con"), and a name that
// normalises to nothing. One leading separator is harmless: normalising strips it.
bool MakeLookupName(const char* name, std::string* lookup);

// True when name is already in the form MakeLookupName gives, the form in which packages store
// their names.
bool IsLookupName(const std::string& name);

// The name with ASCII letters in lower case, for lookups that ignore case. Other bytes stay as
// they are: the names are single-byte text of an unknown code page.
std::string FoldCase(std::string_view name);

}  // namespace vfs
