// Scene paints (ours and cairo's), the memory floor of each scene, and the scaling runs:
// tab layout, hit testing and the strip's paint for 10 to 10,000 tabs, adding up to a million tabs, scrollbar paint for thumbs of 50 to
// 5,000 pixels.
//
// Index
//   1. Scenes: building both pictures
//   2. Scene paints and floors
//   3. Tab layout, hit testing and paint
//   4. Scrollbar thumb lengths
//   5. Registration
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "AllocCounter.h"
#include "BenchCommon.h"
#include "Scenes.h"
#include "button/ElementButton.h"
#include "scrollbar/VerticalScrollbar.h"
#include "tabcontrol/ElementTabControl.h"
#include "win32/runtime_ext.h"

// The tab control lets its tests reach the private layout; the benchmarks time it the same way.
struct TabControlTestAccess {
    static void SetTabAndTextbtnRect(CElementTabControl& tabs) { tabs.SetTabAndTextbtnRect(); }
};

namespace bench {
namespace {

// ---- 1. Scenes ----------------------------------------------------------------------------------
struct SceneSetup {
    std::unique_ptr<ElementScene> ours;
    std::unique_ptr<CairoPicture> cairo;
};

SceneSetup MakeScene(SceneId id, int thumbLength = 300, int barHeight = 720) {
    SceneSetup s;
    switch (id) {
        case SceneId::Tabs: {
            const TabStripSpec spec;
            s.ours = std::make_unique<ElementScene>(spec.size);
            CElementTabControl* tabs = BuildTabStrip(*s.ours, spec);
            s.ours->OpenPaint();
            s.ours->Paint();  // the paint finishes the text buttons' rectangles
            s.cairo = std::make_unique<CairoPicture>(spec.size);
            DescribeTabStrip(*tabs, *s.cairo);
            break;
        }
        case SceneId::Scrollbar: {
            ScrollbarSpec spec;
            spec.size.cy = barHeight;
            spec.thumbLength = thumbLength;
            s.ours = std::make_unique<ElementScene>(spec.size);
            CVerticalScrollbar* bar = BuildScrollbar(*s.ours, spec);
            s.ours->OpenPaint();
            s.ours->Paint();
            s.cairo = std::make_unique<CairoPicture>(spec.size);
            DescribeScrollbar(*bar, spec.size, *s.cairo);
            break;
        }
        case SceneId::Button: {
            const ButtonSpec spec;
            s.ours = std::make_unique<ElementScene>(spec.size);
            CElementButton* button = BuildButton(*s.ours, spec);
            s.ours->OpenPaint();
            s.ours->Paint();
            s.cairo = std::make_unique<CairoPicture>(spec.size);
            DescribeButton(*button, spec.size, *s.cairo);
            break;
        }
    }
    s.cairo->Paint();  // warms cairo's glyph cache
    s.cairo->Prepare();
    return s;
}

// Runs body in the benchmark loop and reports heap allocations per iteration.
void TimedLoop(benchmark::State& state, const std::function<void()>& body) {
    body();  // caches warm
    AllocationWindow allocations;
    for (auto _ : state) body();
    state.counters["allocs"] = double(allocations.Count()) / double(std::max<int64_t>(1, state.iterations()));
}

// ---- 2. Scene paints and floors -------------------------------------------------------------------
void BM_SceneOurs(benchmark::State& state, SceneId id) {
    SceneSetup s = MakeScene(id);
    ElementScene& scene = *s.ours;
    TimedLoop(state, [&] { scene.Paint(); });
    const SIZE size = scene.Size();
    state.counters["pixels"] = double(size.cx) * size.cy;
}

void BM_SceneCairo(benchmark::State& state, SceneId id) {
    SceneSetup s = MakeScene(id);
    CairoPicture& picture = *s.cairo;
    TimedLoop(state, [&] { picture.Paint(); });
}

// A cairo program that keeps its glyphs, extents and patterns between paints.
void BM_SceneCairoCached(benchmark::State& state, SceneId id) {
    SceneSetup s = MakeScene(id);
    CairoPicture& picture = *s.cairo;
    TimedLoop(state, [&] { picture.PaintPrepared(); });
}

// Writing the scene's pixels once and copying them once: what any paint through an
// off-screen buffer must at least do.
void BM_Floor(benchmark::State& state, SceneId id) {
    const SIZE size = SceneSize(id);
    const size_t bytes = size_t(size.cx) * size_t(size.cy) * 4;
    std::vector<uint8_t> buffer(bytes), surface(bytes);
    int value = 0;
    TimedLoop(state, [&] {
        std::memset(buffer.data(), ++value & 0xFF, bytes);
        std::memcpy(surface.data(), buffer.data(), bytes);
        benchmark::ClobberMemory();
    });
    benchmark::DoNotOptimize(surface.data());
}

// ---- 3. Tab layout, hit testing and paint ----------------------------------------------------------------
struct ManyTabs {
    std::unique_ptr<ElementScene> scene;
    CElementTabControl* tabs = nullptr;
    int visible = 0;
};

ManyTabs MakeManyTabs(int count) {
    ManyTabs m;
    m.scene = std::make_unique<ElementScene>(SIZE{1280, 24});
    TabStripSpec spec;
    spec.tabs = count;
    spec.menuTabs = count / 5;  // one in five has a menu
    spec.hiddenEvery = 10;      // one in ten hidden
    spec.shortNames = true;     // every name different
    spec.hoveredIndex = -1;
    m.tabs = BuildTabStrip(*m.scene, spec);
    m.visible = m.tabs->GetVisibleCount();
    return m;
}

void BM_TabLayout(benchmark::State& state) {
    ManyTabs m = MakeManyTabs(int(state.range(0)));
    TimedLoop(state, [&] { TabControlTestAccess::SetTabAndTextbtnRect(*m.tabs); });
    state.counters["tabs"] = double(state.range(0));
}

// Shrinks every tab towards its minimum and grows them back: two passes per iteration.
void BM_TabLimitMaxWidth(benchmark::State& state) {
    ManyTabs m = MakeManyTabs(int(state.range(0)));
    const int narrow = m.visible * 20;
    TimedLoop(state, [&] {
        m.tabs->SetLimitMaxWidth(narrow);
        m.tabs->SetLimitMaxWidth(INT32_MAX / 2);
    });
    state.counters["tabs"] = double(state.range(0));
}

// The pointer over the last visible tab: every tab before it is looked at.
void BM_TabHitTest(benchmark::State& state) {
    ManyTabs m = MakeManyTabs(int(state.range(0)));
    int last = int(m.tabs->m_arrItems.GetSize()) - 1;
    while (last > 0 && !m.tabs->m_arrItems[last]->m_bVisible) --last;
    const RECT rc = m.tabs->m_arrItems[last]->m_rcItem;
    const int x = (rc.left + rc.right) / 2, y = (rc.top + rc.bottom) / 2;
    TimedLoop(state, [&] { m.tabs->OnMouseMove(x, y, 0); });
    if (m.tabs->m_nHotTab != last) state.SkipWithError("the hit test missed the last tab");
    state.counters["tabs"] = double(state.range(0));
}

// One 1280x24 paint, whatever the number of tabs: the picture holds the same few dozen
// tabs, the rest lie beyond the strip's right edge.
void BM_TabPaint(benchmark::State& state) {
    ManyTabs m = MakeManyTabs(int(state.range(0)));
    m.scene->OpenPaint();
    TimedLoop(state, [&] { m.scene->Paint(); });
    state.counters["tabs"] = double(state.range(0));
    state.counters["pixels"] = double(m.scene->Size().cx) * m.scene->Size().cy;
}

// Adding N tabs to an empty strip, one Add each: the duplicate-ID check goes through an
// index, so the time per tab stays flat up to a million tabs. Making and freeing the strip
// is not timed.
void BM_TabAdd(benchmark::State& state) {
    const int count = int(state.range(0));
    std::vector<std::wstring> names(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) names[size_t(i)] = L"T" + std::to_wstring(i);
    for (auto _ : state) {
        state.PauseTiming();
        auto scene = std::make_unique<ElementScene>(SIZE{1280, 24});
        auto* tabs = new CElementTabControl;
        scene->Place(tabs, L"tabs");
        state.ResumeTiming();
        for (int i = 0; i < count; ++i) {
            _TAB_PARAM_INFO_ param;
            param.nID = i + 1;
            param.lpszName = names[size_t(i)].c_str();
            if (tabs->Add(&param) != i) state.SkipWithError("a tab was refused");
        }
        state.PauseTiming();
        scene.reset();
        state.ResumeTiming();
    }
    state.counters["tabs"] = double(count);
}

// ---- 4. Scrollbar thumb lengths ---------------------------------------------------------------------
void BM_ThumbOurs(benchmark::State& state) {
    SceneSetup s = MakeScene(SceneId::Scrollbar, int(state.range(0)), kLongBarHeight);
    ElementScene& scene = *s.ours;
    TimedLoop(state, [&] { scene.Paint(); });
    state.counters["thumb"] = double(state.range(0));
}

void BM_ThumbCairo(benchmark::State& state) {
    SceneSetup s = MakeScene(SceneId::Scrollbar, int(state.range(0)), kLongBarHeight);
    CairoPicture& picture = *s.cairo;
    TimedLoop(state, [&] { picture.Paint(); });
    state.counters["thumb"] = double(state.range(0));
}

}  // namespace

// ---- 5. Registration ----------------------------------------------------------------------------------
void RegisterSceneBenchmarks() {
    for (SceneId id : {SceneId::Tabs, SceneId::Scrollbar, SceneId::Button}) {
        const std::string name = SceneName(id);
        benchmark::RegisterBenchmark(("scene/" + name + "/ours").c_str(), BM_SceneOurs, id);
        benchmark::RegisterBenchmark(("scene/" + name + "/cairo").c_str(), BM_SceneCairo, id);
        benchmark::RegisterBenchmark(("scene/" + name + "/cairo_cached").c_str(), BM_SceneCairoCached, id);
        benchmark::RegisterBenchmark(("floor/" + name).c_str(), BM_Floor, id);
    }
    for (auto* b : {benchmark::RegisterBenchmark("scale/tab_layout", BM_TabLayout),
                    benchmark::RegisterBenchmark("scale/tab_limit_max_width", BM_TabLimitMaxWidth),
                    benchmark::RegisterBenchmark("scale/tab_hit_test", BM_TabHitTest),
                    benchmark::RegisterBenchmark("scale/tab_paint", BM_TabPaint)})
        b->Arg(10)->Arg(100)->Arg(1000)->Arg(10000);
    // One strip per run; three runs each, so that the million costs seconds, not minutes.
    benchmark::RegisterBenchmark("scale/tab_add", BM_TabAdd)
        ->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Repetitions(3);
    for (auto* b : {benchmark::RegisterBenchmark("scale/thumb/ours", BM_ThumbOurs),
                    benchmark::RegisterBenchmark("scale/thumb/cairo", BM_ThumbCairo)})
        for (int length : kThumbLengths) b->Arg(length);
}

std::string DescribeAllocationSites() {
    constexpr int kPaints = 10;
    std::string out;
    for (SceneId id : {SceneId::Tabs, SceneId::Scrollbar, SceneId::Button}) {
        SceneSetup s = MakeScene(id);
        s.ours->Paint();  // caches warm
        StartRecordingSites();  // first: its first call allocates (the unwinder loads)
        const uint64_t before = AllocationCount();
        for (int i = 0; i < kPaints; ++i) s.ours->Paint();
        StopRecordingSites();
        const uint64_t total = AllocationCount() - before;
        out += std::string(SceneName(id)) + ": " + std::to_string(double(total) / kPaints).substr(0, 5) +
               " allocations per paint\n";
        std::vector<std::pair<int, std::string>> sites;
        for (const auto& [site, count] : RecordedSites()) sites.emplace_back(count, site);
        std::sort(sites.rbegin(), sites.rend());
        for (const auto& [count, site] : sites) {
            char per[32];
            std::snprintf(per, sizeof per, "%6.1f  ", double(count) / kPaints);
            out += std::string(per) + site + "\n";
        }
    }
    return out;
}

bool CheckScenes(std::string* report) {
    // Our picture against cairo's: the same geometry, text anti-aliasing aside. The cached
    // cairo program must draw exactly what the plain one draws.
    bool ok = true;
    for (SceneId id : {SceneId::Tabs, SceneId::Scrollbar, SceneId::Button}) {
        SceneSetup s = MakeScene(id);
        HBITMAP ours = s.ours->Picture();
        s.cairo->Paint();
        HBITMAP theirs = s.cairo->Picture();
        cairo_t* clear = cairo_create(s.cairo->Surface());  // the prepared paint starts from black
        cairo_set_source_rgb(clear, 0, 0, 0);
        cairo_paint(clear);
        cairo_destroy(clear);
        s.cairo->PaintPrepared();
        HBITMAP cached = s.cairo->Picture();
        const long differing = DifferingPixels(ours, theirs);
        const long cachedDiffering = DifferingPixels(cached, theirs);
        const SIZE size = SceneSize(id);
        if (id == SceneId::Tabs) {
            auto* tabs = static_cast<CElementTabControl*>(s.ours->Element());
            const INT_PTR last = tabs->m_arrTextBtn.GetSize() - 1;
            *report += "tabs: the first tab starts at x " + std::to_string(tabs->m_arrItems[0]->m_rcItem.left) +
                       ", the last button ends at x " + std::to_string(tabs->m_arrTextBtn[last].rcBtn.right) + "\n";
        }
        const std::string pixels = std::to_string(long(size.cx) * size.cy);
        *report += std::string(SceneName(id)) + ": " + std::to_string(differing) + " of " + pixels +
                   " pixels differ between our picture and cairo's\n";
        *report += std::string(SceneName(id)) + ": " + std::to_string(cachedDiffering) + " of " + pixels +
                   " pixels differ between cairo's picture and the cached cairo program's\n";
        if (cachedDiffering != 0) ok = false;
        if (!OutputDir().empty()) {
            rt::SavePngFile(ours, OutputDir() + "/scene_" + SceneName(id) + "_ours.png");
            rt::SavePngFile(theirs, OutputDir() + "/scene_" + SceneName(id) + "_cairo.png");
        }
        ::DeleteObject(cached);
        ::DeleteObject(ours);
        ::DeleteObject(theirs);
    }
    return ok;
}

}  // namespace bench
