// Descriptions of exception codes: every code of the table has a sentence of its own. (Other codes'
// text the system tests show.)
#include "exception_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

namespace {

TEST(ExceptionTextTest, EachTableCodeHasASentenceOfItsOwn) {
  const std::uint32_t codes[] = {0xC0000005, 0x80000003, 0x80000002, 0x80000004,
                                 0xC000008C, 0xC000008D, 0xC000008E, 0xC000008F,
                                 0xC0000090, 0xC0000091, 0xC0000092, 0xC0000093,
                                 0xC0000094, 0xC0000095, 0xC0000096, 0xC0000025};
  std::set<std::string> sentences;
  for (std::uint32_t code : codes) {
    const std::string text = ExceptionCodeText(code);
    EXPECT_TRUE(!text.empty() && text.back() == '.' && text.rfind("unknown", 0) != 0)
        << std::hex << code << ": " << text;
    sentences.insert(text);
  }
  EXPECT_EQ(sentences.size(), std::size(codes));
}

}  // namespace
