// The reference host without a display: one host window on the runtime's virtual
// screen, a skin, the module manager, and input/clock helpers that work in window
// coordinates. The scenario runner, the gallery and the tests drive elements through it.
#pragma once

#include <memory>
#include <string>

#include "HostWindow.h"
#include "Skin.h"

class CHeadlessHost {
public:
    // The window's client area is (origin, size) on the virtual screen.
    explicit CHeadlessHost(SIZE size = SIZE{640, 480}, POINT origin = POINT{0, 0});
    ~CHeadlessHost();
    CHeadlessHost(const CHeadlessHost&) = delete;
    CHeadlessHost& operator=(const CHeadlessHost&) = delete;

    CHostWindow& Window() { return *m_window; }
    CSkin& Skin() { return m_skin; }
    bool LoadSkin(const std::string& dir) { return m_skin.Load(dir); }
    void Resize(SIZE size);
    SIZE Size() const { return m_size; }

    // Places an element (InitObject with name and the next free ID); false when
    // InitObject refused, in which case the element is released.
    bool Add(CElementContainer* pElement, const wchar_t* name, const RECT& container_rect, DWORD id = 0);

    // Pointer input in window coordinates; each dispatches what it caused.
    void Move(POINT window_pt, WPARAM keys = 0);
    void Down(POINT window_pt);
    void Up(POINT window_pt);
    void Leave();  // the pointer leaves the window
    void Wait(DWORD ms);  // advances the virtual clock, firing timers in order
    void Pump();   // dispatches pending messages and paints

    // Paints what is invalid and copies the window's client area (caller deletes).
    HBITMAP Snapshot();
    bool SaveSnapshot(const std::string& path, std::string* error = nullptr);

private:
    POINT ToScreen(POINT window_pt) const;
    void Inject(UINT msg, POINT window_pt, WPARAM keys);

    SIZE m_size;
    POINT m_origin;
    CSkin m_skin;
    std::unique_ptr<CHostWindow> m_window;
    DWORD m_nNextID = 1;
    WPARAM m_keys = 0;
};
