#include "render/frame.h"

#include "app/program_state.h"
#include "app/run_control.h"
#include "sorts/sort_catalogue.h"

void plotValues(HDC deviceContext, int width, int height) {
  // A minimised window (width 0) or an empty array has nothing to plot, and
  // must not reach the divisions below.
  uint32_t n = valueCount;
  if (width <= 0 || height <= 0 || n == 0)
    return;
  uint32_t step = n / static_cast<uint32_t>(width);
  for (int x = width - 1; x >= 0; --x) {
    // Taken per column: the merge sort moves the pointer between passes.
    uint32_t *a = values.load(std::memory_order_acquire);
    uint32_t value = loadShared(a, static_cast<uint32_t>(x) * step);
    // In 64 bits: value * height passes 2^32 on large arrays.
    uint64_t y = uint64_t{value} * static_cast<uint32_t>(height) / n;
    if (y < static_cast<uint64_t>(height))
      SetPixel(deviceContext, x, static_cast<int>(y), RGB(0, 0, 0));
  }
}

void formatListingLine(WCHAR (&line)[listingLineSize], const SortEntry &entry) {
  LPCWSTR marker = entry.routine == selectedSort ? TEXT("->") : TEXT("");
  wsprintfW(line, TEXT("%s %c: %s"), marker, entry.key, entry.name);
}

void drawListing(HDC deviceContext, int width) {
  for (size_t row = 0; row < sortCatalogueSize; ++row) {
    WCHAR line[listingLineSize];
    formatListingLine(line, sortCatalogue[row]);
    TextOutW(deviceContext, width - listingInset,
             listingRowHeight * static_cast<int>(row), line, lstrlenW(line));
  }
}

void renderFrame(HWND window) {
  HDC windowContext = GetDC(window);
  RECT client;
  GetClientRect(window, &client);
  int width = client.right;
  int height = client.bottom;
  if (!backBuffer)
    backBuffer = CreateCompatibleBitmap(windowContext, width, height);
  HDC memory = CreateCompatibleDC(windowContext);
  HGDIOBJ previous = SelectObject(memory, backBuffer);
  FillRect(memory, &client, GetSysColorBrush(COLOR_WINDOW));

  pollRun(window);
  plotValues(memory, width, height);
  TextOutW(memory, statusX, statusY, statusText, lstrlenW(statusText));
  if (!runActive)
    drawListing(memory, width);

  SelectObject(memory, previous);
  DeleteDC(memory);
  ReleaseDC(window, windowContext);
  InvalidateRect(window, nullptr, FALSE);
}

void presentFrame(HDC deviceContext) {
  HDC memory = CreateCompatibleDC(deviceContext);
  HGDIOBJ previous = SelectObject(memory, backBuffer);
  BITMAP bitmap = {};
  GetObjectW(backBuffer, sizeof bitmap, &bitmap);
  BitBlt(deviceContext, 0, 0, bitmap.bmWidth, bitmap.bmHeight, memory, 0, 0,
         SRCCOPY);
  SelectObject(memory, previous);
  DeleteDC(memory);
}
