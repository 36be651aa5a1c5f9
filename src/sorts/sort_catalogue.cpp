#include "sorts/sort_catalogue.h"

#include "data/value_memory.h"

const SortEntry sortCatalogue[sortCatalogueSize] = {
    {TEXT('b'), TEXT("거품 정렬"), bubbleSort},
    {TEXT('s'), TEXT("선택 정렬"), selectionSort},
    {TEXT('i'), TEXT("삽입 정렬"), insertionSort},
    {TEXT('l'), TEXT("쉘 정렬"), shellSort},
    {TEXT('d'), TEXT("분포 수 세기"), distributionCountSort},
    {TEXT('q'), TEXT("퀵 정렬"), quickSort},
    {TEXT('m'), TEXT("병합 정렬"), mergeSort},
    {TEXT('h'), TEXT("힙 정렬"), heapSort},
    {TEXT('u'), TEXT("상향식 힙 정렬"), bottomUpHeapSort},
    {TEXT('r'), TEXT("기수교환정렬"), radixExchangeSort},
    {TEXT('x'), TEXT("직접기수정렬"), straightRadixSort},
};

SortRoutine findSortByKey(unsigned key) {
  SortRoutine found = nullptr;
  for (const SortEntry &entry : sortCatalogue)
    if (entry.key == key)
      found = entry.routine;
  return found;
}

uint32_t *allocateScratch(uint32_t count) {
  uint32_t *block = allocateValues(count);
  if (!block)
    scratchFailed.store(1, std::memory_order_relaxed);
  return block;
}
