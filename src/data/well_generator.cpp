#include <cstdlib>
#include <ctime>

#include "app/program_state.h"
#include "data/data_set.h"

void seedGenerator() {
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  for (uint32_t &word : wellState) {
    uint32_t r1 = static_cast<uint32_t>(std::rand());
    uint32_t r2 = static_cast<uint32_t>(std::rand());
    uint32_t r3 = static_cast<uint32_t>(std::rand());
    word = (((r1 << 9) ^ r2) << 8) ^ r3;
  }
  wellIndex = 0;
}

// WELL1024a: M1 = 3, M2 = 24, M3 = 10; indices modulo 32.
uint32_t wellNext() {
  uint32_t *s = wellState;
  uint32_t i = wellIndex;
  uint32_t z0 = s[(i + 31) & 31];
  uint32_t z1 = s[i] ^ s[(i + 3) & 31] ^ (s[(i + 3) & 31] >> 8);
  uint32_t m2 = s[(i + 24) & 31];
  uint32_t m3 = s[(i + 10) & 31];
  uint32_t z2 = m2 ^ (m2 << 19) ^ m3 ^ (m3 << 14);
  s[i] = z1 ^ z2;
  s[(i + 31) & 31] = z0 ^ (z0 << 11) ^ z1 ^ (z1 << 7) ^ z2 ^ (z2 << 13);
  wellIndex = (i + 31) & 31;
  return s[wellIndex];
}
