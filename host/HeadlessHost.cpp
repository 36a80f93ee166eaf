#include "HeadlessHost.h"

#include "Services.h"
#include "win32/runtime_ext.h"

CHeadlessHost::CHeadlessHost(SIZE size, POINT origin) : m_size(size), m_origin(origin) {
    host::StartModuleManager();
    m_window = std::make_unique<CHostWindow>();
    const RECT rc{origin.x, origin.y, origin.x + size.cx, origin.y + size.cy};
    m_window->CreateHost(L"KelEMBase host", rc);
    CGlobalEnv::GetGlobalEnv()->SetMainWnd(m_window->GetSafeHwnd());
    Pump();
}

CHeadlessHost::~CHeadlessHost() {
    CComPtr<CGlobalEnv> env = CGlobalEnv::GetGlobalEnv();
    if (env->GetMainWnd() == m_window->GetSafeHwnd()) env->SetMainWnd(nullptr);
    m_window.reset();
    rt::PumpMessages();
}

void CHeadlessHost::Resize(SIZE size) {
    m_size = size;
    m_window->MoveWindow(m_origin.x, m_origin.y, size.cx, size.cy, TRUE);
    Pump();
}

bool CHeadlessHost::Add(CElementContainer* pElement, const wchar_t* name, const RECT& container_rect, DWORD id) {
    if (!pElement) return false;
    pElement->AddRef();  // ours until the window holds its own
    const bool ok = m_window->AddElement(pElement, name, id ? id : m_nNextID, container_rect) != 0;
    if (ok && !id) ++m_nNextID;
    pElement->Release();
    return ok;
}

POINT CHeadlessHost::ToScreen(POINT window_pt) const {
    return POINT{window_pt.x + m_origin.x, window_pt.y + m_origin.y};
}

void CHeadlessHost::Inject(UINT msg, POINT window_pt, WPARAM keys) {
    rt::InjectMouse(msg, ToScreen(window_pt), keys);
    Pump();
}

void CHeadlessHost::Move(POINT window_pt, WPARAM keys) { Inject(WM_MOUSEMOVE, window_pt, keys | m_keys); }

void CHeadlessHost::Down(POINT window_pt) {
    m_keys |= MK_LBUTTON;
    Inject(WM_LBUTTONDOWN, window_pt, m_keys);
}

void CHeadlessHost::Up(POINT window_pt) {
    m_keys &= ~WPARAM(MK_LBUTTON);
    Inject(WM_LBUTTONUP, window_pt, m_keys);
}

void CHeadlessHost::Leave() {
    // Park the pointer off every window; the host hears that its pointer left.
    ::SetCursorPos(-10000, -10000);
    ::SendMessageW(m_window->GetSafeHwnd(), WM_MOUSELEAVE, 0, 0);
    Pump();
}

void CHeadlessHost::Wait(DWORD ms) {
    // Element timers are the host's, so the same steps happen on every platform: time moves
    // to each due timer in turn, then to the end.
    const DWORD end = rt::ClockNow() + ms;
    while (m_window->FireNextTimer(end)) {
    }
    rt::AdvanceClock(end - rt::ClockNow());
    Pump();
}

void CHeadlessHost::Pump() {
    rt::PumpMessages();
    // Idle, as a message loop is once its queue runs dry: the temporary MFC wrappers made
    // while dispatching (the CDC of every background erase, ...) go, or a long-lived host
    // keeps one per paint.
    CWnd::DeleteTempMap();
    AfxDeleteTempMaps();
}

HBITMAP CHeadlessHost::Snapshot() {
    ::UpdateWindow(m_window->GetSafeHwnd());
    Pump();
    RECT rc{m_origin.x, m_origin.y, m_origin.x + m_size.cx, m_origin.y + m_size.cy};
    return rt::CopyScreenRect(rc);
}

bool CHeadlessHost::SaveSnapshot(const std::string& path, std::string* error) {
    HBITMAP bmp = Snapshot();
    const bool ok = bmp && rt::SavePngFile(bmp, path, error);
    if (bmp) ::DeleteObject(bmp);
    return ok;
}
