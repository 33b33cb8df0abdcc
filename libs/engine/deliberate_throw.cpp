#include "deliberate_throw.h"

#include <stdexcept>

#include "engine_api.h"
#include "engine_trace.h"

void ThrowDeliberately(ThrowKind kind) {
  if (kind == ThrowKind::kNone) return;
  // The line goes out first: the throw may end the process before anything else is written.
  EngineTrace("CGame::throw %s", ThrowKindName(kind));
  switch (kind) {
    case ThrowKind::kEngine:
      throw CEngineException("bad state", "world", 12);
    case ThrowKind::kOther:
      throw std::runtime_error("demo game: deliberate failure");
    case ThrowKind::kNone:
      return;
  }
}
