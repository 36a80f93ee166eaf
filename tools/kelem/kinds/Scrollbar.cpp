// The scrollbar kinds: "vscroll" (CVerticalScrollbar) and "hscroll" (CHorizontalScrollbar).
// Every public operation by its exact name; every field, and the class constants, by name.
// Bitmap fields read 1 when a bitmap is loaded, 0 when not.
#include "scrollbar/HorizontalScrollbar.h"
#include "scrollbar/VerticalScrollbar.h"
#include "tools/kelem/kinds/Kinds.h"

namespace kelem {
namespace {

using FieldMap = std::map<std::string, std::function<std::string()>>;

bool LookUp(const FieldMap& fields, const std::string& name, std::string* out) {
    if (name == kFieldListName) return *out = FieldNameList(fields), true;
    auto it = fields.find(name);
    if (it == fields.end()) return false;
    *out = it->second();
    return true;
}

// ---- vscroll --------------------------------------------------------------------------------
CVerticalScrollbar* AsV(CElementContainer* e) {
    return static_cast<CVerticalScrollbar*>(e);
}

bool VerticalField(CElementContainer* e, const std::string& name, std::string* out) {
    CVerticalScrollbar* s = AsV(e);
    using V = CVerticalScrollbar;
    const FieldMap fields = {
        {"m_nUpState", [&] { return Fmt(s->m_nUpState); }},
        {"m_nDownState", [&] { return Fmt(s->m_nDownState); }},
        {"m_nThumbState", [&] { return Fmt(s->m_nThumbState); }},
        {"m_bButtonDown", [&] { return Fmt(s->m_bButtonDown); }},
        {"m_bPageTimer4", [&] { return Fmt(s->m_bPageTimer4); }},
        {"m_bPageTimer3", [&] { return Fmt(s->m_bPageTimer3); }},
        {"m_bRowTimer1", [&] { return Fmt(s->m_bRowTimer1); }},
        {"m_bRowTimer2", [&] { return Fmt(s->m_bRowTimer2); }},
        {"m_bUpPressed", [&] { return Fmt(s->m_bUpPressed); }},
        {"m_bDownPressed", [&] { return Fmt(s->m_bDownPressed); }},
        {"m_bDragging", [&] { return Fmt(s->m_bDragging); }},
        {"m_bThumbPressed", [&] { return Fmt(s->m_bThumbPressed); }},
        {"m_bPageUpPressed", [&] { return Fmt(s->m_bPageUpPressed); }},
        {"m_bPageDownPressed", [&] { return Fmt(s->m_bPageDownPressed); }},
        {"m_bDownSuspended", [&] { return Fmt(s->m_bDownSuspended); }},
        {"m_bUpSuspended", [&] { return Fmt(s->m_bUpSuspended); }},
        {"m_bPageUpSuspended", [&] { return Fmt(s->m_bPageUpSuspended); }},
        {"m_bPageDownSuspended", [&] { return Fmt(s->m_bPageDownSuspended); }},
        {"m_nChangeInterval", [&] { return Fmt(s->m_nChangeInterval); }},
        {"m_nUpdownInterval", [&] { return Fmt(s->m_nUpdownInterval); }},
        {"m_nThumbPos", [&] { return Fmt(s->m_nThumbPos); }},
        {"m_nArrowWidth", [&] { return Fmt(s->m_nArrowWidth); }},
        {"m_nArrowHeight", [&] { return Fmt(s->m_nArrowHeight); }},
        {"m_nWidth", [&] { return Fmt(s->m_nWidth); }},
        {"m_nHeight", [&] { return Fmt(s->m_nHeight); }},
        {"m_nThumbLength", [&] { return Fmt(s->m_nThumbLength); }},
        {"m_nCurPos", [&] { return Fmt(s->m_nCurPos); }},
        {"m_nMinThumbLength", [&] { return Fmt(s->m_nMinThumbLength); }},
        {"m_nThumbIndent", [&] { return Fmt(s->m_nThumbIndent); }},
        {"m_nSkinSet", [&] { return Fmt(s->m_nSkinSet); }},
        {"m_nRowNumber", [&] { return Fmt(s->m_nRowNumber); }},
        {"m_nPageSize", [&] { return Fmt(s->m_nPageSize); }},
        {"m_ptDrag", [&] { return Fmt(s->m_ptDrag); }},
        {"m_ptPageUp", [&] { return Fmt(s->m_ptPageUp); }},
        {"m_ptPageDown", [&] { return Fmt(s->m_ptPageDown); }},
        {"m_pUpArrow", [&] { return Fmt(s->m_pUpArrow != nullptr); }},
        {"m_pDownArrow", [&] { return Fmt(s->m_pDownArrow != nullptr); }},
        {"m_pSpan", [&] { return Fmt(s->m_pSpan != nullptr); }},
        {"m_pThumb1", [&] { return Fmt(s->m_pThumb1 != nullptr); }},
        {"m_pThumb2", [&] { return Fmt(s->m_pThumb2 != nullptr); }},
        {"m_pGrip", [&] { return Fmt(s->m_pGrip != nullptr); }},
        {"CHANGE_TIME_EVENT", [] { return Fmt(V::CHANGE_TIME_EVENT); }},
        {"V_DOWN_ONE_ROW", [] { return Fmt(V::V_DOWN_ONE_ROW); }},
        {"V_UP_ONE_ROW", [] { return Fmt(V::V_UP_ONE_ROW); }},
        {"V_UP_ONE_PAGE", [] { return Fmt(V::V_UP_ONE_PAGE); }},
        {"V_DOWN_ONE_PAGE", [] { return Fmt(V::V_DOWN_ONE_PAGE); }},
        {"nChangeInterval", [] { return Fmt(V::nChangeInterval); }},
        {"nUpdownInterval", [] { return Fmt(V::nUpdownInterval); }},
        {"nDefaultHeight", [] { return Fmt(V::nDefaultHeight); }},
        {"nDefaultWidth", [] { return Fmt(V::nDefaultWidth); }},
    };
    return LookUp(fields, name, out);
}

void RegisterVertical(Registry& registry) {
    ElementKind kind;
    kind.name = "vscroll";
    kind.create = [](const Args& args, size_t first) -> CElementContainer* {
        if (args.Count() > first) args.Fail("create vscroll takes no extra arguments");
        return new CVerticalScrollbar;
    };
    kind.field = VerticalField;
    auto& ops = kind.operations;
    ops["SetWidth"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        AsV(e)->SetWidth(a.Int(0));
        return std::string();
    };
    ops["GetWidth"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(0);
        return Fmt(AsV(e)->GetWidth());
    };
    ops["SetHeight"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        AsV(e)->SetHeight(a.Int(0));
        return std::string();
    };
    ops["GetHeight"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(0);
        return Fmt(AsV(e)->GetHeight());
    };
    ops["SetPageSize"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        AsV(e)->SetPageSize(a.Int(0));
        return std::string();
    };
    ops["SetRowNumber"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        AsV(e)->SetRowNumber(a.Int(0));
        return std::string();
    };
    ops["UpdateThumbPos"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        return Fmt(AsV(e)->UpdateThumbPos(a.Int(0)));
    };
    ops["GetCurrentPosition"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(0);
        return Fmt(AsV(e)->GetCurrentPosition());
    };
    ops["InitVScrollBar"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        AsV(e)->InitVScrollBar(a.Int(0));
        return std::string();
    };
    registry.Add(std::move(kind));
}

// ---- hscroll --------------------------------------------------------------------------------
CHorizontalScrollbar* AsH(CElementContainer* e) {
    return static_cast<CHorizontalScrollbar*>(e);
}

bool HorizontalField(CElementContainer* e, const std::string& name, std::string* out) {
    CHorizontalScrollbar* s = AsH(e);
    using H = CHorizontalScrollbar;
    const FieldMap fields = {
        {"m_bPageTimer3", [&] { return Fmt(s->m_bPageTimer3); }},
        {"m_bPageTimer4", [&] { return Fmt(s->m_bPageTimer4); }},
        {"m_bRowTimer1", [&] { return Fmt(s->m_bRowTimer1); }},
        {"m_bRowTimer2", [&] { return Fmt(s->m_bRowTimer2); }},
        {"m_nCurPos", [&] { return Fmt(s->m_nCurPos); }},
        {"m_bRightPressed", [&] { return Fmt(s->m_bRightPressed); }},
        {"m_bLeftPressed", [&] { return Fmt(s->m_bLeftPressed); }},
        {"m_bDragging", [&] { return Fmt(s->m_bDragging); }},
        {"m_bThumbPressed", [&] { return Fmt(s->m_bThumbPressed); }},
        {"m_bPageLeftPressed", [&] { return Fmt(s->m_bPageLeftPressed); }},
        {"m_bPageRightPressed", [&] { return Fmt(s->m_bPageRightPressed); }},
        {"m_bLeftSuspended", [&] { return Fmt(s->m_bLeftSuspended); }},
        {"m_bRightSuspended", [&] { return Fmt(s->m_bRightSuspended); }},
        {"m_bPageLeftSuspended", [&] { return Fmt(s->m_bPageLeftSuspended); }},
        {"m_bPageRightSuspended", [&] { return Fmt(s->m_bPageRightSuspended); }},
        {"m_nThumbPos", [&] { return Fmt(s->m_nThumbPos); }},
        {"m_nWidth", [&] { return Fmt(s->m_nWidth); }},
        {"m_nHeight", [&] { return Fmt(s->m_nHeight); }},
        {"m_nThumbLength", [&] { return Fmt(s->m_nThumbLength); }},
        {"m_ptDrag", [&] { return Fmt(s->m_ptDrag); }},
        {"m_ptPageLeft", [&] { return Fmt(s->m_ptPageLeft); }},
        {"m_ptPageRight", [&] { return Fmt(s->m_ptPageRight); }},
        {"m_nArrowWidth", [&] { return Fmt(s->m_nArrowWidth); }},
        {"m_nArrowHeight", [&] { return Fmt(s->m_nArrowHeight); }},
        {"m_nColumnNumber", [&] { return Fmt(s->m_nColumnNumber); }},
        {"m_nPageSize", [&] { return Fmt(s->m_nPageSize); }},
        {"m_nThumbIndent", [&] { return Fmt(s->m_nThumbIndent); }},
        {"m_bButtonDown", [&] { return Fmt(s->m_bButtonDown); }},
        {"m_nChangeInterval", [&] { return Fmt(s->m_nChangeInterval); }},
        {"m_nUpdownInterval", [&] { return Fmt(s->m_nUpdownInterval); }},
        {"m_pLeftArrow", [&] { return Fmt(s->m_pLeftArrow != nullptr); }},
        {"m_pRightArrow", [&] { return Fmt(s->m_pRightArrow != nullptr); }},
        {"m_pSpan", [&] { return Fmt(s->m_pSpan != nullptr); }},
        {"m_pThumb1", [&] { return Fmt(s->m_pThumb1 != nullptr); }},
        {"m_pThumb2", [&] { return Fmt(s->m_pThumb2 != nullptr); }},
        {"m_pGrip", [&] { return Fmt(s->m_pGrip != nullptr); }},
        {"m_nSkinSet", [&] { return Fmt(s->m_nSkinSet); }},
        {"m_nLeftState", [&] { return Fmt(s->m_nLeftState); }},
        {"m_nRightState", [&] { return Fmt(s->m_nRightState); }},
        {"m_nThumbState", [&] { return Fmt(s->m_nThumbState); }},
        {"CHANGE_TIME_EVENT", [] { return Fmt(H::CHANGE_TIME_EVENT); }},
        {"H_LEFT_ONE_ROW", [] { return Fmt(H::H_LEFT_ONE_ROW); }},
        {"H_RIGHT_ONE_ROW", [] { return Fmt(H::H_RIGHT_ONE_ROW); }},
        {"H_LEFT_ONE_PAGE", [] { return Fmt(H::H_LEFT_ONE_PAGE); }},
        {"H_RIGHT_ONE_PAGE", [] { return Fmt(H::H_RIGHT_ONE_PAGE); }},
    };
    return LookUp(fields, name, out);
}

void RegisterHorizontal(Registry& registry) {
    ElementKind kind;
    kind.name = "hscroll";
    kind.create = [](const Args& args, size_t first) -> CElementContainer* {
        if (args.Count() > first) args.Fail("create hscroll takes no extra arguments");
        return new CHorizontalScrollbar;
    };
    kind.field = HorizontalField;
    auto& ops = kind.operations;
    ops["SetWidth"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        AsH(e)->SetWidth(a.Int(0));
        return std::string();
    };
    ops["GetWidth"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(0);
        return Fmt(AsH(e)->GetWidth());
    };
    ops["SetHeight"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        AsH(e)->SetHeight(a.Int(0));
        return std::string();
    };
    ops["GetHeight"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(0);
        return Fmt(AsH(e)->GetHeight());
    };
    ops["SetPageSize"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        AsH(e)->SetPageSize(a.Int(0));
        return std::string();
    };
    ops["SetColumnNumber"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        AsH(e)->SetColumnNumber(a.Int(0));
        return std::string();
    };
    ops["UpdateThumbPos"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        return Fmt(AsH(e)->UpdateThumbPos(a.Int(0)));
    };
    ops["InitHScrollBar"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        AsH(e)->InitHScrollBar(a.Int(0));
        return std::string();
    };
    registry.Add(std::move(kind));
}

}  // namespace

void RegisterScrollbars(Registry& registry) {
    RegisterVertical(registry);
    RegisterHorizontal(registry);
}

}  // namespace kelem
