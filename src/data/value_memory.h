// Allocation of value arrays (the data array and the sorts' scratch copies).
// Every size is checked: a count whose byte size does not fit the address
// space fails like an allocation the system refuses, with nullptr / false,
// and never wraps.
#pragma once

#include <cstdint>

// A block for `count` values (at least one byte, so that 0 values still get
// a block of their own), or nullptr.
uint32_t *allocateValues(uint64_t count);
// Resizes `block` to `count` values, keeping its contents and, where the
// allocator can, its address. On failure `block` is untouched and false is
// returned.
bool resizeValues(uint32_t *&block, uint64_t count);
void releaseValues(uint32_t *block);
