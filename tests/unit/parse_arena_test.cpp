// The arena a parse builds in, and the head that owns it in the list handed to the host.
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

TEST(ParseArenaTest, TextCopiesAreTerminatedAndNullStaysNull) {
  ParseArena arena;
  const char bytes[] = "ab\0cd";
  const char* copy = arena.CopyText(bytes, 5);
  EXPECT_EQ(std::string(copy, 6), std::string("ab\0cd\0", 6));
  EXPECT_NE(copy, bytes);
  EXPECT_STREQ(arena.CopyText("name"), "name");
  EXPECT_EQ(arena.CopyText(nullptr), nullptr);
  EXPECT_STREQ(arena.CopyText(""), "");
}

TEST(ParseArenaTest, AMovedArenaTakesItsBlocksAndTheOldOneStartsAfresh) {
  ParseArena first;
  char* text = first.CopyText("kept");
  const std::size_t held = first.BytesHeld();
  ParseArena second(std::move(first));
  EXPECT_EQ(second.BytesHeld(), held);
  EXPECT_EQ(first.BytesHeld(), 0u);  // NOLINT: a moved-from arena is empty and usable
  EXPECT_STREQ(first.CopyText("new"), "new");
  std::swap(first, second);
  EXPECT_EQ(first.BytesHeld(), held);
  EXPECT_STREQ(text, "kept");
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

// A head made from an arena's first node, with a value, a block and a successor in the arena:
// deleting the head frees all of it (the sanitizers' leak check sees a lost block) and nothing
// twice. That a copy outlives it, the statement tests show.
TEST(ParseArenaTest, TheHeadOwnsTheArenaWithEverythingInIt) {
  ParseArena arena;
  CZKPARSE_KEYWORD* first = arena.New<CZKPARSE_KEYWORD>();
  std::strcpy(first->name, "window");
  auto* width = arena.New<CZKPARSE_STRING>(nullptr, nullptr);
  width->value = arena.CopyText("640");
  width->name = arena.CopyText("Width");
  first->params = width;
  first->block = arena.New<CZKPARSE_KEYWORD>();
  first->next = arena.New<CZKPARSE_KEYWORD>();
  std::strcpy(first->next->name, "sound");

  std::unique_ptr<CZKPARSE_KEYWORD> head(new CZKPARSE_LIST_HEAD(*first, std::move(arena)));
  EXPECT_EQ(arena.BytesHeld(), 0u);  // NOLINT: handed over
  EXPECT_STREQ(head->name, "window");
  EXPECT_EQ(head->params, width);
  EXPECT_EQ(head->block, first->block);
  EXPECT_STREQ(head->next->name, "sound");
}

}  // namespace
