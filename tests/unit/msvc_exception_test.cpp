// Decoding MSVC C++ exception records, on records built by hand in both layouts (32-bit with
// absolute addresses, 64-bit with offsets from the image base) for what the real compiler never
// makes: other magic numbers, names that almost match, text longer than its buffer. The
// compiler's own throws, bases at an offset and virtual bases among them, are decoded
// in the system tests (libs/msvc_engine).
#include "msvc_exception.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A thrower's image: one block of memory at a base address, filled in by the test, with a bump
// allocator. Reads outside it fail, as guarded reads of unmapped memory do.
class ForeignImage : public ForeignMemory {
 public:
  ForeignImage(bool wide, std::uint64_t base) : wide_(wide), base_(base), bytes_(16384, 0) {}

  bool Read(std::uint64_t address, void* bytes, std::size_t size) const override {
    if (address < base_ || address - base_ > bytes_.size() ||
        size > bytes_.size() - (address - base_)) {
      return false;
    }
    std::memcpy(bytes, bytes_.data() + (address - base_), size);
    return true;
  }

  std::uint64_t PointerSize() const { return wide_ ? 8 : 4; }
  // Room for size bytes, aligned to 8; returns its address.
  std::uint64_t Allocate(std::size_t size) {
    const std::uint64_t address = base_ + used_;
    used_ += (size + 7) & ~std::size_t{7};
    return address;
  }
  void Put(std::uint64_t address, const void* bytes, std::size_t size) {
    ASSERT_TRUE(address >= base_ && address - base_ + size <= bytes_.size());
    std::memcpy(bytes_.data() + (address - base_), bytes, size);
  }
  void Put32(std::uint64_t address, std::uint32_t value) { Put(address, &value, sizeof value); }
  // Little-endian, as both layouts are: a 32-bit pointer is the value's low half.
  void PutPointer(std::uint64_t address, std::uint64_t value) {
    Put(address, &value, PointerSize());
  }
  // A 32-bit reference as the thrower stores it.
  void PutReference(std::uint64_t address, std::uint64_t target) {
    Put32(address, static_cast<std::uint32_t>(target == 0 ? 0 : wide_ ? target - base_ : target));
  }
  std::uint64_t Text(const std::string& text) {
    const std::uint64_t address = Allocate(text.size() + 1);
    Put(address, text.c_str(), text.size() + 1);
    return address;
  }

  ForeignExceptionRecord Record(std::uint64_t object, std::uint64_t throwInfo) const {
    ForeignExceptionRecord record;
    record.code = kMsvcExceptionCode;
    record.parameterCount = wide_ ? 4 : 3;
    record.parameters[0] = 0x19930520;
    record.parameters[1] = object;
    record.parameters[2] = throwInfo;
    record.parameters[3] = wide_ ? base_ : 0;
    return record;
  }

 private:
  bool wide_;
  std::uint64_t base_;
  std::vector<unsigned char> bytes_;
  std::size_t used_ = 64;  // nothing lives at the base itself
};

// A throw whose type lists the given decorated names as its catchable types, of an object that
// is an engine exception (vtable pointer, message, file, line).
struct Throw {
  ForeignImage image;
  std::uint64_t object = 0;
  std::uint64_t throwInfo = 0;
  ForeignEngineException exception;  // what decoding found

  Throw(bool wide, const std::vector<std::string>& names)
      : image(wide, wide ? 0x140000000ull : 0x10000000ull) {
    const std::uint64_t width = image.PointerSize();
    object = image.Allocate(8 * width);
    image.PutPointer(object + width, image.Text("bad state"));
    image.PutPointer(object + 2 * width, image.Text("world"));
    image.Put32(object + 3 * width, 12);

    const std::uint64_t array = image.Allocate(4 + 4 * names.size());
    image.Put32(array, static_cast<std::uint32_t>(names.size()));
    for (std::size_t i = 0; i < names.size(); ++i) {
      // The decorated name lies inside the descriptor, after its two pointers.
      const std::uint64_t descriptor = image.Allocate(2 * width + names[i].size() + 1);
      image.Put(descriptor + 2 * width, names[i].c_str(), names[i].size() + 1);
      const std::uint64_t type = image.Allocate(28);
      image.PutReference(type + 4, descriptor);
      image.Put32(type + 12, 0xFFFFFFFF);  // no virtual base: mdisp 0, pdisp -1
      image.PutReference(array + 4 + 4 * i, type);
    }
    throwInfo = image.Allocate(16);
    image.PutReference(throwInfo + 12, array);
  }

  ForeignThrow Decode(ForeignExceptionRecord record) {
    return DecodeForeignThrow(record, image, exception);
  }
  ForeignThrow Decode() { return Decode(image.Record(object, throwInfo)); }
};

const char kEngine[] = ".?AVCEngineException@@";

class ForeignThrowTest : public testing::TestWithParam<bool> {};

INSTANTIATE_TEST_SUITE_P(BothLayouts, ForeignThrowTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Image64" : "Absolute32");
                         });

TEST_P(ForeignThrowTest, OnlyMsvcThrowsOfTheWholeNameAreEngineExceptionsAndTheirTextIsCut) {
  EXPECT_EQ(Throw(GetParam(), {".?AVruntime_error@std@@", ".?AVexception@std@@"}).Decode(),
            ForeignThrow::kOther);
  // The whole name must match, not its beginning.
  EXPECT_EQ(Throw(GetParam(), {".?AVCEngineException@@X"}).Decode(), ForeignThrow::kOther);
  EXPECT_EQ(Throw(GetParam(), {".?AVCEngineExceptio"}).Decode(), ForeignThrow::kOther);

  Throw thrown(GetParam(), {kEngine});
  const ForeignExceptionRecord intact = thrown.image.Record(thrown.object, thrown.throwInfo);
  ForeignExceptionRecord record = intact;
  for (std::uint64_t magic : {0x19930520ull, 0x19930521ull, 0x19930522ull, 0x19930523ull}) {
    record.parameters[0] = magic;
    EXPECT_EQ(thrown.Decode(record),
              magic == 0x19930523 ? ForeignThrow::kNotMsvc : ForeignThrow::kEngineException);
  }
  record = intact;
  record.code = 0xC0000005;
  EXPECT_EQ(thrown.Decode(record), ForeignThrow::kNotMsvc);
  record = intact;
  record.parameterCount = 2;
  EXPECT_EQ(thrown.Decode(record), ForeignThrow::kNotMsvc);

  Throw longText(GetParam(), {kEngine});
  const std::string text(3000, 'x');
  longText.image.PutPointer(longText.object + longText.image.PointerSize(),
                            longText.image.Text(text));
  ASSERT_EQ(longText.Decode(), ForeignThrow::kEngineException);
  EXPECT_EQ(std::string(longText.exception.message),
            text.substr(0, sizeof longText.exception.message - 1));
  EXPECT_STREQ(longText.exception.file, "world");
  EXPECT_EQ(longText.exception.line, 12);
}

}  // namespace
