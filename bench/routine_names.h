// English names of the catalogue's rows for the benchmarks' output (the
// catalogue's own names are the Korean ones shown on screen).
#pragma once

inline const char *sortRoutineName(char key) {
  switch (key) {
  case 'b':
    return "bubble";
  case 's':
    return "selection";
  case 'i':
    return "insertion";
  case 'l':
    return "shell";
  case 'd':
    return "distribution";
  case 'q':
    return "quick";
  case 'm':
    return "merge";
  case 'h':
    return "heap";
  case 'u':
    return "bottom_up_heap";
  case 'r':
    return "radix_exchange";
  case 'x':
    return "straight_radix";
  default:
    return "?";
  }
}
