#pragma once
// The form as laid out at 96 DPI, shared by the layout tests.

#include <windows.h>

struct ExpectedControl {
  const wchar_t* className;
  int number;
  int x, y, width, height;
  DWORD style;
  DWORD exStyle;
  const wchar_t* text;
};

inline constexpr DWORD kEdge = WS_EX_CLIENTEDGE;

// In creation order, with the complete style values the form asks for;
// positions and sizes in pixels at 96 DPI.
inline const ExpectedControl kExpectedControls[] = {
    {L"Button", 900, 5, 5, 650, 95, 0x50000007, 0, L"キャラクター選択"},
    {L"Static", 1001, 20, 30, 200, 20, 0x50000000, 0, L"レアリティ 　名前"},
    {L"ComboBox", 4000, 20, 60, 80, 150, 0x50200003, 0, L"戦士"},
    {L"Static", 1003, 300, 30, 200, 20, 0x50000000, 0, L"HP　攻　防　早"},
    {L"Static", 1004, 300, 60, 200, 20, 0x50000000, 0, nullptr},
    {L"ComboBox", 4001, 120, 60, 160, 400, 0x50200003, 0, nullptr},
    {L"Button", 901, 5, 105, 650, 95, 0x50000007, 0, L"現ステータス入力"},
    {L"Static", 1002, 20, 130, 350, 20, 0x50000000, 0, L"戦歴  　HP　      攻撃  　防御　  素早"},
    {L"Edit", 2000, 20, 160, 35, 24, 0x50832000, kEdge, nullptr},
    {L"msctls_updown32", 3000, 55, 160, 20, 24, 0x50000022, kEdge, nullptr},
    {L"Edit", 2001, 80, 160, 45, 24, 0x50812000, kEdge, nullptr},
    {L"msctls_updown32", 3001, 125, 160, 20, 24, 0x50000020, kEdge, nullptr},
    {L"Edit", 2002, 150, 160, 35, 24, 0x50812000, kEdge, nullptr},
    {L"msctls_updown32", 3002, 185, 160, 20, 24, 0x50000022, kEdge, nullptr},
    {L"Edit", 2003, 210, 160, 35, 24, 0x50812000, kEdge, nullptr},
    {L"msctls_updown32", 3003, 245, 160, 20, 24, 0x50000022, kEdge, nullptr},
    {L"Edit", 2004, 270, 160, 35, 24, 0x50812000, kEdge, nullptr},
    {L"msctls_updown32", 3004, 305, 160, 20, 24, 0x50000022, kEdge, nullptr},
    {L"Button", 5000, 350, 160, 80, 24, 0x50000000, 0, L"計算実行"},
    {L"Button", 902, 5, 205, 650, 305, 0x50020007, 0, L"結果表示"},
    {L"Static", 1005, 20, 230, 350, 20, 0x50000000, 0, L""},
    {L"Static", 1006, 20, 260, 550, 20, 0x50000000, 0, L""},
    {L"Static", 1007, 20, 280, 550, 20, 0x50000000, 0, L""},
    {L"Static", 1008, 20, 310, 550, 20, 0x50000000, 0, L""},
    {L"Static", 1009, 20, 350, 620, 20, 0x50000000, 0, L""},
    {L"Static", 1010, 20, 370, 550, 20, 0x50000000, 0, L""},
    {L"Static", 1011, 20, 330, 550, 20, 0x50000000, 0, L""},
    {L"Edit", 7000, 20, 400, 600, 100, 0x50802804, kEdge, L""},
};
