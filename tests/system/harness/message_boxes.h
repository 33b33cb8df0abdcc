// Finds the message boxes of one process, reads them and closes them with OK.
#pragma once

#include <set>
#include <vector>

#include "process_run.h"

namespace harness {

class MessageBoxWatcher {
 public:
  explicit MessageBoxWatcher(unsigned long processId) : processId_(processId) {}

  // Records and closes every box of the process that has appeared since the last call.
  void Poll(std::vector<MessageBoxRecord>& boxes);

 private:
  unsigned long processId_;
  std::set<void*> answered_;  // boxes already recorded, until their window is gone
};

}  // namespace harness
