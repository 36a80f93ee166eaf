// StretchBlt with sizes and origins at the ends of the int range. Windows documents device
// coordinates of 27 bits at most and leaves what lies beyond undefined; the runtime's own
// answer is to draw the part on the surface and nothing outside it, without overflow.
#include <climits>

#include "gdi_test_util.h"

using namespace gt;

namespace {

TEST(HugeStretch, StaysInsideTheSurface) {
    const struct HugeStretchRow {
        const char* name;
        int mode;
        int x, y, w, h, sx, sy, sw, sh;
        const char* expected;  // 'g' marks the source's top-left pixel, 'r' the rest of it, 'b' black
    } rows[] = {
        {"EnlargeOnePixelToMax", BLACKONWHITE, 0, 0, INT_MAX, INT_MAX, 0, 0, 1, 1, "gggg|gggg|gggg|gggg"},
        {"MirroredMinSize", COLORONCOLOR, 3, 3, INT_MIN, INT_MIN, 0, 0, 4, 4, "gggg|gggg|gggg|gggg"},
        {"ShrinkFromHugeSource", BLACKONWHITE, 0, 0, 2, 2, INT_MIN, INT_MIN, INT_MAX, INT_MAX, "....|....|....|...."},
        // COLORONCOLOR picks a source pixel far outside the surface: nothing is drawn
        {"DeleteScansFromMaxSource", COLORONCOLOR, 0, 0, 2, 2, 0, 0, INT_MAX, INT_MAX, "....|....|....|...."},
        // AND combines the part of the first group that lies on the surface: green & red
        {"AndScansFromMaxSource", BLACKONWHITE, 0, 0, 2, 2, 0, 0, INT_MAX, INT_MAX, "b...|....|....|...."},
        {"DestinationAtMin", BLACKONWHITE, INT_MIN, INT_MIN, 4, 4, 0, 0, 4, 4, "....|....|....|...."},
        {"DestinationEndsAtMax", BLACKONWHITE, INT_MAX - 2, 0, 2, 2, 0, 0, 4, 4, "....|....|....|...."},
    };
    for (const HugeStretchRow& r : rows) {
        SCOPED_TRACE(r.name);
        kt::Surface src(4, 4, kRed), dst(4, 4);
        src.set(0, 0, kGreen);
        SetStretchBltMode(dst.dc(), r.mode);
        StretchBlt(dst.dc(), r.x, r.y, r.w, r.h, src.dc(), r.sx, r.sy, r.sw, r.sh, SRCCOPY);
        EXPECT_EQ(r.expected, dst.ascii({{kWhite, '.'}, {kRed, 'r'}, {kGreen, 'g'}, {kBlack, 'b'}}));
    }
}

}  // namespace
