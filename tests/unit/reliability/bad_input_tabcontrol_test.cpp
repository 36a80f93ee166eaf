// Bad inputs for the quote tab strip.
#include "bad_input.h"
#include "strips.h"
#include "tabcontrol/ElementTabControl.h"

namespace {

using rel::BadInput;
using rel::kAnyResult;
using rel::kThrewInvalidArg;
using rel::LongText;

long long AddTab(CElementTabControl* t, int id, const wchar_t* name) {
    _TAB_PARAM_INFO_ info = kt::TabInfo(id, name);
    return t->Add(&info);
}

long long InsertAt(CElementTabControl* t, int index) {
    _TAB_PARAM_INFO_ info = kt::TabInfo(77, L"Ins");
    t->InsertTabItem(index, &info);
    return t->m_arrItems.GetSize();
}

// Tabs 1, 2, 3 and text button 50.
const std::vector<BadInput<CElementTabControl>>& TabRows() {
    using T = CElementTabControl;
    static const std::vector<BadInput<T>> rows = {
        {"Add null record", [](T* t) { return t->Add(nullptr); }, -1, true},
        {"Add duplicate ID", [](T* t) { return AddTab(t, 2, L"Again"); }, -1, true},
        {"Add negative ID", [](T* t) { return AddTab(t, -1, L"Neg"); }, 3, false},
        {"Add null name", [](T* t) { return AddTab(t, 9, nullptr); }, 3, false},
        {"Add long name", [](T* t) { return AddTab(t, 9, LongText()); }, 3, false},
        {"Add extreme visibility and division",
         [](T* t) {
             _TAB_PARAM_INFO_ info = kt::TabInfo(9, L"Div");
             info.bVisible = INT_MIN;
             info.nDivide = INT_MAX;
             info.nSizeMode = INT_MIN;
             return t->Add(&info);
         },
         3, false},
        {"Add long keys and bitmap names",
         [](T* t) {
             _TAB_PARAM_INFO_ info = kt::TabInfo(9, L"Keys");
             info.lpszBkColor = info.lpszBorderColor = info.lpszFillNormal = LongText();
             info.lpszLeftBmp = info.lpszMidBmp = info.lpszRightBmp = LongText();
             return t->Add(&info);
         },
         3, false},
        {"InsertTabItem -1", [](T* t) { return InsertAt(t, -1); }, kThrewInvalidArg, true},
        {"InsertTabItem count", [](T* t) { return InsertAt(t, 3); }, 4, false},
        {"InsertTabItem INT_MAX", [](T* t) { return InsertAt(t, INT_MAX); }, 4, false},
        {"InsertTabItem null record",
         [](T* t) {
             t->InsertTabItem(0, nullptr);
             return t->m_arrItems.GetSize();
         },
         3, true},
        {"DelItem -1", [](T* t) { return t->DelItem(-1); }, 0, true},
        {"SwapWithIndex -1", [](T* t) { return t->SwapWithIndex(-1, 0); }, 0, true},
        {"SwapWithIndex count", [](T* t) { return t->SwapWithIndex(0, 3); }, 0, true},
        {"SetItemVisibleByID unknown", [](T* t) { return t->SetItemVisibleByID(99, 0); }, 0, true},
        {"GetItemVisibleFromID unknown",
         [](T* t) {
             int visible = 777;
             return t->GetItemVisibleFromID(-1, visible) == 0 && visible == 777;
         },
         1, true},
        {"SetBtnTextByID unknown", [](T* t) { return t->SetBtnTextByID(-1, L"x"); }, 0, true},
        {"SetBtnTextByID null text", [](T* t) { return t->SetBtnTextByID(50, nullptr); }, 0, true},
        {"SetBtnTextByID long text", [](T* t) { return t->SetBtnTextByID(50, LongText()); }, 1, false},
        {"GetTextBtnVisibleFromID INT_MIN",
         [](T* t) {
             int visible = 777;
             return t->GetTextBtnVisibleFromID(INT_MIN, visible) == 0 && visible == 777;
         },
         1, true},
        {"AddTextButton all null",
         [](T* t) {
             t->AddTextButton(nullptr, -1, nullptr, nullptr, nullptr, nullptr, INT_MIN, CString());
             return t->m_arrTextBtn.GetSize();
         },
         2, false},
        {"AddTextButton long caption and image",
         [](T* t) {
             t->AddTextButton(LongText(), 51, LongText(), LongText(), LongText(), LongText(), 1, CString(LongText()));
             return t->m_arrTextBtn.GetSize();
         },
         2, false},
        {"SetTabHeight 0", [](T* t) { return t->SetTabHeight(0); }, 0, true},
        {"SetTabHeight INT_MAX", [](T* t) { return t->SetTabHeight(INT_MAX); }, 1, false},
        {"SetTabWidth 0", [](T* t) { return t->SetTabWidth(0); }, 0, true},
        {"SetTabWidth INT_MAX on a left strip",
         [](T* t) {
             t->SetStyle(1, 0, 2);
             return t->SetTabWidth(INT_MAX);
         },
         1, false},
        {"SetTabBKbmp null", [](T* t) { return t->SetTabBKbmp(nullptr); }, false, false},
        {"SetSelectedTab -1", [](T* t) { return t->SetSelectedTab(-1); }, 0, true},
        {"FindTabID unknown",
         [](T* t) {
             int index = 777;
             return t->FindTabID(99, index) == 0 && index == 777;
         },
         1, true},
        {"ChangeItemNameByID unknown", [](T* t) { return t->ChangeItemNameByID(99, L"x"); }, 0, true},
        {"ChangeItemNameByID null name", [](T* t) { return t->ChangeItemNameByID(1, nullptr); }, 0, true},
        {"ChangeItemNameByID long name", [](T* t) { return t->ChangeItemNameByID(1, LongText()); }, 1, false},
        {"SetItemWidthWithMargin unknown", [](T* t) { return t->SetItemWidthWithMargin(99, 5); }, 0, true},
        {"SetItemWidthWithMargin INT_MIN", [](T* t) { return t->SetItemWidthWithMargin(1, INT_MIN); }, 1, false},
        {"SetLimitMaxWidth INT_MIN",
         [](T* t) {
             t->SetLimitMaxWidth(INT_MIN);
             return t->GetAllTabItemWidth() >= 0;
         },
         1, false},
        // A tab with a menu at an INT_MAX margin makes the arrow margin INT_MAX; the next such
        // tab's 4 + margin overflowed int (a width of -2147483620) before it saturated.
        {"a menu tab added after an INT_MAX arrow margin",
         [](T* t) {
             _MENU_CMD_INFO_ menu = kt::PlainMenu(1, 11, 11);
             _TAB_PARAM_INFO_ info = kt::TabInfo(9, L"Menu");
             info.pMenuInfo = &menu;
             t->Add(&info);
             t->SetItemWidthWithMargin(9, INT_MAX);
             info.nID = 10;
             return t->m_arrItems[t->Add(&info)]->m_nWidth;
         },
         INT_MAX, false},
        {"every tab at INT_MAX width",
         [](T* t) {
             for (int id : {1, 2, 3}) t->SetItemWidthWithMargin(id, INT_MAX);
             t->SetLimitMaxWidth(100);
             return t->GetVisibleCount();
         },
         3, false},
        {"GetColorEx null", [](T* t) { return t->GetColorEx(nullptr); }, 0, true},
        {"SelectMenuByID unknown", rel::Void<T>([](T* t) { t->SelectMenuByID(99, 1); }), kAnyResult, true},
        {"UpdateItemMenuInfoByTabID unknown", rel::Void<T>([](T* t) {
             _MENU_CMD_INFO_ info;
             t->UpdateItemMenuInfoByTabID(-1, &info);
         }),
         kAnyResult, true},
        {"UpdateItemMenuInfoByTabID extreme command IDs",
         [](T* t) {
             _MENU_CMD_INFO_ info;
             info.vecMenu.push_back(_MENU_STR_CMD_{CString(L"A"), INT_MIN, -1, 0});
             info.vecMenu.push_back(_MENU_STR_CMD_{CString(LongText()), INT_MAX, INT_MIN, 1});
             info.nSelCmdID = INT_MAX;
             t->UpdateItemMenuInfoByTabID(1, &info);
             return t->m_arrItems[0]->m_vecMenu.size();
         },
         2, false},
        // Any value but 1 is a valid choice for both (a fuzzer's 5 was not a value of the
        // enumerations before their underlying type was fixed).
        {"text-button alignment and arrangement outside 0..1",
         [](T* t) {
             t->SetTabBtnAglin(static_cast<DIRECT>(5));
             t->SetTabArrangement(static_cast<TAB_ARRANGEMENT>(INT_MIN));
             return t->m_nTextBtnAlign == DIRECT_FOLLOW_TABS || t->m_nTabArrangement == TAB_OVERLAPPED;
         },
         0, false},
    };
    return rows;
}

class TabControlBadInputTest : public rel::ReliabilityTest {
protected:
    CElementTabControl* Make() {
        auto* t = new CElementTabControl;
        EXPECT_TRUE(host->Add(t, L"t", RECT{10, 10, 310, 40}, 4));
        t->SetStyle(1, 0, 0);
        AddTab(t, 1, L"Stocks");
        AddTab(t, 2, L"Bonds");
        AddTab(t, 3, L"FX");
        t->AddTextButton(L"F10", 50, L"QuoteTab.BtnText", L"QuoteTab.BtnHot", nullptr, nullptr, 0, CString(L""));
        t->SetTabHeight(24);
        host->Pump();
        return t;
    }
};

TEST_F(TabControlBadInputTest, EveryRowAnswersAsSpecifiedAndKeepsWorking) {
    RunRows<CElementTabControl>(
        TabRows(), [this] { return Make(); }, "tabs",
        [](CElementTabControl* t, const std::vector<kt::Posted>& posted) {
            for (const kt::Posted& p : posted) {
                int index = 0;
                if (p.msg == 1324) {
                    EXPECT_TRUE(t->FindTabID(int(p.wParam), index)) << "1324 for no tab";
                }
            }
        });
}

}  // namespace
