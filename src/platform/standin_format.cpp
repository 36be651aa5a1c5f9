// Stand-in for wsprintfW: the Windows formatter, not the C library's.
// Supported: %% and %[-][#][0][width][.precision] with c, d, i, u, x, X, s and
// the size prefixes l, h and I64. As on Windows the output is cut at 1024
// units including the terminator, and the count of units written (without
// the terminator) is returned.
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

void putPadded(Output &out, const WCHAR *text, int length, int width,
               bool leftAlign, WCHAR pad) {
  int padding = width > length ? width - length : 0;
  if (!leftAlign)
    for (int k = 0; k < padding; ++k)
      out.put(pad);
  for (int k = 0; k < length; ++k)
    out.put(text[k]);
  if (leftAlign)
    for (int k = 0; k < padding; ++k)
      out.put(u' ');
}

// Digits of `magnitude`, at least `precision` of them (zero-padded).
int formatNumber(WCHAR *digits, uint64_t magnitude, unsigned base, bool upper,
                 int precision) {
  const char *alphabet = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  WCHAR reversed[24];
  int count = 0;
  do {
    reversed[count++] = static_cast<WCHAR>(alphabet[magnitude % base]);
    magnitude /= base;
  } while (magnitude);
  if (precision > 24)
    precision = 24;
  while (count < precision)
    reversed[count++] = u'0';
  for (int k = 0; k < count; ++k)
    digits[k] = reversed[count - 1 - k];
  return count;
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
    if (*p == u'%') {
      out.put(u'%');
      continue;
    }
    bool leftAlign = false;
    bool prefix = false;
    WCHAR pad = u' ';
    for (;; ++p) {
      if (*p == u'-')
        leftAlign = true;
      else if (*p == u'0')
        pad = u'0';
      else if (*p == u'#')
        prefix = true;
      else
        break;
    }
    int width = 0;
    while (*p >= u'0' && *p <= u'9')
      width = width * 10 + (*p++ - u'0');
    int precision = -1;
    if (*p == u'.') {
      precision = 0;
      ++p;
      while (*p >= u'0' && *p <= u'9')
        precision = precision * 10 + (*p++ - u'0');
    }
    bool wide64 = false;
    if (p[0] == u'I' && p[1] == u'6' && p[2] == u'4') {
      wide64 = true;
      p += 3;
    } else if (*p == u'l' || *p == u'h') {
      ++p; // both are 32-bit (or narrow) here; %ls and %hs are not used
    }
    WCHAR digits[48];
    switch (*p) {
    case u'c': {
      WCHAR unit = static_cast<WCHAR>(va_arg(arguments, int));
      putPadded(out, &unit, 1, width, leftAlign, pad);
      break;
    }
    case u's': {
      LPCWSTR text = va_arg(arguments, LPCWSTR);
      if (!text)
        text = TEXT("(null)");
      int length = lstrlenW(text);
      if (precision >= 0 && precision < length)
        length = precision;
      putPadded(out, text, length, width, leftAlign, pad);
      break;
    }
    case u'd':
    case u'i': {
      int64_t number =
          wide64 ? va_arg(arguments, long long) : va_arg(arguments, int);
      uint64_t magnitude = number < 0 ? 0 - static_cast<uint64_t>(number)
                                      : static_cast<uint64_t>(number);
      int count = 0;
      if (number < 0)
        digits[count++] = u'-';
      count += formatNumber(digits + count, magnitude, 10, false, precision);
      putPadded(out, digits, count, width, leftAlign, number < 0 ? u' ' : pad);
      break;
    }
    case u'u':
    case u'x':
    case u'X': {
      uint64_t number = wide64 ? va_arg(arguments, unsigned long long)
                               : va_arg(arguments, unsigned int);
      unsigned base = *p == u'u' ? 10 : 16;
      int count = 0;
      if (prefix && base == 16 && number != 0) {
        digits[count++] = u'0';
        digits[count++] = *p;
      }
      count +=
          formatNumber(digits + count, number, base, *p == u'X', precision);
      putPadded(out, digits, count, width, leftAlign, pad);
      break;
    }
    case 0:
      --p; // a lone % at the end: stop at the terminator
      break;
    default:
      out.put(*p); // unknown type: Windows prints the character itself
      break;
    }
  }
  va_end(arguments);
  buffer[out.length] = 0;
  return out.length;
}
