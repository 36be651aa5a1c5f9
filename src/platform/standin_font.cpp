// Stand-in for TextOutW with a device context's default font: black text on
// an opaque white cell, reference point at the cell's top left (TA_TOP |
// TA_LEFT, OPAQUE), as a new Windows device context draws it.
//
// The font is the first outline font fontconfig offers for Korean that has
// Hangul syllables (fonts-nanum's NanumGothic on Debian; in the browser, the
// same font packed with the page), sized so that a line
// is about as tall as Windows' 16-pixel System font. Glyphs are rendered
// without anti-aliasing, as that raster font is, once per UTF-16 code unit
// and kept; a frame's dozen lines then cost a few microseconds each.
// Surrogate pairs, and every character when no font can be opened at all,
// are drawn as boxes, never failing the call.
#include <SDL2/SDL.h>
#include <SDL2/SDL_ttf.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/standin_gdi.h"
#include "platform/win32.h"

using namespace standin;

// The one difference of the browser: the page packs the font at /fonts (see
// CMakeLists.txt) and there is no fontconfig.
#if defined(__EMSCRIPTEN__)
static std::string findFontFile(int *faceIndex) {
  *faceIndex = 0;
  return "/fonts/NanumGothic.ttf";
}
#else
#include <fontconfig/fontconfig.h>

// Path and face index of an outline font covering Hangul; any outline font if
// none does; empty if fontconfig finds nothing.
static std::string findFontFile(int *faceIndex) {
  std::string path;
  if (!FcInit())
    return path;
  FcPattern *pattern = FcPatternCreate();
  FcCharSet *hangul = FcCharSetCreate();
  FcCharSetAddChar(hangul, 0xAC00);
  FcPatternAddCharSet(pattern, FC_CHARSET, hangul);
  FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8 *>("ko"));
  FcPatternAddString(pattern, FC_FAMILY,
                     reinterpret_cast<const FcChar8 *>("sans-serif"));
  FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcFontSet *candidates =
      FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
  for (int pass = 0; candidates && pass < 2 && path.empty(); ++pass) {
    for (int k = 0; k < candidates->nfont; ++k) {
      FcPattern *font = candidates->fonts[k];
      FcChar8 *file = nullptr;
      FcCharSet *coverage = nullptr;
      FcBool outline = FcFalse;
      if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch)
        continue;
      if (FcPatternGetBool(font, FC_OUTLINE, 0, &outline) == FcResultMatch &&
          !outline)
        continue;
      bool hasHangul = FcPatternGetCharSet(font, FC_CHARSET, 0, &coverage) ==
                           FcResultMatch &&
                       FcCharSetHasChar(coverage, 0xAC00);
      if (pass == 0 && !hasHangul)
        continue;
      int index = 0;
      FcPatternGetInteger(font, FC_INDEX, 0, &index);
      *faceIndex = index;
      path = reinterpret_cast<const char *>(file);
      break;
    }
  }
  if (candidates)
    FcFontSetDestroy(candidates);
  FcCharSetDestroy(hangul);
  FcPatternDestroy(pattern);
  // Only the path was needed: give fontconfig's caches back (and leave
  // nothing for a leak checker).
  FcFini();
  return path;
}
#endif

namespace {

// Windows' default font is 16 pixels high; TrueType sizes come in steps, so
// take the largest whose line fits.
constexpr int targetLineHeight = 16;

struct Glyph {
  int advance = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> ink; // width x height, non-zero where black
};

struct FontState {
  bool opened = false; // an attempt was made (successful or not)
  bool ttfStarted = false;
  TTF_Font *font = nullptr;
  int lineHeight = targetLineHeight;
  std::unordered_map<WCHAR, Glyph> glyphs;
  Glyph box;
  std::vector<const Glyph *> line; // scratch for one call
};

FontState fonts;

void shutDownFonts() {
  if (fonts.font)
    TTF_CloseFont(fonts.font);
  fonts.font = nullptr;
  fonts.glyphs.clear();
  if (fonts.ttfStarted)
    TTF_Quit();
  fonts.ttfStarted = false;
}

// A hollow rectangle: what Windows shows for a character the font lacks.
Glyph makeBox(int lineHeight) {
  Glyph box;
  box.advance = box.width = lineHeight / 2;
  box.height = lineHeight;
  box.ink.assign(static_cast<size_t>(box.width) * box.height, 0);
  int left = 1, right = box.width - 2;
  int top = lineHeight / 5, bottom = lineHeight - lineHeight / 5 - 1;
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x)
      if (y == top || y == bottom || x == left || x == right)
        box.ink[static_cast<size_t>(y) * box.width + x] = 1;
  return box;
}

void openFont() {
  fonts.opened = true;
  if (!fonts.ttfStarted) {
    if (TTF_Init() != 0)
      return;
    fonts.ttfStarted = true;
    std::atexit(shutDownFonts);
  }
  int faceIndex = 0;
  std::string path = findFontFile(&faceIndex);
  if (path.empty())
    return;
  TTF_Font *font = TTF_OpenFontIndex(path.c_str(), targetLineHeight, faceIndex);
  if (!font)
    return;
  int size = targetLineHeight;
  while (size > 6 && TTF_FontHeight(font) > targetLineHeight)
    TTF_SetFontSize(font, --size);
  // Hinted for one-bit rendering, so stems stay one clean pixel wide.
  TTF_SetFontHinting(font, TTF_HINTING_MONO);
  TTF_SetFontKerning(font, 0); // TextOutW does not kern
  fonts.font = font;
  fonts.lineHeight = TTF_FontHeight(font);
}

Glyph renderGlyph(WCHAR unit) {
  Glyph glyph;
  int minX, maxX, minY, maxY;
  if (TTF_GlyphMetrics32(fonts.font, unit, &minX, &maxX, &minY, &maxY,
                         &glyph.advance) != 0)
    return fonts.box;
  // Rendered glyphs start at the pen position and the top of the line.
  SDL_Surface *surface =
      TTF_RenderGlyph32_Solid(fonts.font, unit, SDL_Color{0, 0, 0, 255});
  if (!surface)
    return glyph; // nothing to draw (a control character): advance only
  glyph.width = surface->w;
  glyph.height = surface->h;
  glyph.ink.resize(static_cast<size_t>(glyph.width) * glyph.height);
  // An 8-bit palettised surface: index 0 is the background.
  auto *pixels = static_cast<const uint8_t *>(surface->pixels);
  for (int y = 0; y < glyph.height; ++y)
    for (int x = 0; x < glyph.width; ++x)
      glyph.ink[static_cast<size_t>(y) * glyph.width + x] =
          pixels[y * surface->pitch + x] != 0;
  SDL_FreeSurface(surface);
  return glyph;
}

const Glyph *glyphFor(WCHAR unit) {
  if (!fonts.font || (unit >= 0xD800 && unit <= 0xDFFF))
    return &fonts.box;
  auto found = fonts.glyphs.find(unit);
  if (found == fonts.glyphs.end())
    found = fonts.glyphs.emplace(unit, renderGlyph(unit)).first;
  return &found->second;
}

} // namespace

BOOL WINAPI TextOutW(HDC handle, int x, int y, LPCWSTR text, int length) {
  DeviceContext *context = contextFromHandle(handle);
  if (!context || length < 0 || (length > 0 && !text))
    return FALSE;
  if (!fonts.opened) {
    openFont();
    fonts.box = makeBox(fonts.lineHeight);
  }

  // A surrogate pair is one character: one box.
  fonts.line.clear();
  int64_t cellWidth = 0;
  for (int k = 0; k < length; ++k) {
    const Glyph *glyph = glyphFor(text[k]);
    if (text[k] >= 0xD800 && text[k] <= 0xDBFF && k + 1 < length &&
        text[k + 1] >= 0xDC00 && text[k + 1] <= 0xDFFF)
      ++k;
    fonts.line.push_back(glyph);
    cellWidth += glyph->advance;
  }

  RECT area = drawableArea(*context);
  int64_t right = std::min<int64_t>(int64_t{x} + cellWidth, area.right);
  int64_t bottom =
      std::min<int64_t>(int64_t{y} + fonts.lineHeight, area.bottom);
  RECT cell{std::max<LONG>(x, area.left), std::max<LONG>(y, area.top),
            static_cast<LONG>(right), static_cast<LONG>(bottom)};
  if (isEmpty(area))
    return TRUE;
  Bitmap &target = *context->target;
  for (LONG row = cell.top; row < cell.bottom; ++row) {
    uint32_t *pixels = target.row(row);
    for (LONG column = cell.left; column < cell.right; ++column)
      pixels[column] = 0xFFFFFF;
  }

  int64_t penX = x;
  for (const Glyph *glyph : fonts.line) {
    for (int gy = 0; gy < glyph->height; ++gy) {
      int64_t row = int64_t{y} + gy;
      if (row < area.top || row >= area.bottom)
        continue;
      const uint8_t *ink = &glyph->ink[static_cast<size_t>(gy) * glyph->width];
      uint32_t *pixels = target.row(row);
      for (int gx = 0; gx < glyph->width; ++gx) {
        int64_t column = penX + gx;
        if (ink[gx] && column >= area.left && column < area.right)
          pixels[column] = 0;
      }
    }
    penX += glyph->advance;
  }
  target.drawn = true;
  return TRUE;
}
