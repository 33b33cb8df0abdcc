// The arena a parse builds in: what it keeps for the next parse. (That its pieces are aligned and
// separate, every parse under the sanitizers shows.)
#include "parse_arena.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseArenaTest, ReleasedLargeBlocksAreKeptForTheNextArenaUpToALimit) {
  const std::size_t before = ParseArena::BytesKept();
  {
    ParseArena arena;
    // Small pieces until the blocks have grown to the largest size and several of it are held.
    while (arena.BytesHeld() < 8 * 1024 * 1024) arena.Allocate(4000, 8);
  }
  const std::size_t kept = ParseArena::BytesKept();
  EXPECT_GT(kept, before);
  {
    ParseArena arena;
    while (arena.BytesHeld() < 4 * 1024 * 1024) arena.Allocate(4000, 8);
    EXPECT_LT(ParseArena::BytesKept(), kept) << "a new arena takes kept blocks first";
  }
  {
    ParseArena arena;  // far more than is ever kept
    while (arena.BytesHeld() < 300u * 1024 * 1024) arena.Allocate(512 * 1024, 8);
  }
  EXPECT_LE(ParseArena::BytesKept(), 128u * 1024 * 1024);
  EXPECT_GT(ParseArena::BytesKept(), 64u * 1024 * 1024);
}

}  // namespace
