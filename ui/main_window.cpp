#include "ui/main_window.h"

#include "resources/resource_ids.h"
#include "roster/chardata_loader.h"
#include "ui/display_scale.h"
#include "ui/form.h"
#include "ui/form_layout.h"
#include "ui/message_box.h"
#include "ui/window_text.h"

HWND g_mainWindow = nullptr;

namespace {

constexpr std::string_view kWindowClass = "HP";
constexpr std::string_view kWindowTitle = GROWTH_PRODUCT_NAME;
constexpr int kWindowX = 30;
constexpr int kWindowY = 30;
constexpr int kWindowWidth = 700;
constexpr int kWindowHeight = 600;
constexpr std::string_view kExitQuestion = "終了しますか？";
constexpr std::string_view kExitCaption = "確認";

// The menu's exit command: asks first, and destroys the window on Yes.
void onExitCommand(HWND window) {
  if (showMessageBox(window, kExitQuestion, kExitCaption, MB_YESNO | MB_ICONQUESTION) == IDYES) {
    DestroyWindow(window);
  }
}

LRESULT onCommand(HWND window, WPARAM wParam) {
  const int number = LOWORD(wParam);
  if (number == IDM_EXIT) {
    onExitCommand(window);
  } else {
    // Enter and Escape arrive here as IDOK and IDCANCEL from the dialog
    // navigation; no control has those numbers, so they start nothing.
    handleFormCommand(number, HIWORD(wParam));
  }
  return 0;
}

// The window moved to a monitor of another DPI (or the scale changed): it
// takes the rectangle the system suggests, and the form follows.
LRESULT onDpiChanged(HWND window, WPARAM wParam, LPARAM lParam) {
  const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
  SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  scaleForm(window, HIWORD(wParam));
  return 0;
}

LRESULT onNotify(LPARAM lParam) {
  return handleFormNotify(*reinterpret_cast<const NMHDR*>(lParam)) ? 1 : 0;
}

// Escape in the result box: a multi-line edit under dialog navigation posts
// WM_CLOSE to its parent on Escape, which would close the tool unasked.
bool isEscapeForResultBox(const MSG& message) {
  return (message.message == WM_KEYDOWN || message.message == WM_KEYUP || message.message == WM_CHAR) &&
         message.wParam == VK_ESCAPE && message.hwnd != nullptr &&
         message.hwnd == g_formControls.resultBox;
}

}  // namespace

bool registerMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = mainWindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  windowClass.hIconSm = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAIN_MENU);
  return registerWindowClass(windowClass, kWindowClass) != 0;
}

HWND createMainWindow(HINSTANCE instance) {
  // Placed and sized for the system's DPI, where a new window opens.
  const int dpi = systemDpi();
  return createWindow(0, kWindowClass, kWindowTitle, WS_OVERLAPPEDWINDOW, scaleToDpi(kWindowX, dpi),
                      scaleToDpi(kWindowY, dpi), scaleToDpi(kWindowWidth, dpi), scaleToDpi(kWindowHeight, dpi),
                      nullptr, nullptr, instance);
}

LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      buildForm(window, reinterpret_cast<const CREATESTRUCTW*>(lParam)->hInstance);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NOTIFY:
      return onNotify(lParam);
    case WM_COMMAND:
      return onCommand(window, wParam);
    case WM_CTLCOLORSTATIC:
      return colourStaticControl(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DPICHANGED:
      return onDpiChanged(window, wParam, lParam);
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

std::wstring currentDirectory() {
  std::wstring directory(MAX_PATH + 1, L'\0');
  for (;;) {
    const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(directory.size()), directory.data());
    if (length < directory.size()) {  // 0 on failure: an empty directory
      directory.resize(length);
      return directory;
    }
    directory.resize(length);  // too small: `length` is the size it needs, with its NUL
  }
}

bool loadRosterFrom(const std::wstring& directory) {
  return loadCharacterData(formRoster(), toCp932(directory), directory);
}

void processQueuedMessage(MSG& message, HWND mainWindow) {
  if (isEscapeForResultBox(message)) return;
  if (IsDialogMessageW(mainWindow, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

int runMessageLoop(HWND mainWindow) {
  MSG message = {};  // GetMessageW's -1 (an error) ends the loop with code 0
  while (GetMessageW(&message, nullptr, 0, 0) > 0) processQueuedMessage(message, mainWindow);
  return static_cast<int>(message.wParam);
}

int runApplication(HINSTANCE instance, int showCommand) {
  installWindowsPlatformServices();
  registerMainWindowClass(instance);
  g_mainWindow = createMainWindow(instance);
  if (g_mainWindow == nullptr) return 0;
  ShowWindow(g_mainWindow, showCommand);
  UpdateWindow(g_mainWindow);
  loadRosterFrom(currentDirectory());
  showStartRarity();
  return runMessageLoop(g_mainWindow);
}
