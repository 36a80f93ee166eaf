// The host framework's element base: default slots and the services elements call.
// Every service forwards to the host window the element was placed in; an element
// not placed anywhere gets 0 and nothing happens.
#include "HostTypes.h"
#include "HostWindow.h"

// ---- CPropertyObject ----------------------------------------------------------------------
CPropertyObject::CPropertyObject() = default;
CPropertyObject::CPropertyObject(const CPropertyObject& other) : CUnknown(other) {}
CPropertyObject& CPropertyObject::operator=(const CPropertyObject& other) {
    CUnknown::operator=(other);
    return *this;
}
CPropertyObject::~CPropertyObject() = default;
BOOL CPropertyObject::OnBeforeSetValue(const wchar_t*) { return TRUE; }
BOOL CPropertyObject::OnCompleteSetValue(const wchar_t*) { return TRUE; }
BOOL CPropertyObject::OnBeforeSetValues(std::vector<_KEY_VALUE_NODE>&) { return TRUE; }
BOOL CPropertyObject::OnCompleteSetValues(std::vector<_KEY_VALUE_NODE>&) { return TRUE; }

// ---- CElementContainer: life -------------------------------------------------------------
CElementContainer::CElementContainer() : m_pHostState(new ElementHostState) {}

CElementContainer::CElementContainer(const CElementContainer& other)
    : CPropertyObject(other), m_pHostState(new ElementHostState) {
    m_pHostState->bActive = other.m_pHostState->bActive;
}

CElementContainer& CElementContainer::operator=(const CElementContainer& other) {
    CPropertyObject::operator=(other);
    if (this != &other) m_pHostState->bActive = other.m_pHostState->bActive;
    return *this;
}

CElementContainer::~CElementContainer() {
    if (m_pHostState->pHost) m_pHostState->pHost->ForgetElement(this);
    delete m_pHostState;
}

// ---- default slots ---------------------------------------------------------------------------
int CElementContainer::InitObject(const wchar_t* name, _CONTAINER_INFO* info) {
    if (!name) return 0;
    SetName(name);
    if (info && info->pHost) info->pHost->AttachElement(this, info->dwID, info->rcContainer);
    return 1;
}
BOOL CElementContainer::BeforeReleaseObject() { return TRUE; }
BOOL CElementContainer::ReleaseObject() { return TRUE; }
void CElementContainer::SetDebugView(int) {}  // this host has no debug view
BOOL CElementContainer::IBS_OnReturnWantedStreamDataTypeToFrame(std::vector<QXIBSStreamDataType>&) { return FALSE; }
BOOL CElementContainer::IBS_OnGetStreamData(QXIBSStreamDataType, const char*, int) { return FALSE; }
BOOL CElementContainer::ResetParent(CElementContainer*) { return FALSE; }
BOOL CElementContainer::OnNeedVKReturn() { return FALSE; }
BOOL CElementContainer::OnFilter(UINT, UINT, LPARAM, POINT) { return FALSE; }
BOOL CElementContainer::OnWindowProc(UINT, UINT, LPARAM, POINT) { return FALSE; }
int CElementContainer::OnPaint(CPaintDC*) { return 0; }
int CElementContainer::OnEraseBackground(CDC*) { return 0; }
int CElementContainer::OnShow(int bShow) {
    m_pHostState->bVisible = bShow;
    return 1;
}
int CElementContainer::OnLButtonDown(POINT) { return 0; }
int CElementContainer::OnLButtonUp(POINT) { return 0; }
int CElementContainer::OnRButtonDown(POINT) { return 0; }
int CElementContainer::OnRButtonUp(POINT) { return 0; }
int CElementContainer::OnDBClick(int, POINT) { return 0; }
int CElementContainer::OnMouseWheel(UINT, int, POINT) { return 0; }
int CElementContainer::OnSize(UINT, int, int) { return 0; }
int CElementContainer::OnTimer(DWORD) { return 0; }
int CElementContainer::OnVKEsc() { return 0; }
int CElementContainer::OnVKBackSpace() { return 0; }
int CElementContainer::OnKeyDown(UINT, UINT, UINT) { return 0; }
int CElementContainer::OnKeyUp(UINT, UINT, UINT) { return 0; }
int CElementContainer::OnMouseMove(int, int, DWORD) { return 0; }
int CElementContainer::OnUserMessage(UINT, UINT, LPARAM) { return 0; }
int CElementContainer::OnMenuCommand(DWORD) { return 0; }
int CElementContainer::OnAcceleratorCommand(DWORD) { return 0; }
int CElementContainer::OnControlCommand(DWORD, DWORD, HWND) { return 0; }
int CElementContainer::OnBroadcastCommand(UINT, LPARAM) { return 0; }
int CElementContainer::OnSetCursor(UINT, LPARAM) { return 0; }
int CElementContainer::OnMouseLeave() { return 0; }
int CElementContainer::OnSetFocus(int) { return 0; }
int CElementContainer::OnSetWndFocus(int) { return 0; }
int CElementContainer::OnControlMessage(DWORD, UINT, UINT, LPARAM) { return 0; }
int CElementContainer::OnChar(UINT, int, int) { return 0; }
int CElementContainer::OnChildsProc(UINT, UINT, LPARAM) { return 0; }
int CElementContainer::OnDeleteFromUserStyle() { return 0; }
int CElementContainer::AfterRestoreElementStates() { return 0; }

// ---- services ------------------------------------------------------------------------------
BOOL CElementContainer::RegisterMessage(UINT msg) {
    if (!m_pHostState->IsRegistered(msg)) m_pHostState->registered.push_back(msg);
    return TRUE;
}

RECT* CElementContainer::GetDrawRect(RECT* prc) {
    if (!prc) return prc;
    const RECT& rc = m_pHostState->rcContainer;
    ::SetRect(prc, 0, 0, rc.right - rc.left, rc.bottom - rc.top);
    return prc;
}

RECT* CElementContainer::GetContainerRect(RECT* prc) {
    if (prc) *prc = m_pHostState->rcContainer;
    return prc;
}

BOOL CElementContainer::InvalidContainerRect(int nFlag, RECT* prc) {
    return m_pHostState->pHost ? m_pHostState->pHost->InvalidateElement(this, nFlag, prc) : FALSE;
}
BOOL CElementContainer::SetCapture() {
    return m_pHostState->pHost ? m_pHostState->pHost->CaptureElement(this) : FALSE;
}
BOOL CElementContainer::ReleaseCapture() {
    return m_pHostState->pHost ? m_pHostState->pHost->ReleaseElementCapture(this) : FALSE;
}
BOOL CElementContainer::StartTimer(DWORD dwID, DWORD dwElapse) {
    return m_pHostState->pHost ? m_pHostState->pHost->StartElementTimer(this, dwID, dwElapse) : FALSE;
}
BOOL CElementContainer::StopTimer(DWORD dwID) {
    return m_pHostState->pHost ? m_pHostState->pHost->StopElementTimer(this, dwID) : FALSE;
}
BOOL CElementContainer::PostControlMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return m_pHostState->pHost ? m_pHostState->pHost->PostElementMessage(this, msg, wParam, lParam) : FALSE;
}
BOOL CElementContainer::SkipMsg() {
    return m_pHostState->pHost ? m_pHostState->pHost->SkipCurrentMessage(this) : FALSE;
}
BOOL CElementContainer::IsActive() { return m_pHostState->bActive; }
HWND CElementContainer::GetVMWindow() { return m_pHostState->pHost ? m_pHostState->pHost->GetSafeHwnd() : nullptr; }
DWORD CElementContainer::GetID() { return m_pHostState->dwID; }
BOOL CElementContainer::SetFocus() {
    return m_pHostState->pHost ? m_pHostState->pHost->FocusElement(this) : FALSE;
}
