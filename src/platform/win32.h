// The one platform header of the program.
//
// On Windows it is <windows.h> and nothing else. Elsewhere it declares the
// project's own stand-in for exactly the subset of the Win32 API that the
// program calls, with the real names, types and field names, so that a call
// outside the subset fails to compile here just as a typo would on Windows.
// Beside those calls: the constants of the messages and arguments they
// carry, DestroyWindow (what DefWindowProcW does with WM_CLOSE) and
// GetModuleHandleW (the instance the stand-in's main passes on).
// The stand-in lives beside this header: kernel (threads, sleep, counters),
// format (wsprintfW), gdi and font (device contexts, 32-bpp bitmaps, text),
// window and queue (windows, painting, the message queue, timers), surface
// and display (presenting through SDL2).
#pragma once

#if defined(_WIN32)

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#include <windows.h>

#else

#include <cstddef>
#include <cstdint>

#include "platform/standin_atomic_ref.h"

// ---- basic types (sizes as on Windows) -------------------------------------
typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef uint32_t UINT;
typedef int32_t LONG;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef size_t SIZE_T;
typedef uintptr_t UINT_PTR;
typedef uintptr_t ULONG_PTR;
typedef intptr_t LONG_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef WORD ATOM;
typedef DWORD COLORREF;
typedef void *LPVOID;
typedef DWORD *LPDWORD;
// Text is UTF-16 on both platforms; literals are written TEXT("...").
typedef char16_t WCHAR;
typedef WCHAR *LPWSTR;
typedef WCHAR *PWSTR;
typedef const WCHAR *LPCWSTR;
#define TEXT(quote) u##quote

#define WINAPI
#define WINAPIV
#define CALLBACK
#define FALSE 0
#define TRUE 1

// ---- handles ----------------------------------------------------------------
typedef void *HANDLE;
typedef void *HGDIOBJ;
typedef struct HWND__ *HWND;
typedef struct HINSTANCE__ *HINSTANCE;
typedef struct HDC__ *HDC;
typedef struct HBITMAP__ *HBITMAP;
typedef struct HBRUSH__ *HBRUSH;
typedef struct HICON__ *HICON;
typedef struct HMENU__ *HMENU;
typedef HICON HCURSOR;
typedef void *LPSECURITY_ATTRIBUTES;

typedef DWORD(WINAPI *LPTHREAD_START_ROUTINE)(LPVOID);
typedef LRESULT(CALLBACK *WNDPROC)(HWND, UINT, WPARAM, LPARAM);
// SetTimer takes one; the stand-in supports none (the program passes null).
typedef void(CALLBACK *TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

// ---- structures -------------------------------------------------------------
typedef union _LARGE_INTEGER {
  struct {
    DWORD LowPart;
    LONG HighPart;
  } u;
  LONGLONG QuadPart;
} LARGE_INTEGER;

typedef struct tagPOINT {
  LONG x;
  LONG y;
} POINT;

typedef struct tagRECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
} RECT, *LPRECT;

typedef struct tagMSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
} MSG, *LPMSG;

typedef struct tagPAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
} PAINTSTRUCT, *LPPAINTSTRUCT;

typedef struct tagWNDCLASSW {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCWSTR lpszMenuName;
  LPCWSTR lpszClassName;
} WNDCLASSW;

typedef struct tagBITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
} BITMAP;

// ---- constants --------------------------------------------------------------
#define STILL_ACTIVE 259

#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_SIZE 0x0005
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_KEYDOWN 0x0100
#define WM_TIMER 0x0113
#define WM_LBUTTONDOWN 0x0201
#define WM_RBUTTONDOWN 0x0204

#define SIZE_RESTORED 0
#define SIZE_MINIMIZED 1
#define MK_LBUTTON 0x0001
#define MK_RBUTTON 0x0002

#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define WS_OVERLAPPEDWINDOW 0x00CF0000L
#define CW_USEDEFAULT ((int)0x80000000)
#define SW_HIDE 0
#define SW_SHOW 5
#define SW_SHOWDEFAULT 10
#define COLOR_WINDOW 5
#define SRCCOPY 0x00CC0020

#define MAKEINTRESOURCEW(i) ((LPWSTR)((ULONG_PTR)((WORD)(i))))
#define IDI_APPLICATION MAKEINTRESOURCEW(32512)
#define IDC_ARROW MAKEINTRESOURCEW(32512)

#define VK_OEM_PLUS 0xBB
#define VK_OEM_MINUS 0xBD

#define RGB(r, g, b)                                                           \
  ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) |                         \
              (((DWORD)(BYTE)(b)) << 16)))
#define LOWORD(l) ((WORD)(((ULONG_PTR)(l)) & 0xffff))
#define MAKELPARAM(l, h)                                                       \
  ((LPARAM)(DWORD)(((WORD)(l)) | (((DWORD)(WORD)(h)) << 16)))

// ---- KERNEL32 ---------------------------------------------------------------
HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stackSize,
                           LPTHREAD_START_ROUTINE startAddress,
                           LPVOID parameter, DWORD creationFlags,
                           LPDWORD threadId);
BOOL WINAPI GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
BOOL WINAPI CloseHandle(HANDLE object);
void WINAPI Sleep(DWORD milliseconds);
BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER *frequency);
BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER *count);
DWORD WINAPI GetTickCount(void);
int WINAPI lstrlenW(LPCWSTR string);
HINSTANCE WINAPI GetModuleHandleW(LPCWSTR moduleName);

// ---- USER32 -----------------------------------------------------------------
int WINAPIV wsprintfW(LPWSTR buffer, LPCWSTR format, ...);
ATOM WINAPI RegisterClassW(const WNDCLASSW *windowClass);
HWND WINAPI CreateWindowExW(DWORD exStyle, LPCWSTR className,
                            LPCWSTR windowName, DWORD style, int x, int y,
                            int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID parameter);
BOOL WINAPI DestroyWindow(HWND window);
BOOL WINAPI ShowWindow(HWND window, int showCommand);
LRESULT WINAPI DefWindowProcW(HWND window, UINT message, WPARAM wParam,
                              LPARAM lParam);
HICON WINAPI LoadIconW(HINSTANCE instance, LPCWSTR iconName);
HCURSOR WINAPI LoadCursorW(HINSTANCE instance, LPCWSTR cursorName);
BOOL WINAPI GetMessageW(LPMSG message, HWND window, UINT filterMin,
                        UINT filterMax);
BOOL WINAPI TranslateMessage(const MSG *message);
LRESULT WINAPI DispatchMessageW(const MSG *message);
void WINAPI PostQuitMessage(int exitCode);
HDC WINAPI BeginPaint(HWND window, LPPAINTSTRUCT paint);
BOOL WINAPI EndPaint(HWND window, const PAINTSTRUCT *paint);
HDC WINAPI GetDC(HWND window);
int WINAPI ReleaseDC(HWND window, HDC deviceContext);
BOOL WINAPI InvalidateRect(HWND window, const RECT *rect, BOOL erase);
BOOL WINAPI GetClientRect(HWND window, LPRECT rect);
int WINAPI FillRect(HDC deviceContext, const RECT *rect, HBRUSH brush);
HBRUSH WINAPI GetSysColorBrush(int index);
UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT elapse,
                         TIMERPROC timerProc);
BOOL WINAPI KillTimer(HWND window, UINT_PTR id);

// ---- GDI32 ------------------------------------------------------------------
HDC WINAPI CreateCompatibleDC(HDC deviceContext);
BOOL WINAPI DeleteDC(HDC deviceContext);
HBITMAP WINAPI CreateCompatibleBitmap(HDC deviceContext, int width, int height);
HGDIOBJ WINAPI SelectObject(HDC deviceContext, HGDIOBJ object);
BOOL WINAPI DeleteObject(HGDIOBJ object);
int WINAPI GetObjectW(HANDLE object, int size, LPVOID buffer);
BOOL WINAPI BitBlt(HDC destination, int x, int y, int width, int height,
                   HDC source, int sourceX, int sourceY, DWORD rop);
COLORREF WINAPI SetPixel(HDC deviceContext, int x, int y, COLORREF colour);
BOOL WINAPI TextOutW(HDC deviceContext, int x, int y, LPCWSTR text, int length);

#endif
