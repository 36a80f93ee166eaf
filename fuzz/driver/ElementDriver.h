// Drives one element of the library through the headless host with choices taken from
// a byte source: pointer moves, presses, releases, leaves, timer advances on the virtual
// clock, resizes, activation changes, menu answers, and the element's public operations
// with arbitrary arguments. After every step the driver checks what the element must
// keep true whatever it was fed; the fuzz targets and the soak share it.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "ByteSource.h"
#include "host/HeadlessHost.h"

namespace kfuzz {

enum class Kind { Button, VScroll, HScroll, Tabs };
const char* KindName(Kind kind);
bool KindFromName(const std::string& name, Kind* kind);

std::string DefaultSkinDir();

// The window every driver uses, made once per process with the default skin.
CHeadlessHost& SharedHost();

// GDI objects and menus alive, less the skin's bitmap cache, which fills as elements
// first ask for a file and then keeps it for the life of the skin.
struct ResourceCount {
    int gdi = 0;
    int menus = 0;
    bool operator==(const ResourceCount& o) const { return gdi == o.gdi && menus == o.menus; }
};
// With no host: everything alive, for the targets without one.
ResourceCount CountResources(CHeadlessHost* host = nullptr);
// Aborts the process with a message when `after` differs from `before`.
void AbortOnLeak(const ResourceCount& before, const ResourceCount& after, const std::string& what);
// One input of a parser target: `parse` returns false for a refused input and must then say
// why in `error`; whatever it made must be gone when it returns. Aborts otherwise.
void RunParserInput(const std::string& what, const std::function<bool(std::string* error)>& parse);

// A folder of this process under /tmp, made on the first call for `tag`, holding one small
// valid bitmap, "ok.bmp".
std::string ScratchFolder(const std::string& tag);

class ElementDriver {
public:
    ElementDriver(CHeadlessHost& host, Kind kind);
    ~ElementDriver();  // takes the element out of the host, which releases it
    ElementDriver(const ElementDriver&) = delete;
    ElementDriver& operator=(const ElementDriver&) = delete;

    // One event or call. False once an invariant has broken; Violation() says which.
    bool Step(ByteSource& in);
    // Paints what is invalid; false when a paint left GDI objects behind.
    bool Paint();
    const std::string& Violation() const { return m_violation; }
    long long Steps() const { return m_steps; }

    struct State;  // per kind: the element and what the checks remember

private:
    bool Fail(const std::string& what);
    bool CheckPosted();
    bool CheckInvariants();
    void HostEvent(ByteSource& in, int which);

    CHeadlessHost& m_host;
    Kind m_kind;
    std::unique_ptr<State> m_state;
    RECT m_home_rect{};  // where the element was placed first, window coordinates
    RECT m_rect{};       // where it is now
    std::string m_violation;
    long long m_steps = 0;
    int m_paintLeaksBefore = 0;
};

// Runs one fuzz input against a fresh element of `kind` in the shared host, at most
// `max_steps` steps, and aborts the process with a message when a check fails.
void RunElementInput(Kind kind, const uint8_t* data, size_t size, int max_steps = 4000);

}  // namespace kfuzz
