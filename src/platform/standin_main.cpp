// The process entry point on Linux: Windows starts a GUI program at
// wWinMain, so the stand-in's main does the same, with the instance handle,
// an empty command line and the default show command.
#include "platform/win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine,
                    int showCommand);

int main() {
  static WCHAR emptyCommandLine[] = TEXT("");
  return wWinMain(GetModuleHandleW(nullptr), nullptr, emptyCommandLine,
                  SW_SHOWDEFAULT);
}
