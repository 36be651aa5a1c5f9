// Stand-in for wsprintfW: the Windows formatter, not the C library's, with
// the conversions the program's messages use: %u, %I64u, %s and %c. Any
// other character after % is written as it is, as Windows does with a type
// it does not know. As on Windows the output is cut at 1024 units including
// the terminator, and the count of units written (without the terminator)
// is returned.
#include <cstdarg>
#include <cstdint>

#include "platform/win32.h"

namespace {

constexpr int outputLimit = 1024;

struct Output {
  LPWSTR buffer;
  int length = 0;
  void put(WCHAR unit) {
    if (length < outputLimit - 1)
      buffer[length++] = unit;
  }
};

void putDecimal(Output &out, uint64_t number) {
  WCHAR reversed[20];
  int count = 0;
  do {
    reversed[count++] = static_cast<WCHAR>(u'0' + number % 10);
    number /= 10;
  } while (number);
  while (count > 0)
    out.put(reversed[--count]);
}

} // namespace

int WINAPIV wsprintfW(LPWSTR buffer, LPCWSTR format, ...) {
  va_list arguments;
  va_start(arguments, format);
  Output out{buffer};
  for (const WCHAR *p = format; *p; ++p) {
    if (*p != u'%') {
      out.put(*p);
      continue;
    }
    ++p;
    bool wide64 = p[0] == u'I' && p[1] == u'6' && p[2] == u'4';
    if (wide64)
      p += 3;
    if (*p == 0)
      break; // a lone % at the end
    switch (*p) {
    case u'u':
      putDecimal(out, wide64 ? va_arg(arguments, unsigned long long)
                             : va_arg(arguments, unsigned int));
      break;
    case u'c':
      out.put(static_cast<WCHAR>(va_arg(arguments, int)));
      break;
    case u's':
      for (LPCWSTR text = va_arg(arguments, LPCWSTR); text && *text; ++text)
        out.put(*text);
      break;
    default:
      out.put(*p);
      break;
    }
  }
  va_end(arguments);
  buffer[out.length] = 0;
  return out.length;
}
