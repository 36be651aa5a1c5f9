// What the tests and benchmarks know of each catalogue routine beyond what
// the catalogue itself holds (key, Korean name, routine): an English label
// for output, and how it paces itself. One table, in catalogue order.
#pragma once

#include <cstddef>

#include "sorts/sort_catalogue.h"

enum class Pacing {
  never,      // runs at the worker's full speed
  countStep,  // pauses where the program-wide count meets yieldInterval
  ownCounter, // pauses after every 1000 steps of its own (merge sort)
};

struct RoutineFacts {
  char key;
  const char *label;
  Pacing pacing;
  bool quadratic; // about a second on 30000 values
};

inline constexpr RoutineFacts routineFacts[sortCatalogueSize] = {
    {'b', "bubble", Pacing::never, true},
    {'s', "selection", Pacing::never, true},
    {'i', "insertion", Pacing::never, true},
    {'l', "shell", Pacing::countStep, false},
    {'d', "distribution", Pacing::countStep, false},
    {'q', "quick", Pacing::countStep, false},
    {'m', "merge", Pacing::ownCounter, false},
    {'h', "heap", Pacing::countStep, false},
    {'u', "bottom_up_heap", Pacing::countStep, false},
    {'r', "radix_exchange", Pacing::countStep, false},
    {'x', "straight_radix", Pacing::countStep, false},
};

// The facts of a catalogue routine.
inline const RoutineFacts &factsOf(SortRoutine routine) {
  size_t row = 0;
  while (row + 1 < sortCatalogueSize && sortCatalogue[row].routine != routine)
    ++row;
  return routineFacts[row];
}
