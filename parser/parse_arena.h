// Where one parse keeps what it builds: statement nodes, values, names and strings, the
// declarations and constants too. A script of a million statements would otherwise cost millions
// of heap blocks to make and as many to free; here they are carved one after another out of a few
// large blocks and freed with them.
//
// Nothing carved from the arena is ever destroyed or deleted on its own: its memory goes when the
// arena goes. So an object made here may hold only plain data and pointers to other objects and
// texts of the same arena; it must never own a heap block of its own.
#pragma once

#include <cstddef>
#include <new>
#include <utility>

#include "parse_keyword.h"

class ParseArena {
 public:
  ParseArena() = default;
  ~ParseArena() { Release(); }

  // Moved, never copied: an arena has one owner. A parser lends its arena to the parser of an
  // included file by swapping, and the parse hands it to the statement list it returns.
  ParseArena(ParseArena&& other) noexcept;
  ParseArena& operator=(ParseArena&& other) noexcept;
  ParseArena(const ParseArena&) = delete;
  ParseArena& operator=(const ParseArena&) = delete;

  // size bytes aligned to alignment (a power of two); never null (throws std::bad_alloc).
  void* Allocate(std::size_t size, std::size_t alignment);

  template <typename Object, typename... Arguments>
  Object* New(Arguments&&... arguments) {
    return new (Allocate(sizeof(Object), alignof(Object)))
        Object(std::forward<Arguments>(arguments)...);
  }

  // A zero-terminated copy of length bytes of text; null for a null text.
  char* CopyText(const char* text, std::size_t length);
  char* CopyText(const char* text);

  // The bytes of the blocks the arena holds, their headers included.
  std::size_t BytesHeld() const { return held_; }
  // The bytes of released blocks kept for the next arena (not in use by any arena).
  static std::size_t BytesKept();

 private:
  struct Block {
    Block* previous;
    std::size_t size;  // with this header
  };

  void Release();
  void AddBlock(std::size_t atLeast);

  Block* blocks_ = nullptr;  // the newest block, where free_ lies
  char* free_ = nullptr;
  char* end_ = nullptr;
  std::size_t held_ = 0;
};

// The head of a statement list that a parse built, and the owner of the parse's arena, where the
// rest of the list lies. The first statement is moved out of the arena into this object, made on
// the heap, so that the host deletes the list through its head as it would any other: deleting
// the head frees the arena with every node, value and string of the list in one go, however long
// the list is, and then the head itself.
//
// Only the head of such a list may be deleted; the nodes behind it belong to the arena. A copy
// made with the CZKPARSE_KEYWORD copy constructor is an ordinary heap list of its own.
class StatementListHead final : public CZKPARSE_KEYWORD {
 public:
  StatementListHead(const CZKPARSE_KEYWORD& first, ParseArena&& arena);
  ~StatementListHead() override;

 private:
  ParseArena arena_;
};
