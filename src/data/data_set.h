// The data set: the WELL1024a generator (Panneton, L'Ecuyer, Matsumoto) and
// the shuffle of the shared array. Interface thread only.
#pragma once

#include <cstdint>

// Seeds wellState from srand(time) and rand; called once per process.
void seedGenerator();
// One generator step; returns the new current state word.
uint32_t wellNext();
// Resizes the array to requestedSize when it differs from valueCount, fills
// it with 0..n-1 and applies 3n random transpositions. Does nothing during a
// run. Returns false when the resize could not be done: the old array and
// size are kept (and shuffled), and requestedSize is set back to valueCount.
bool shuffleValues();
