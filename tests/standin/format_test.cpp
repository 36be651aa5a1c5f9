// wsprintfW: the Windows formatter (not the C library's), as the program's
// status and listing lines use it.
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

TEST(Format, ConversionsAndFields) {
  struct Case {
    const char16_t *expected;
    Formatted produced;
  };
  const Case cases[] = {
      {u"자료크기: 30000", format(TEXT("자료크기: %u"), 30000u)},
      {u"정렬 중... 4294967295항목",
       format(TEXT("정렬 중... %u항목"), 4294967295u)},
      {u"12345678901234틱 소요.",
       format(TEXT("%I64u틱 소요."), 12345678901234ULL)},
      {u"-> q: 퀵 정렬", format(TEXT("%s %c: %s"), u"->", u'q', u"퀵 정렬")},
      {u" b: 거품 정렬", format(TEXT("%s %c: %s"), u"", u'b', u"거품 정렬")},
      {u"-42 17", format(TEXT("%d %i"), -42, 17)},
      {u"-2147483648", format(TEXT("%d"), -2147483647 - 1)},
      {u"-9000000000", format(TEXT("%I64d"), -9000000000LL)},
      {u"7 8", format(TEXT("%lu %ld"), 7ul, 8l)},
      {u"ff FF", format(TEXT("%x %X"), 255u, 255u)},
      {u"[   42]", format(TEXT("[%5u]"), 42u)},
      {u"[42   ]", format(TEXT("[%-5u]"), 42u)},
      {u"[00042]", format(TEXT("[%05u]"), 42u)},
      {u"[ab]", format(TEXT("[%.2s]"), u"abc")},
      {u"[  abc]", format(TEXT("[%5s]"), u"abc")},
      {u"100%", format(TEXT("%u%%"), 100u)},
      {u"y", format(TEXT("%y"))}, // not a type: the character itself
      {u"", format(TEXT(""))},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(narrow(c.expected));
    EXPECT_EQ(c.produced.text, c.expected);
    EXPECT_EQ(c.produced.returned, static_cast<int>(c.produced.text.size()));
  }
}

// Documented fields the program does not use: the 0x prefix and a minimum
// digit count.
TEST(Format, HexPrefixAndDigitPrecision) {
  EXPECT_EQ(format(TEXT("%#x %#X"), 255u, 255u).text, u"0xff 0XFF");
  EXPECT_EQ(format(TEXT("[%.3u] [%.2d]"), 5u, -5).text, u"[005] [-05]");
}

// The output stops at 1024 units, the terminator included.
TEST(Format, OutputIsCutAt1024Units) {
  std::u16string longLine(2000, u'x');
  Formatted produced = format(TEXT("%s!"), longLine.c_str());
  EXPECT_EQ(produced.returned, 1023);
  EXPECT_EQ(produced.text, std::u16string(1023, u'x'));
}

} // namespace
