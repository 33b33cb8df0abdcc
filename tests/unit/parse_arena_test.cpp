// The arena a parse builds in.
#include "parse_arena.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

bool AlignedTo(const void* memory, std::size_t alignment) {
  return reinterpret_cast<std::uintptr_t>(memory) % alignment == 0;
}

TEST(ParseArenaTest, PiecesAreAlignedSeparateAndLargerThanABlockIfNeeded) {
  ParseArena arena;
  EXPECT_EQ(arena.BytesHeld(), 0u);
  std::vector<char*> pieces;
  for (std::size_t size = 1; size < 3000; size += 7) {
    const std::size_t alignment = std::size_t(1) << (size % 4);  // 1, 2, 4 and 8
    char* piece = static_cast<char*>(arena.Allocate(size, alignment));
    ASSERT_TRUE(AlignedTo(piece, alignment)) << size;
    std::memset(piece, static_cast<int>(size & 0x7f), size);  // the sanitizer checks the bounds
    pieces.push_back(piece);
  }
  // Nothing written later overwrote an earlier piece.
  std::size_t size = 1;
  for (const char* piece : pieces) {
    ASSERT_EQ(piece[0], static_cast<char>(size & 0x7f));
    ASSERT_EQ(piece[size - 1], static_cast<char>(size & 0x7f));
    size += 7;
  }
  // A request larger than the largest block gets a block of its own.
  const std::size_t huge = 3 * 1024 * 1024;
  char* large = static_cast<char*>(arena.Allocate(huge, 8));
  large[0] = large[huge - 1] = 'x';
  EXPECT_GE(arena.BytesHeld(), huge);

  const auto* node = arena.New<CZKPARSE_KEYWORD>();
  EXPECT_TRUE(AlignedTo(node, alignof(CZKPARSE_KEYWORD)));
  EXPECT_STREQ(node->name, "");
  EXPECT_EQ(node->next, nullptr);
}

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
