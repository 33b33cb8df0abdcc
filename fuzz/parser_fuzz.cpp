// libFuzzer target: arbitrary bytes as a script whose includes resolve to further fuzzed files.
// The input is cut at kSeparator into up to four files, a.ini (the one parsed), b.ini, sub/c.ini
// and sub/d.ini, so that includes, their folders, cycles and missing files are all reachable. A
// parsed list is copied, written in its binary form and deleted, as hosts do.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

#include "filesystem_api.h"
#include "log_testing.h"
#include "zk_parse.h"

namespace {

constexpr std::string_view kSeparator = "\n--8<--\n";
const char* const kFiles[] = {"a.ini", "b.ini", "sub/c.ini", "sub/d.ini"};

// Host variables: every name is known except those beginning with 'x', so that both the found
// and the not-found paths are taken.
bool IntVariable(int* value, const char* name) {
  if (name[0] == 'x') return false;
  *value = static_cast<int>(std::strlen(name)) - 3;
  return true;
}

bool FloatVariable(float* value, const char* name) {
  if (name[0] == 'x') return false;
  *value = static_cast<float>(std::strlen(name)) * 0.5f;
  return true;
}

bool StringVariable(char* value, const char* name) {
  if (name[0] == 'x') return false;
  // Fills the whole buffer the parser lends, to show that it is exactly that large.
  std::memset(value, 's', CZKParse::kStringVariableSize - 1);
  value[CZKParse::kStringVariableSize - 1] = '\0';
  return true;
}

std::string folder;

void RemoveFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

void WriteFile(const char* name, std::string_view bytes) {
  std::FILE* file = std::fopen(name, "wb");
  if (file == nullptr) std::abort();
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  // On tmpfs when there is one: the log writes through to the disk otherwise.
  const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  folder = std::string(base) + "/vantor-fuzz-" + std::to_string(getpid());
  if (mkdir(folder.c_str(), 0700) != 0 || chdir(folder.c_str()) != 0) std::abort();
  std::atexit(RemoveFolder);
  mkdir("sub", 0700);
  FS_init();
  FS_add_source(".", 0, 0, 0);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  for (const char* name : kFiles) {
    if (rest.data() == nullptr) {
      std::remove(name);  // fewer parts than files: the others are missing
      continue;
    }
    const std::size_t cut = rest.find(kSeparator);
    WriteFile(name, rest.substr(0, cut));
    rest =
        cut == std::string_view::npos ? std::string_view() : rest.substr(cut + kSeparator.size());
  }

  CZKPARSE_KEYWORD* list = ParseScriptFile("a.ini", IntVariable, FloatVariable, StringVariable);
  if (list != nullptr) {
    CZKPARSE_KEYWORD* copy = new CZKPARSE_KEYWORD(*list);
    std::FILE* sink = std::fopen("/dev/null", "wb");
    if (sink != nullptr) {
      copy->WriteBinary(sink);
      std::fclose(sink);
    }
    delete copy;
    delete list;
  }
  // A fresh log for every input, so that crash.log does not grow without end.
  LogResetForTesting();
  std::remove("crash.log");
  return 0;
}
