#include "button/ElementButton.h"
#include "frame/HostServices.h"
#include "tools/kelem/kinds/Kinds.h"

namespace kelem {

CFont* PaletteFontArg(const Args& args, size_t i) {
    const wchar_t* key = args.Str(i);
    if (!key) return nullptr;
    CComPtr<CSWPalette> palette = GetEnvSkinPalette();
    CFont* font = palette ? palette->GetFont(key) : nullptr;
    if (!font) args.Fail("no palette font for this key");
    return font;
}

namespace {

CElementButton* AsButton(CElementContainer* e) { return static_cast<CElementButton*>(e); }

bool ButtonField(CElementContainer* e, const std::string& name, std::string* out) {
    CElementButton* b = AsButton(e);
    const std::map<std::string, std::function<std::string()>> fields = {
        {"m_pBkBitmap", [&] { return Fmt(b->m_pBkBitmap ? 1 : 0); }},
        {"m_clrText", [&] { return Fmt(b->m_clrText); }},
        {"m_clrTextHot", [&] { return Fmt(b->m_clrTextHot); }},
        {"m_strText", [&] { return Fmt(b->m_strText); }},
        {"m_strImageFolder", [&] { return Fmt(b->m_strImageFolder); }},
        {"m_strImageNormal", [&] { return Fmt(b->m_strImageNormal); }},
        {"m_strImageHot", [&] { return Fmt(b->m_strImageHot); }},
        {"m_strImageDown", [&] { return Fmt(b->m_strImageDown); }},
        {"m_strImageDisable", [&] { return Fmt(b->m_strImageDisable); }},
        {"m_bDown", [&] { return Fmt(b->m_bDown != 0); }},
        {"m_bHot", [&] { return Fmt(b->m_bHot != 0); }},
        {"m_bDisable", [&] { return Fmt(b->m_bDisable != 0); }},
        {"m_nID", [&] { return Fmt(b->m_nID); }},
        {"m_bTracking", [&] { return Fmt(b->m_bTracking != 0); }},
        {"m_bFocus", [&] { return Fmt(b->m_bFocus != 0); }},
        {"m_clrBk", [&] { return Fmt(static_cast<long long>(b->m_clrBk)); }},
        {"m_pFont", [&] { return Fmt(b->m_pFont ? 1 : 0); }},
        {"m_nFormat", [&] { return Fmt(b->m_nFormat); }},
    };
    if (name == kFieldListName) return *out = FieldNameList(fields), true;
    auto it = fields.find(name);
    if (it == fields.end()) return false;
    *out = it->second();
    return true;
}

}  // namespace

void RegisterButton(Registry& registry) {
    ElementKind kind;
    kind.name = "button";
    kind.create = [](const Args& args, size_t first) -> CElementContainer* {
        if (args.Count() > first) args.Fail("create button takes no extra arguments");
        return new CElementButton;
    };
    kind.field = ButtonField;
    auto& ops = kind.operations;
    ops["InitBtn"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(4);
        return Fmt(AsButton(e)->InitBtn(a.Int(0), static_cast<unsigned int>(a.Int(1)), a.Str(2), a.Str(3)));
    };
    ops["SetButtonText"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(3);
        return Fmt(AsButton(e)->SetButtonText(a.Str(0), PaletteFontArg(a, 1), static_cast<unsigned int>(a.Int(2))));
    };
    ops["SetImage"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(5);
        return Fmt(AsButton(e)->SetImage(a.Str(0), a.Str(1), a.Str(2), a.Str(3), a.Str(4)));
    };
    ops["SetTextColor"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        AsButton(e)->SetTextColor(static_cast<unsigned int>(a.Int(0)));
        return std::string();
    };
    ops["SetTextHotColor"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        AsButton(e)->SetTextHotColor(static_cast<unsigned int>(a.Int(0)));
        return std::string();
    };
    ops["SetBtnDisable"] = [](CElementContainer* e, const Args& a) {
        a.ExpectCount(1);
        AsButton(e)->SetBtnDisable(a.Int(0));
        return std::string();
    };
    registry.Add(std::move(kind));
}

}  // namespace kelem
