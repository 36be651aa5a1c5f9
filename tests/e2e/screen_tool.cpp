// Helper of the end-to-end scripts:
//   screen_tool close WINDOW-ID       asks an X window to close, as its close
//                                     button would (WM_DELETE_WINDOW)
//   screen_tool check IMAGE.ppm WHAT  checks a screenshot of the client area:
//     cloud      the plot is a scattered cloud (a shuffled array)
//     diagonal   the plot is a falling diagonal (a sorted array)
//     listing    the algorithm listing is drawn at the right
//     nolisting  it is not
//     marker R   the "->" marker stands on listing row R (0-based)
//   screen_tool same-status A.ppm B.ppm  the status line reads the same in
//                                     both screenshots (exit 0) or not (1)
//   screen_tool routines              the catalogue's rows: key, English
//                                     label, quadratic (1) or not (0)
//   screen_tool first-frame TITLE MS  waits up to MS milliseconds for a
//                                     window named TITLE to show a frame
//                                     with the listing, and prints the
//                                     moment it saw it (CLOCK_REALTIME, ns)
// Exit status 0 when the check holds; it prints what it measured.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "render/frame.h"
#include "support/routine_facts.h"

namespace {

// The frame's layout, as the program draws it: the listing's rows at
// width - listingInset, and the plot seen clear of all text below them.
constexpr int listingRows = static_cast<int>(sortCatalogueSize);
constexpr int belowListing = listingRowHeight * listingRows + 20;

struct Image {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;
  bool dark(int x, int y) const {
    const unsigned char *p = &rgb[(size_t(y) * width + x) * 3];
    return p[0] + p[1] + p[2] < 3 * 96;
  }
};

bool readPpm(const char *path, Image &image) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maximum = 0;
  in >> magic >> image.width >> image.height >> maximum;
  in.get();
  if (magic != "P6" || maximum != 255 || image.width <= 0)
    return false;
  image.rgb.resize(size_t(image.width) * image.height * 3);
  in.read(reinterpret_cast<char *>(image.rgb.data()), image.rgb.size());
  return bool(in);
}

// Where the plot can be seen clear of the text: below the listing, left of
// it. Returns for each column the row of its dark pixel there, or -1.
std::vector<int> plotRows(const Image &image, int top) {
  std::vector<int> rows(image.width, -1);
  for (int x = 0; x < image.width; ++x)
    for (int y = top; y < image.height; ++y)
      if (image.dark(x, y)) {
        rows[x] = y;
        break;
      }
  return rows;
}

int listingDarkPixels(const Image &image, int firstRow, int lastRow) {
  int count = 0;
  int left = image.width - listingInset;
  for (int y = firstRow * listingRowHeight;
       y < (lastRow + 1) * listingRowHeight && y < image.height; ++y)
    for (int x = left < 0 ? 0 : left; x < image.width - 150; ++x)
      count += image.dark(x, y);
  return count;
}

// Text is dense: hundreds of dark pixels even where a font lacks Hangul
// and draws hollow boxes; plot dots there are at most one per column of
// the 150 counted, and only those in the listing's rows.
constexpr int listingInk = 300;

int check(const Image &image, const std::string &what, int argument) {
  // The plot as seen below the text: a sorted array never descends from one
  // column to the next, a shuffled one does about every other column.
  std::vector<int> rows = plotRows(image, belowListing);
  int seen = 0, descents = 0, previous = -1;
  for (int x = 0; x < image.width - 1; ++x) {
    if (rows[x] < 0)
      continue;
    ++seen;
    if (previous >= 0 && rows[x] < previous)
      ++descents;
    previous = rows[x];
  }
  int listing = listingDarkPixels(image, 0, listingRows - 1);
  std::printf("%dx%d: plot columns seen %d, descents %d; listing dark "
              "pixels %d\n",
              image.width, image.height, seen, descents, listing);
  if (what == "cloud")
    return seen > image.width / 8 && descents * 4 > seen ? 0 : 1;
  if (what == "diagonal")
    return seen > image.width / 8 && descents * 50 < seen ? 0 : 1;
  if (what == "listing")
    return listing > listingInk ? 0 : 1;
  if (what == "nolisting")
    return listing < 150 ? 0 : 1;
  if (what == "marker") {
    // Every listing line but the marked one starts with a space, so only
    // the "->" row has ink in the first columns of the listing. Stray plot dots
    // there are at most one per column.
    int best = -1, bestCount = 0;
    for (int row = 0; row < listingRows; ++row) {
      int count = 0;
      int top = row * listingRowHeight;
      for (int y = top; y < top + 16; ++y)
        for (int x = image.width - listingInset;
             x < image.width - listingInset + 3; ++x)
          count += image.dark(x, y);
      if (count > bestCount) {
        bestCount = count;
        best = row;
      }
    }
    std::printf("marker on row %d (%d dark pixels)\n", best, bestCount);
    return best == argument && bestCount >= 2 ? 0 : 1;
  }
  std::fprintf(stderr, "unknown check %s\n", what.c_str());
  return 2;
}

int closeWindow(unsigned long window) {
  Display *display = XOpenDisplay(nullptr);
  if (!display)
    return 2;
  XEvent event = {};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] =
      long(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
  XCloseDisplay(display);
  return 0;
}

// The status line's cell: from statusX to the listing (or the edge), one
// line of text high.
int sameStatus(const Image &a, const Image &b) {
  if (a.width != b.width || a.height != b.height) {
    std::printf("sizes differ: %dx%d, %dx%d\n", a.width, a.height, b.width,
                b.height);
    return 1;
  }
  int right = std::max(statusX + 1, a.width - listingInset);
  int differing = 0;
  for (int y = statusY; y < statusY + 16 && y < a.height; ++y)
    for (int x = statusX; x < right && x < a.width; ++x)
      differing += a.dark(x, y) != b.dark(x, y);
  std::printf("status line: %d pixels differ\n", differing);
  return differing == 0 ? 0 : 1;
}

long long realtimeNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return now.tv_sec * 1000000000LL + now.tv_nsec;
}

// A window is looked at while it may vanish or change: errors are expected.
int ignoreErrors(Display *, XErrorEvent *) { return 0; }

// The viewable window named `title` below `parent`, or 0.
Window findViewable(Display *display, Window parent, const char *title) {
  Window root, owner, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display, parent, &root, &owner, &children, &count))
    return 0;
  Window found = 0;
  for (unsigned k = 0; k < count && !found; ++k) {
    char *name = nullptr;
    XWindowAttributes attributes;
    if (XFetchName(display, children[k], &name) && name &&
        std::strcmp(name, title) == 0 &&
        XGetWindowAttributes(display, children[k], &attributes) &&
        attributes.map_state == IsViewable)
      found = children[k];
    if (name)
      XFree(name);
    if (!found)
      found = findViewable(display, children[k], title);
  }
  if (children)
    XFree(children);
  return found;
}

bool capture(Display *display, Window window, Image &image) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes))
    return false;
  XImage *shot = XGetImage(display, window, 0, 0, attributes.width,
                           attributes.height, AllPlanes, ZPixmap);
  if (!shot)
    return false;
  image.width = shot->width;
  image.height = shot->height;
  image.rgb.resize(size_t(image.width) * image.height * 3);
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      unsigned long pixel = XGetPixel(shot, x, y);
      unsigned char *p = &image.rgb[(size_t(y) * image.width + x) * 3];
      p[0] = (pixel & shot->red_mask) >> 16;
      p[1] = (pixel & shot->green_mask) >> 8;
      p[2] = pixel & shot->blue_mask;
    }
  XDestroyImage(shot);
  return true;
}

int firstFrame(const char *title, long timeoutMs) {
  long long deadline = realtimeNanoseconds() + timeoutMs * 1000000LL;
  XSetErrorHandler(ignoreErrors);
  Display *display = nullptr;
  while (realtimeNanoseconds() < deadline) {
    if (!display)
      display = XOpenDisplay(nullptr);
    Image image;
    Window window =
        display ? findViewable(display, DefaultRootWindow(display), title) : 0;
    if (window && capture(display, window, image) &&
        listingDarkPixels(image, 0, listingRows - 1) > listingInk) {
      std::printf("%lld\n", realtimeNanoseconds());
      XCloseDisplay(display);
      return 0;
    }
    timespec pause{0, 2000000};
    nanosleep(&pause, nullptr);
  }
  std::fprintf(stderr, "no frame of %s within %ld ms\n", title, timeoutMs);
  return 1;
}

} // namespace

int main(int argc, char **argv) {
  if (argc == 3 && std::strcmp(argv[1], "close") == 0)
    return closeWindow(std::strtoul(argv[2], nullptr, 0));
  if (argc >= 4 && std::strcmp(argv[1], "check") == 0) {
    Image image;
    if (!readPpm(argv[2], image)) {
      std::fprintf(stderr, "cannot read %s\n", argv[2]);
      return 2;
    }
    return check(image, argv[3], argc > 4 ? std::atoi(argv[4]) : 0);
  }
  if (argc == 2 && std::strcmp(argv[1], "routines") == 0) {
    for (const RoutineFacts &facts : routineFacts)
      std::printf("%c %s %d\n", facts.key, facts.label, facts.quadratic);
    return 0;
  }
  if (argc == 4 && std::strcmp(argv[1], "same-status") == 0) {
    Image a, b;
    if (!readPpm(argv[2], a) || !readPpm(argv[3], b)) {
      std::fprintf(stderr, "cannot read %s or %s\n", argv[2], argv[3]);
      return 2;
    }
    return sameStatus(a, b);
  }
  if (argc == 4 && std::strcmp(argv[1], "first-frame") == 0)
    return firstFrame(argv[2], std::strtol(argv[3], nullptr, 10));
  std::fprintf(stderr, "usage: screen_tool close ID | check IMAGE WHAT [N] | "
                       "same-status A B | routines | first-frame TITLE MS\n");
  return 2;
}
