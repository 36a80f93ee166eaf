// What the benchmark files share: the scenes by name and size, the scaling arguments,
// the registration entry points and where pictures and plots go.
#pragma once

#include <string>

#include "platform.h"

namespace bench {

enum class SceneId { Tabs, Scrollbar, Button };

inline const char* SceneName(SceneId id) {
    switch (id) {
        case SceneId::Tabs:
            return "tabs";
        case SceneId::Scrollbar:
            return "scrollbar";
        case SceneId::Button:
            return "button";
    }
    return "?";
}

inline SIZE SceneSize(SceneId id) {
    switch (id) {
        case SceneId::Tabs:
            return SIZE{1280, 24};
        case SceneId::Scrollbar:
            return SIZE{16, 720};
        case SceneId::Button:
            return SIZE{96, 28};
    }
    return SIZE{0, 0};
}

// The thumb-length runs paint one long bar, so that every thumb fits on it.
constexpr int kThumbLengths[] = {50, 100, 200, 500, 1000, 2000, 5000};
constexpr int kLongBarHeight = 5200;
constexpr SIZE kScreenSize{1280, 5300};  // the virtual screen must hold the long bar

// Where scene pictures are written ("" for nowhere); set from the command line.
std::string& OutputDir();

void RegisterSceneBenchmarks();
void RegisterPrimitiveBenchmarks();
// Paints every scene once both ways and describes how far the pictures agree.
bool CheckScenes(std::string* report);
// Each scene painted a few times with allocation call sites recorded: per paint, by site.
std::string DescribeAllocationSites();

}  // namespace bench
