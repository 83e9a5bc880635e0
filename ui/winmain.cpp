// The program's entry point. The command line is ignored.
#include <windows.h>

#include "ui/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  return runApplication(instance, showCommand);
}
