// Descriptions of exception codes: the table's sentences and the text for unknown codes.
#include "exception_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ExceptionTextTest, KnownCodesGiveTheirSentence) {
  EXPECT_STREQ(ExceptionCodeText(0xC0000005),
               "The thread attempted to read from or write to a virtual address for which it does "
               "not have the appropriate access.");
  EXPECT_STREQ(ExceptionCodeText(0xC000008D),
               "One of the operands in a floating-point operation is denormal. A denormal value is "
               "one that is too small to represent as a standard floating-point value.");
  EXPECT_STREQ(ExceptionCodeText(0xC0000094),
               "The thread attempted to divide an integer value by an integer divisor of zero.");
  EXPECT_STREQ(
      ExceptionCodeText(0xC0000025),
      "The thread attempted to continue execution after a noncontinuable exception occurred.");
}

TEST(ExceptionTextTest, UnknownCodesShareOneBuffer) {
  const char* illegal = ExceptionCodeText(0xC000001D);
  EXPECT_STREQ(illegal, "unknown exception: c000001d");

  // A known code leaves the buffer alone; the next unknown code overwrites it in place.
  EXPECT_STRNE(ExceptionCodeText(0x80000003), illegal);
  EXPECT_STREQ(illegal, "unknown exception: c000001d");
  const char* other = ExceptionCodeText(0x7);
  EXPECT_EQ(other, illegal);
  EXPECT_STREQ(illegal, "unknown exception: 7");
}

}  // namespace
