#include "app/program_state.h"

std::atomic<uint32_t *> values{nullptr};
uint32_t valueCount = 0;
int32_t requestedSize = 0;
SortRoutine selectedSort = nullptr;
uint32_t runActive = 0;
HANDLE workerThread = nullptr;
DWORD workerThreadId = 0;
LONGLONG counterFrequency = 0;
LONGLONG startCount = 0;
LONGLONG endCount = 0;
WCHAR statusText[statusTextSize] =
    TEXT("좌클릭: 정렬, 우클릭: 섞기, +/-: 자료크기조절");
HBITMAP backBuffer = nullptr;
std::atomic<uint32_t> yieldInterval{1000};
uint32_t operationCount = 0;
uint32_t heapSize = 0;
uint32_t wellState[32] = {};
uint32_t wellIndex = 0;
std::atomic<uint32_t *> retiredBuffer{nullptr};
std::atomic<uint32_t> scratchFailed{0};
