#include "QuoteTabItem.h"

#include <utility>

IMPLEMENT_FIXED_ALLOC(CQuoteTabItem, 64);

CQuoteTabItem::CQuoteTabItem() = default;
CQuoteTabItem::~CQuoteTabItem() = default;

CQuoteTabItem::CQuoteTabItem(const CQuoteTabItem& other) : m_vecMenu(other.m_vecMenu) {
    AssignScalars(other);
}

// Strings are copied, not moved: only the menu vector changes hands, so the source
// keeps its names and keys.
CQuoteTabItem::CQuoteTabItem(CQuoteTabItem&& other) : m_vecMenu(std::move(other.m_vecMenu)) {
    AssignScalars(other);
    other.m_vecMenu.clear();
}

CQuoteTabItem& CQuoteTabItem::operator=(const CQuoteTabItem& other) {
    if (this == &other) return *this;
    AssignScalars(other);
    m_vecMenu = other.m_vecMenu;
    return *this;
}

CQuoteTabItem& CQuoteTabItem::operator=(CQuoteTabItem&& other) {
    if (this == &other) return *this;
    AssignScalars(other);
    m_vecMenu = std::move(other.m_vecMenu);
    other.m_vecMenu.clear();
    return *this;
}

// Every member but the menu vector.
void CQuoteTabItem::AssignScalars(const CQuoteTabItem& other) {
    m_strOrgName = other.m_strOrgName;
    m_strName = other.m_strName;
    m_nID = other.m_nID;
    m_rcItem = other.m_rcItem;
    m_strTextColor = other.m_strTextColor;
    m_strSelTextColor = other.m_strSelTextColor;
    m_strBkColor = other.m_strBkColor;
    m_strBorderColor = other.m_strBorderColor;
    m_strFillNormal = other.m_strFillNormal;
    m_strHoverBkColor = other.m_strHoverBkColor;
    m_strFillHotlight = other.m_strFillHotlight;
    m_nSelMenuID = other.m_nSelMenuID;
    m_bMenuOnClick = other.m_bMenuOnClick;
    m_strLeftBmp = other.m_strLeftBmp;
    m_strMidBmp = other.m_strMidBmp;
    m_strRightBmp = other.m_strRightBmp;
    m_strLeftHotBmp = other.m_strLeftHotBmp;
    m_strMidHotBmp = other.m_strMidHotBmp;
    m_strRightHotBmp = other.m_strRightHotBmp;
    m_nWidth = other.m_nWidth;
    m_nHeight = other.m_nHeight;
    m_nShareWidth = other.m_nShareWidth;
    m_nReserved = other.m_nReserved;
    m_nOrgWidth = other.m_nOrgWidth;
    m_nOrgHeight = other.m_nOrgHeight;
    m_bVisible = other.m_bVisible;
    m_nDivide = other.m_nDivide;
    m_nSizeMode = other.m_nSizeMode;
}
