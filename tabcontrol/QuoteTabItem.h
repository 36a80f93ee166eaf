// The records of the quote tab strip: one CQuoteTabItem per tab, the host's
// description of a tab to create (_TAB_PARAM_INFO_), a text button (_TEXT_BUTTON),
// the drop-down menu records (_MENU_STR_CMD_, _MENU_CMD_INFO_) and the enumerations
// the tab control's configuration operations take.
#pragma once

#include <vector>

#include "platform.h"

// How the text buttons are placed (SetTabBtnAglin). Both enumerations take any int a
// host passes ("any value but 1"), so their underlying type is fixed: without it a value
// outside 0..1 would not be a valid value of the type at all.
enum DIRECT : int {
    DIRECT_RIGHT = 0,        // any value but 1: right-aligned to the element's right edge
    DIRECT_FOLLOW_TABS = 1,  // after the last visible tab, in list order (the default)
};

// How the tabs are placed against each other (SetTabArrangement).
enum TAB_ARRANGEMENT : int {
    TAB_SIDE_BY_SIDE = 0,  // any value but 1: full widths, no overlap (the default)
    TAB_OVERLAPPED = 1,    // each tab laid 5 pixels narrower than its width
};

// The popup menu class's background mode. Its values belong to the menu class, which
// completes this declaration; the tab control only hands it on.
enum MENUBK_MODE : int;

// One entry of a tab's drop-down menu. The tree is given by nParentID.
struct _MENU_STR_CMD_ {
    CString strText;     // becomes the tab's name when the entry is chosen
    int nCmdID = 0;      // command reported when the entry is chosen
    int nParentID = -1;  // -1: top level; else the nCmdID of the entry whose submenu holds it
    int bHasSub = 0;     // non-zero: opens the submenu of the entries naming it as parent
};

// A tab's menu as the host hands it over.
struct _MENU_CMD_INFO_ {
    std::vector<_MENU_STR_CMD_> vecMenu;
    int nSelCmdID = -1;  // the entry chosen initially; -1 (0xFFFFFFFF) names none
};

// The host's description of a tab to create. The control writes default keys into
// lpszBkColor .. lpszFillHotlight when they are null or empty.
struct _TAB_PARAM_INFO_ {
    int nID = 0;
    _MENU_CMD_INFO_* pMenuInfo = nullptr;  // null: a tab without a menu
    const wchar_t* lpszName = nullptr;
    const wchar_t* lpszTextColor = nullptr;     // no default: the host supplies it
    const wchar_t* lpszSelTextColor = nullptr;  // no default: the host supplies it
    const wchar_t* lpszBkColor = nullptr;
    const wchar_t* lpszBorderColor = nullptr;
    const wchar_t* lpszFillNormal = nullptr;
    const wchar_t* lpszHoverBkColor = nullptr;
    const wchar_t* lpszFillHotlight = nullptr;
    const wchar_t* lpszLeftBmp = nullptr;  // null (not empty) takes the default bitmap
    const wchar_t* lpszMidBmp = nullptr;
    const wchar_t* lpszRightBmp = nullptr;
    const wchar_t* lpszLeftHotBmp = nullptr;
    const wchar_t* lpszMidHotBmp = nullptr;
    const wchar_t* lpszRightHotBmp = nullptr;
    int bVisible = 1;
    int nDivide = 0;
    int nSizeMode = 0;
};

// One text button beside the tabs.
struct _TEXT_BUTTON {
    _TEXT_BUTTON() = default;
    _TEXT_BUTTON(const _TEXT_BUTTON&) = default;
    _TEXT_BUTTON& operator=(const _TEXT_BUTTON&) = default;
    ~_TEXT_BUTTON() = default;

    CString strText;
    int nID = 0;
    CRect rcBtn{0, 0, 0, 0};  // layout; the painter rewrites its right edge
    CSize sizeText{0, 0};     // caption extent, measured at creation and at every paint
    bool bHot = false;
    CString strColor;  // palette colour keys of the caption
    CString strHotColor;
    CString strExtra;  // stored only
    CString strImage;  // palette bitmap key; empty: a caption button
    CString strHotImage;
    CSize sizeImage{0, 0};  // of strImage at creation
    int m_bVisible = 1;
    int bLineFont = 0;  // non-zero: caption in the line font
};

// One tab. The member order is part of the exported class's interface.
class CQuoteTabItem {
public:
    CQuoteTabItem();
    CQuoteTabItem(const CQuoteTabItem& other);
    CQuoteTabItem(CQuoteTabItem&& other);  // strings are copied, so it may throw
    CQuoteTabItem& operator=(const CQuoteTabItem& other);
    CQuoteTabItem& operator=(CQuoteTabItem&& other);
    ~CQuoteTabItem();

    // Records come from chunks of their own, so a strip's records lie side by side and a
    // walk over thousands of tabs reads memory in order.
    DECLARE_FIXED_ALLOC(CQuoteTabItem);

public:
    CString m_strOrgName;  // the name as created
    CString m_strName;     // the name shown
    int m_nID = 0;
    CRect m_rcItem{0, 0, 0, 0};
    CString m_strTextColor;  // palette colour keys
    CString m_strSelTextColor;
    CString m_strBkColor;  // only the first tab's is used: the strip background
    CString m_strBorderColor;
    CString m_strFillNormal;
    CString m_strHoverBkColor;
    CString m_strFillHotlight;
    std::vector<_MENU_STR_CMD_> m_vecMenu;  // non-empty: the tab has a menu and an arrow
    int m_nSelMenuID = -1;
    int m_bMenuOnClick = 0;  // non-zero: a click anywhere opens the menu
    CString m_strLeftBmp;    // bitmap files of skin folder "tab_control"
    CString m_strMidBmp;
    CString m_strRightBmp;
    CString m_strLeftHotBmp;
    CString m_strMidHotBmp;
    CString m_strRightHotBmp;
    int m_nWidth = 0;  // used by the layout
    int m_nHeight = 0;
    int m_nShareWidth = 0;  // last equal-division share; nothing reads it
    int m_nReserved = 0;
    int m_nOrgWidth = 0;   // natural width, restored by SetLimitMaxWidth
    int m_nOrgHeight = 0;  // nothing reads it
    int m_bVisible = 1;
    int m_nDivide = 0;    // equal parts; 0 turns equal division off
    int m_nSizeMode = 0;  // 1: equal division across a top or bottom strip

private:
    void AssignScalars(const CQuoteTabItem& other);
};
