// wsprintfW: the Windows formatter (not the C library's), with the
// conversions the program's messages use.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32.h"

namespace {

struct Formatted {
  std::u16string text;
  int returned;
};

template <typename... Arguments>
Formatted format(LPCWSTR pattern, Arguments... arguments) {
  WCHAR buffer[1100];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  int returned = wsprintfW(buffer, pattern, arguments...);
  return Formatted{std::u16string(buffer), returned};
}

std::string narrow(const std::u16string &text) {
  std::string out;
  for (char16_t unit : text)
    out += unit < 0x80 ? static_cast<char>(unit) : '?';
  return out;
}

TEST(Format, Conversions) {
  struct Case {
    const char16_t *expected;
    Formatted produced;
  };
  const Case cases[] = {
      {u"자료크기: 0", format(TEXT("자료크기: %u"), 0u)},
      {u"4294967295항목", format(TEXT("%u항목"), 4294967295u)},
      {u"18446744073709551615틱",
       format(TEXT("%I64u틱"), 18446744073709551615ULL)},
      {u"[] [x] [정렬]", format(TEXT("[%s] [%c] [%s]"), u"", u'x', u"정렬")},
      {u"y", format(TEXT("%y"))}, // not a type: the character itself
      {u"", format(TEXT(""))},
      {u"end", format(TEXT("end%"))},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(narrow(c.expected));
    EXPECT_EQ(c.produced.text, c.expected);
    EXPECT_EQ(c.produced.returned, static_cast<int>(c.produced.text.size()));
  }
}

// The output stops at 1024 units, the terminator included.
TEST(Format, OutputIsCutAt1024Units) {
  std::u16string longLine(2000, u'x');
  Formatted produced = format(TEXT("%s!"), longLine.c_str());
  EXPECT_EQ(produced.returned, 1023);
  EXPECT_EQ(produced.text, std::u16string(1023, u'x'));
}

} // namespace
