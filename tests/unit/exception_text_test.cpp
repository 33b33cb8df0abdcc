// Descriptions of exception codes, as a player reads them in the box: each code of the table with
// its own sentence, written out here as the player is to read it. (Other codes' text the system
// tests show.)
#include "exception_text.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(ExceptionTextTest, EachTableCodeHasItsSentence) {
  const struct {
    std::uint32_t code;
    const char* text;
  } table[] = {
      {0xC0000005,
       "The thread attempted to read from or write to a virtual address for which it does not "
       "have the appropriate access."},
      {0x80000003, "A breakpoint was encountered."},
      {0x80000002,
       "The thread attempted to read or write data that is misaligned on hardware that does not "
       "provide alignment. For example, 16-bit values must be aligned on 2-byte boundaries, 32-bit "
       "values on 4-byte boundaries, and so on."},
      {0x80000004,
       "A trace trap or other single-instruction mechanism signaled that one instruction has been "
       "executed."},
      {0xC000008C,
       "The thread attempted to access an array element that is out of bounds, and the underlying "
       "hardware supports bounds checking."},
      {0xC000008D,
       "One of the operands in a floating-point operation is denormal. A denormal value is one "
       "that is too small to represent as a standard floating-point value."},
      {0xC000008E,
       "The thread attempted to divide a floating-point value by a floating-point divisor of "
       "zero."},
      {0xC000008F,
       "The result of a floating-point operation cannot be represented exactly as a decimal "
       "fraction."},
      {0xC0000090,
       "This exception represents any floating-point exception not included in this list."},
      {0xC0000091,
       "The exponent of a floating-point operation is greater than the magnitude allowed by the "
       "corresponding type."},
      {0xC0000092,
       "The stack overflowed or underflowed as the result of a floating-point operation."},
      {0xC0000093,
       "The exponent of a floating-point operation is less than the magnitude allowed by the "
       "corresponding type."},
      {0xC0000094,
       "The thread attempted to divide an integer value by an integer divisor of zero."},
      {0xC0000095,
       "The result of an integer operation caused a carry out of the most significant bit of the "
       "result."},
      {0xC0000096,
       "The thread attempted to execute an instruction whose operation is not allowed in the "
       "current machine mode."},
      {0xC0000025,
       "The thread attempted to continue execution after a noncontinuable exception occurred."},
  };
  for (const auto& row : table) {
    EXPECT_STREQ(ExceptionCodeText(row.code), row.text) << std::hex << row.code;
  }
}

}  // namespace
