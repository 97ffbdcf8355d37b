#include "app/AppFlow.h"
#include "app/win/AppWindow.h"
#include "app/win/CommandLine.h"
#include "platform/win32/WinString.h"

#include <windows.h>

#include <objbase.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    // Before any window exists, so that every window gets its monitor's DPI.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    // The open-file dialog hosts shell components that expect a single-threaded apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

    const auto startupPath = orx::StartupPathFromArguments(
        orx::win::SplitCommandLine(orx::win::FromW(GetCommandLineW())));
    int exitCode = -1;
    {
        orx::AppWindow app;
        if (app.Create(instance, startupPath)) {
            exitCode = orx::RunMessageLoop(app);
        }
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return exitCode;
}
