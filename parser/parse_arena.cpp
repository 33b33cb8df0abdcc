#include "parse_arena.h"

#include <cstdint>
#include <cstring>

namespace {

// The first block is small, so that a short settings file costs little; each further one doubles
// up to a size at which a block's own cost is lost in what it holds.
constexpr std::size_t kFirstBlockSize = 16 * 1024;
constexpr std::size_t kLargestBlockSize = 1024 * 1024;

// Blocks of the largest size that released arenas leave behind, kept for the next parse. Memory
// fresh from the system costs a page fault for every page on its first touch, and for a large
// script those faults cost more than the parse itself; a kept block has its pages already. At most
// kKeptBytes are kept, so a huge script once parsed does not hold its memory for ever, and a small
// script, whose blocks never reach the largest size, keeps nothing. Like the rest of the parser,
// used from one thread at a time.
constexpr std::size_t kKeptBytes = 128 * 1024 * 1024;

struct KeptBlock {
  KeptBlock* next;
};
KeptBlock* keptBlocks = nullptr;
std::size_t keptBytes = 0;

void* TakeKeptBlock() {
  KeptBlock* const block = keptBlocks;
  if (block == nullptr) return nullptr;
  keptBlocks = block->next;
  keptBytes -= kLargestBlockSize;
  return block;
}

// Keeps a block of the largest size while there is room, else frees it.
void ReleaseBlock(void* memory, std::size_t size) {
  if (size != kLargestBlockSize || keptBytes + size > kKeptBytes) {
    ::operator delete(memory);
    return;
  }
  KeptBlock* const block = static_cast<KeptBlock*>(memory);
  block->next = keptBlocks;
  keptBlocks = block;
  keptBytes += size;
}

}  // namespace

std::size_t ParseArena::BytesKept() {
  return keptBytes;
}

ParseArena::ParseArena(ParseArena&& other) noexcept
    : blocks_(other.blocks_), free_(other.free_), end_(other.end_), held_(other.held_) {
  other.blocks_ = nullptr;
  other.free_ = other.end_ = nullptr;
  other.held_ = 0;
}

ParseArena& ParseArena::operator=(ParseArena&& other) noexcept {
  if (this != &other) {
    Release();
    std::swap(blocks_, other.blocks_);
    std::swap(free_, other.free_);
    std::swap(end_, other.end_);
    std::swap(held_, other.held_);
  }
  return *this;
}

void ParseArena::Release() {
  while (blocks_ != nullptr) {
    Block* const previous = blocks_->previous;
    ReleaseBlock(blocks_, blocks_->size);
    blocks_ = previous;
  }
  free_ = end_ = nullptr;
  held_ = 0;
}

void ParseArena::AddBlock(std::size_t atLeast) {
  std::size_t size = blocks_ == nullptr ? kFirstBlockSize : blocks_->size * 2;
  if (size > kLargestBlockSize) size = kLargestBlockSize;
  // Room for the header and for aligning the request, whatever the block's start.
  const std::size_t needed = sizeof(Block) + atLeast + alignof(std::max_align_t);
  if (size < needed) size = needed;
  void* memory = size == kLargestBlockSize ? TakeKeptBlock() : nullptr;
  if (memory == nullptr) memory = ::operator new(size);
  Block* const block = static_cast<Block*>(memory);
  block->previous = blocks_;
  block->size = size;
  blocks_ = block;
  free_ = reinterpret_cast<char*>(block + 1);
  end_ = reinterpret_cast<char*>(block) + size;
  held_ += size;
}

void* ParseArena::Allocate(std::size_t size, std::size_t alignment) {
  for (;;) {
    const std::uintptr_t at = reinterpret_cast<std::uintptr_t>(free_);
    const std::uintptr_t aligned = (at + (alignment - 1)) & ~std::uintptr_t(alignment - 1);
    if (free_ != nullptr && aligned <= reinterpret_cast<std::uintptr_t>(end_) &&
        size <= reinterpret_cast<std::uintptr_t>(end_) - aligned) {
      free_ = reinterpret_cast<char*>(aligned + size);
      return reinterpret_cast<void*>(aligned);
    }
    AddBlock(size + alignment);
  }
}

char* ParseArena::CopyText(const char* text, std::size_t length) {
  if (text == nullptr) return nullptr;
  char* const copy = static_cast<char*>(Allocate(length + 1, 1));
  std::memcpy(copy, text, length);
  copy[length] = '\0';
  return copy;
}

char* ParseArena::CopyText(const char* text) {
  return text == nullptr ? nullptr : CopyText(text, std::strlen(text));
}

StatementListHead::StatementListHead(const CZKPARSE_KEYWORD& first, ParseArena&& arena)
    : arena_(std::move(arena)) {
  std::memcpy(name, first.name, sizeof name);
  params = first.params;
  next = first.next;
  block = first.block;
}

StatementListHead::~StatementListHead() {
  // What hangs from the head lies in the arena, which goes with this object's member: the base
  // destructor, which runs after that, must find nothing left to delete.
  params = nullptr;
  next = nullptr;
  block = nullptr;
}
