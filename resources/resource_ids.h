/* Resource and command numbers, shared by the resource script and the code. */
#pragma once

#define IDR_MAIN_MENU 109 /* the class menu of the main window */
#define IDM_EXIT 111      /* ファイル > アプリケーションの終了 */
