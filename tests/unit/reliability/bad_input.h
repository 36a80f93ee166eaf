// Bad-input tables: each row calls one public operation of an element with an argument a
// careless host could pass, and says what the call must answer and whether the element
// must be left exactly as it was. After each row the element still has to take a round
// of pointer events, timers and a paint, and give back every GDI object when released.
#pragma once

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "host_fixture.h"
#include "pixels.h"
#include "tools/kelem/viewer/Inspector.h"
#include "win32/runtime_ext.h"

namespace rel {

const long long kThrewInvalidArg = LLONG_MIN;  // the row's call raised CInvalidArgException
const long long kAnyResult = LLONG_MAX;        // only the state and the sanitizers judge

template <class E>
struct BadInput {
    const char* name;
    std::function<long long(E*)> call;
    long long expected;  // kAnyResult: not checked
    bool unchanged;      // the element's fields must be exactly as before
};

// A row whose call answers nothing: only the state and the sanitizers judge it.
template <class E, class F>
std::function<long long(E*)> Void(F f) {
    return [f](E* e) -> long long {
        f(e);
        return kAnyResult;
    };
}

// 10,000 characters: far wider than any element.
inline const wchar_t* LongText() {
    static const std::wstring text(10000, L'M');
    return text.c_str();
}

// Runs the call, mapping the framework's invalid-argument exception to kThrewInvalidArg.
template <class E>
long long CallRow(const BadInput<E>& row, E* element) {
    try {
        return row.call(element);
    } catch (CInvalidArgException* e) {
        e->Delete();
        return kThrewInvalidArg;
    }
}

// Every field the tool lists for the element, with the records of its arrays, one a line:
// what a row that must change nothing compares before and after.
inline std::string FieldsOf(const kelem::ElementKind& kind, CElementContainer* e) {
    std::string out;
    auto add = [&](const std::string& prefix) {
        for (const std::string& name : kelem::ListFields(kind, e, prefix + kelem::kFieldListName)) {
            std::string value;
            kind.field(e, prefix + name, &value);
            out += prefix + name + " = " + value + "\n";
        }
    };
    add("");
    for (const std::string array : {"m_arrItems", "m_arrTextBtn"}) {
        std::string count;
        if (!kind.field(e, array, &count)) continue;
        out += array + " = " + count + "\n";
        for (int i = 0; i < std::stoi(count); ++i) add(array + "[" + std::to_string(i) + "].");
    }
    return out;
}

class ReliabilityTest : public kt::HostTest {
protected:
    // Each row on a fresh element from make(): the answer, the fields of the tool's kind
    // left alone when the row says so, then a round of use (after_use sees what it
    // posted) and the release.
    template <class E, class Make>
    void RunRows(const std::vector<BadInput<E>>& rows, Make make, const char* kind_name,
                 const std::function<void(E*, const std::vector<kt::Posted>&)>& after_use = nullptr) {
        kelem::Registry registry;
        kelem::RegisterAllKinds(registry);
        const kelem::ElementKind& kind = *registry.Find(kind_name);
        for (const BadInput<E>& row : rows) {
            SCOPED_TRACE(row.name);
            E* element = make();
            const std::string before = FieldsOf(kind, element);
            const long long result = CallRow(row, element);
            if (row.expected != kAnyResult) {
                EXPECT_EQ(row.expected, result);
            }
            if (row.unchanged) {
                EXPECT_EQ(before, FieldsOf(kind, element));
            }
            Exercise(element);
            const std::vector<kt::Posted> posted = TakePosted();
            if (after_use) after_use(element, posted);
            Release(element);
        }
    }

    // Pointer traffic over the element, held presses through auto-repeat, a leave, a paint.
    void Exercise(CElementContainer* element) {
        const RECT rc = WindowRect(element);
        const POINT inside{rc.left + 2, rc.top + 2};
        const POINT centre = Centre(element);
        const POINT far_end{rc.right - 2, rc.bottom - 2};
        for (POINT pt : {inside, centre, far_end}) {
            host->Move(pt);
            host->Down(pt);
            host->Wait(400);
            host->Move(POINT{pt.x + 5, pt.y + 5});
            host->Up(pt);
        }
        host->Leave();
        HBITMAP shot = host->Snapshot();
        ::DeleteObject(shot);
    }
    // Takes the element out of the host and checks that no GDI object stayed behind.
    void Release(CElementContainer* element) {
        host->Window().RemoveElement(element);
        host->Pump();
        EXPECT_EQ(gdiBaseline + 0, kt::GdiObjectsOutsideSkin()) << "GDI objects left behind";
    }
};

}  // namespace rel
