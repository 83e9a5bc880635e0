/* Resource and command numbers, shared by the resource script and the code. */
#pragma once

#define IDR_MAIN_MENU 109 /* the class menu of the main window */
#define IDM_EXIT 111      /* ファイル > アプリケーションの終了 */

/* The window's title, which is also the product's name in the version
   resource. UTF-8 here; the code compiles it to CP932. */
#define GROWTH_PRODUCT_NAME "ノルヴァ 成長確認ツール"
