// The binary form of a statement list. Every item starts with an int32 that tells a reader what
// follows: 0, 1 or 2 a value of that type, 32 a block, 16 the next node, -1 the end of a list.
// Integers and floats are little-endian whatever the host, strings carry no terminating zero.
#include <cstdint>
#include <cstring>

#include "parse_keyword.h"

namespace {

constexpr std::int32_t kNodeMarker = 16;
constexpr std::int32_t kBlockMarker = 32;
constexpr std::int32_t kEndMarker = -1;

void WriteUint32(std::FILE* stream, std::uint32_t value) {
  const unsigned char bytes[4] = {
      static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
      static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
  std::fwrite(bytes, 1, sizeof bytes, stream);
}

void WriteInt32(std::FILE* stream, std::int32_t value) {
  WriteUint32(stream, static_cast<std::uint32_t>(value));
}

void WriteFloat(std::FILE* stream, float value) {
  static_assert(sizeof(float) == sizeof(std::uint32_t), "floats are written as 32-bit IEEE");
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  WriteUint32(stream, bits);
}

void WriteBytes(std::FILE* stream, const char* bytes, std::size_t length) {
  WriteInt32(stream, static_cast<std::int32_t>(length));
  if (length > 0) std::fwrite(bytes, 1, length, stream);
}

// Byte count, then the bytes; a null text counts as empty.
void WriteText(std::FILE* stream, const char* text) {
  WriteBytes(stream, text, text == nullptr ? 0 : std::strlen(text));
}

void WriteValue(std::FILE* stream, const CZKPARSE_PARAM* param) {
  WriteInt32(stream, param->type);
  switch (param->type) {
    case ZKPARSE_TYPE_INT:
      WriteInt32(stream, static_cast<const CZKPARSE_INT*>(param)->value);
      break;
    case ZKPARSE_TYPE_FLOAT:
      WriteFloat(stream, static_cast<const CZKPARSE_FLOAT*>(param)->value);
      break;
    case ZKPARSE_TYPE_STRING:
      WriteText(stream, static_cast<const CZKPARSE_STRING*>(param)->value);
      break;
    default:
      break;  // a type without a value class writes no value
  }
  WriteText(stream, param->name);
}

}  // namespace

void CZKPARSE_KEYWORD::WriteBinary(std::FILE* stream) {
  // Along the list in a loop, like the destructor; only blocks recurse.
  for (const CZKPARSE_KEYWORD* node = this; node != nullptr; node = node->next) {
    WriteInt32(stream, kNodeMarker);
    // The name array is read no further than its end, even if it was filled without a zero.
    const void* end = std::memchr(node->name, '\0', sizeof node->name);
    const std::size_t length =
        end == nullptr ? sizeof node->name
                       : static_cast<std::size_t>(static_cast<const char*>(end) - node->name);
    WriteBytes(stream, node->name, length);
    for (const CZKPARSE_PARAM* param = node->params; param != nullptr; param = param->next) {
      WriteValue(stream, param);
    }
    if (node->block != nullptr) {
      WriteInt32(stream, kBlockMarker);
      node->block->WriteBinary(stream);
    }
  }
  WriteInt32(stream, kEndMarker);
}
