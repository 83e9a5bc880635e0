#pragma once
// The application shell: the window class, the main window and its
// procedure, the start-up load, the message loop and the exit command.

#include <windows.h>

#include <string>

// The main window, set from the creation call's result (still empty while
// WM_CREATE runs).
extern HWND g_mainWindow;

bool registerMainWindowClass(HINSTANCE instance);
HWND createMainWindow(HINSTANCE instance);
LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The process's current directory, whatever its length.
std::wstring currentDirectory();

// Loads the roster from chardata.txt in `directory` (the real, wide path;
// the trace shows it as CP932). Returns the loader's failure flag.
bool loadRosterFrom(const std::wstring& directory);

// One queued message: the main window's keyboard navigation first, then
// translation and dispatch.
void processQueuedMessage(MSG& message, HWND mainWindow);

// Runs the message loop until the quit message; returns its exit code.
int runMessageLoop(HWND mainWindow);

// The whole program: register, create, show, load, list rarity 2, loop.
int runApplication(HINSTANCE instance, int showCommand);
