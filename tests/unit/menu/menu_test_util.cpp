#include "menu_test_util.h"

#include <deque>

#include "pixels.h"

namespace menutest {

std::string WriteStripBmp(const std::string& name, int n, int w, int h, const std::vector<COLORREF>& colours) {
    const std::string path = kt::OutputPath("menu/" + name);
    kt::Surface s(n > 0 ? n * w : 1, h, RGB(192, 192, 192));
    for (int i = 0; i < n; ++i)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) s.set(i * w + x, y, colours[size_t(i) % colours.size()]);
    std::string error;
    EXPECT_TRUE(rt::SaveBmpFile(s.bitmap(), path, &error)) << error;
    return path;
}

Resources::Resources(const std::string& text, const std::string& base_dir) {
    ok = rt::RegisterResourceText(AfxGetResourceHandle(), text, "menu_test.rc", base_dir, &error);
}

Resources::~Resources() {
    rt::UnregisterResources(AfxGetResourceHandle());
}

}  // namespace menutest
