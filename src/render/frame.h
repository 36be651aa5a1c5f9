// Frame rendering: the whole frame is drawn into backBuffer, then copied to
// the window on the paint message.
#pragma once

#include "platform/win32.h"
#include "sorts/sort_catalogue.h"

// Status line and listing positions.
constexpr int statusX = 300;
constexpr int statusY = 5;
constexpr int listingInset = 300; // listing at x = W - 300
constexpr int listingRowHeight = 20;

// Draws a complete frame into backBuffer (creating it when absent), noticing
// the end of a run first, and invalidates the window.
void renderFrame(HWND window);
// The scatter plot: one black pixel per column, value 0 at the top.
void plotValues(HDC deviceContext, int width, int height);
// The catalogue listing at x = width - listingInset, one row every
// listingRowHeight pixels, the selected routine's marked "->".
void drawListing(HDC deviceContext, int width);
// One listing line ("%s %c: %s": marker, key, name) into `line`.
constexpr int listingLineSize = 256;
void formatListingLine(WCHAR (&line)[listingLineSize], const SortEntry &entry);
// Copies backBuffer to the paint device context at (0, 0).
void presentFrame(HDC deviceContext);
