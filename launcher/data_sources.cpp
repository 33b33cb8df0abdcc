#include "data_sources.h"

#include <cstdio>

#include "filesystem_api.h"

namespace {
constexpr int kPackageCount = 64;
}

void MountDataSources() {
  FS_init();
  for (int number = 0; number < kPackageCount; ++number) {
    char packageName[FS_MAX_PATH + 1];
    std::sprintf(packageName, "data%d.pak", number);
    FS_add_source(packageName, 1, 0, 0);
  }
  FS_add_source(".", 0, 0, 0);
  FS_add_source("data", 1, 0, 0);
}
