// Fixed names and numbers of the tab control, shared by its source files.
#pragma once

#include <cstddef>

#include "frame/Saturate.h"

namespace tabcontrol {

// Control messages posted to the host.
constexpr unsigned kMsgTabSelected = 1324;  // wParam: the tab's ID
constexpr unsigned kMsgTextButton = 1325;   // wParam: the button's ID
constexpr unsigned kMsgMenuCommand = 1326;  // wParam: the command ID

constexpr int kRepaintFlag = 0;  // the strip paints every pixel of what it invalidates

// Sides of the strip (m_nTabPos).
constexpr int kSideTop = 0;
constexpr int kSideLeft = 2;
constexpr int kSideBottom = 3;

// Alignment of the tabs (m_nTabAlign).
constexpr int kAlignRight = 1;
constexpr int kAlignCentre = 2;

constexpr int kOverlap = 5;           // per tab, in the overlapping arrangement
constexpr int kTextButtonGap = 5;     // between text buttons, and from the edge
constexpr int kImageButtonPad = 5;    // extra width of an image button that follows the tabs
constexpr int kArrowRoom = 4;         // added with a menu when a tab is built
constexpr int kArrowHitShift = 5;     // the arrow's hit rectangle lies this far right and down
constexpr int kMinTextPad = 6;        // minimum width of a tab without menu: text + 6
constexpr int kMinMenuPad = 12;       // with a menu: text + arrow margin + 12
constexpr int kMenuTextRightPad = 9;  // a menu tab's text ends arrow margin + 9 before its right edge

constexpr unsigned kDrawTextCentre = 0x25;  // DT_CENTER | DT_VCENTER | DT_SINGLELINE
constexpr unsigned kDrawTextBottom = 0x29;  // DT_CENTER | DT_BOTTOM | DT_SINGLELINE

// Distinct names whose widths are kept: enough for a strip of 10,000 named tabs, so that
// layout passes over a long strip never measure a name twice.
constexpr std::size_t kTextExtentCacheLimit = 16384;

// Skin names.
constexpr const wchar_t* kSkinFolder = L"tab_control";
constexpr const wchar_t* kLeftBmp = L"lefttab.bmp";
constexpr const wchar_t* kMidBmp = L"middletab.bmp";
constexpr const wchar_t* kRightBmp = L"righttab.bmp";
constexpr const wchar_t* kLeftHotBmp = L"lefttab_hot.bmp";
constexpr const wchar_t* kMidHotBmp = L"middletab_hot.bmp";
constexpr const wchar_t* kRightHotBmp = L"righttab_hot.bmp";
constexpr const wchar_t* kArrowBmp = L"arrow.bmp";
constexpr const wchar_t* kArrowSelBmp = L"arrow2.bmp";
constexpr const wchar_t* kStripBmp = L"Tab_Bk4.bmp";  // the strip bitmap of draw type 1
constexpr const wchar_t* kGrayBk2Bmp = L"Tab_Bk1.bmp";
constexpr const wchar_t* kGrayBk3Bmp = L"Tab_Bk2.bmp";

constexpr const wchar_t* kKeyColorKey = L"CElementTabControl.ColorKey";
constexpr const wchar_t* kKeyBackground = L"CElementTabControl.BackGround";
constexpr const wchar_t* kKeyBorder = L"CElementTabControl.Border";
constexpr const wchar_t* kKeyFillNormal = L"CElementTabControl.FillNormal";
constexpr const wchar_t* kKeyHoverBackground = L"CElementTabControl.HoverBackground";
constexpr const wchar_t* kKeyFillHotlight = L"CElementTabControl.FillHotlight";
constexpr const wchar_t* kKeyHoverForeground = L"CElementTabControl.HoverForeground";
constexpr const wchar_t* kFontButton = L"QuoteTab.Button";
constexpr const wchar_t* kFontBold = L"QuoteTab.ButtonBold";
constexpr const wchar_t* kFontLine = L"QuoteTab.ButtonLine";

}  // namespace tabcontrol
