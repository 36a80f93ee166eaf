// Blits, done like a DIB engine: one front end maps both rectangles from logical to
// surface coordinates, resolves negative sizes (mirroring) and the stretch mapping per
// axis, clips against the destination's effective clip and the source surface, and
// hands a plan to a small row engine.
//
// Index
//   1. ROP3 evaluation
//   2. Axis mapping: which source pixels feed each destination pixel
//   3. Source access and colour-depth conversion
//   4. The row engine
//   5. The front end
//   6. BitBlt, StretchBlt, TransparentBlt, PatBlt
//
// Plans and row buffers live in per-thread scratch reused from blit to blit, so that
// steady-state painting does not touch the heap.
//
// Pixels written through a raster operation get a zero top byte; a plain SRCCOPY of
// equal sizes between surfaces of the same depth copies the four bytes as they are.
// Brushes are solid: a hatched brush paints in its colour.
#include <algorithm>
#include <cstring>

#include "gdi_private.h"

namespace gdi {
namespace {

// ---- 1. ROP3 ------------------------------------------------------------------------------
// Bit (P << 2 | S << 1 | D) of the code is the result for those input bits.
uint8_t RopCode(DWORD rop) {
    return uint8_t(rop >> 16);
}
bool RopUsesSource(uint8_t c) {
    return (((c >> 2) ^ c) & 0x33) != 0;
}
bool RopUsesPattern(uint8_t c) {
    return (((c >> 4) ^ c) & 0x0F) != 0;
}
bool RopUsesDest(uint8_t c) {
    return (((c >> 1) ^ c) & 0x55) != 0;
}

uint32_t Rop3(uint8_t code, uint32_t p, uint32_t s, uint32_t d) {
    uint32_t r = 0;
    for (int i = 0; i < 8; ++i)
        if ((code >> i) & 1) r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    return r;
}

// d[i] = op(p, source pixel, d[i]); the source pixel is s[map[i]], s[i] without a map,
// or 0 without a source.
template <class Op>
void RopRow(Op op, uint32_t p, const uint32_t* s, const int* map, uint32_t* d, int n) {
    if (!s) {
        for (int i = 0; i < n; ++i) d[i] = op(p, 0u, d[i]) & 0xFFFFFF;
    } else if (!map) {
        for (int i = 0; i < n; ++i) d[i] = op(p, s[i], d[i]) & 0xFFFFFF;
    } else {
        for (int i = 0; i < n; ++i) d[i] = op(p, s[map[i]], d[i]) & 0xFFFFFF;
    }
}

void ApplyRop(uint8_t code, uint32_t p, const uint32_t* s, const int* map, uint32_t* d, int n) {
    using U = uint32_t;
    switch (code) {
        case 0xCC:
            return RopRow([](U, U s, U) { return s; }, p, s, map, d, n);  // SRCCOPY
        case 0xEE:
            return RopRow([](U, U s, U d) { return s | d; }, p, s, map, d, n);  // SRCPAINT
        case 0x88:
            return RopRow([](U, U s, U d) { return s & d; }, p, s, map, d, n);  // SRCAND
        case 0x66:
            return RopRow([](U, U s, U d) { return s ^ d; }, p, s, map, d, n);  // SRCINVERT
        case 0x44:
            return RopRow([](U, U s, U d) { return s & ~d; }, p, s, map, d, n);  // SRCERASE
        case 0x33:
            return RopRow([](U, U s, U) { return ~s; }, p, s, map, d, n);  // NOTSRCCOPY
        case 0x11:
            return RopRow([](U, U s, U d) { return ~(s | d); }, p, s, map, d, n);  // NOTSRCERASE
        case 0xC0:
            return RopRow([](U p, U s, U) { return p & s; }, p, s, map, d, n);  // MERGECOPY
        case 0xBB:
            return RopRow([](U, U s, U d) { return ~s | d; }, p, s, map, d, n);  // MERGEPAINT
        case 0xF0:
            return RopRow([](U p, U, U) { return p; }, p, s, map, d, n);  // PATCOPY
        case 0xFB:
            return RopRow([](U p, U s, U d) { return p | ~s | d; }, p, s, map, d, n);  // PATPAINT
        case 0x5A:
            return RopRow([](U p, U, U d) { return p ^ d; }, p, s, map, d, n);  // PATINVERT
        case 0x55:
            return RopRow([](U, U, U d) { return ~d; }, p, s, map, d, n);  // DSTINVERT
        case 0x00:
            return RopRow([](U, U, U) { return 0u; }, p, s, map, d, n);  // BLACKNESS
        case 0xFF:
            return RopRow([](U, U, U) { return ~0u; }, p, s, map, d, n);  // WHITENESS
        default:
            return RopRow([code](U p, U s, U d) { return Rop3(code, p, s, d); }, p, s, map, d, n);
    }
}

// ---- 2. Axis mapping ---------------------------------------------------------------------
// One axis of a blit in surface coordinates. A negative length covers pos, pos-1, ...,
// pos+len+1; destination index d and source index s count from pos in that direction.
struct AxisIn {
    int64_t dst, dstLen, src, srcLen;
};

// How a shrinking group of source pixels becomes one destination pixel.
enum class Pick { Group, First, Last };

// Per drawn destination pixel (in surface order from dstLo): the source pixels feeding
// it, as a run [srcLo, srcLo + srcCnt) of source surface coordinates.
// A plan of equal sizes (identity) maps pixel i to srcFirst + i and lists nothing.
struct AxisPlan {
    int dstLo = 0;
    int count = 0;
    bool identity = false;
    int srcFirst = 0;
    std::vector<int> srcLo, srcCnt;  // not identity: per pixel
    int maxCnt = 0;
    int size() const { return count; }
    int Src(int i) const { return identity ? srcFirst + i : srcLo[size_t(i)]; }
    int Cnt(int i) const { return maxCnt == 1 ? 1 : srcCnt[size_t(i)]; }  // srcCnt is not filled then
};

// Source indexes s0..s1 feeding destination index d, stepping d upwards without a
// division per pixel. Enlarging (D >= S): s0 = s1 = floor(((2d + 1) S - 1) / (2D)).
// Shrinking (S > D): source index s lands on floor(((2s + 1) D - 1) / (2S)), so the first
// source index of d is first(d) = (floor(2Sd / D) + 1) / 2 and s0 = first(d),
// s1 = first(d + 1) - 1. Quotient and remainder are carried from one d to the next; every
// product stays below 2^63 because S, D <= 2^31 and d < D. The direction is a template
// argument so that the stepping loop is compiled for each without a test per pixel.
template <bool kEnlarge>
class AxisWalk {
public:
    AxisWalk(uint64_t d, uint64_t S, uint64_t D) {
        if (kEnlarge) {
            m_den = 2 * D;
            Start((2 * d + 1) * S - 1, 2 * S);
        } else {
            m_den = D;
            Start(2 * S * d, 2 * S);
            m_next = m_q;  // floor(2Sd / D) for d itself
            Step();        // m_q is now floor(2S(d + 1) / D)
        }
    }
    uint64_t First() const { return kEnlarge ? m_q : (m_next + 1) / 2; }
    uint64_t Last() const { return kEnlarge ? m_q : (m_q + 1) / 2 - 1; }
    void Next() {
        if (!kEnlarge) m_next = m_q;
        Step();
    }

private:
    void Start(uint64_t numerator, uint64_t increment) {
        m_q = numerator / m_den;
        m_r = numerator % m_den;
        m_incQ = increment < m_den ? 0 : increment / m_den;  // enlarging: no division
        m_incR = increment < m_den ? increment : increment % m_den;
    }
    void Step() {
        m_q += m_incQ;
        m_r += m_incR;
        if (m_r >= m_den) {
            m_r -= m_den;
            ++m_q;
        }
    }
    uint64_t m_den = 1, m_q = 0, m_r = 0, m_incQ = 0, m_incR = 0;
    uint64_t m_next = 0;  // shrinking: floor(2Sd / D) of the current d
};

// Equal positive sizes: destination x takes source src + (x - dst), where that is inside
// both the clip and the source. Returns the number of pixels drawn, from *dstLo on.
inline int ClipIdentity(const AxisIn& a, int clipLo, int clipHi, int srcLimit, int* dstLo, int* srcFirst) {
    const int64_t first = std::max<int64_t>(std::max<int64_t>(a.dst, clipLo), a.dst - a.src);
    const int64_t last = std::min<int64_t>(std::min<int64_t>(a.dst + a.dstLen, clipHi), a.dst - a.src + srcLimit);
    if (first >= last) return 0;
    *dstLo = int(first);
    *srcFirst = int(a.src + (first - a.dst));
    return int(last - first);
}

// The stepping loop: for count destination indexes from d0 upwards, the source run each
// takes. Enlarging stores one source pixel each; shrinking stores the run's first pixel
// and length. With kClamp, runs are clamped so that they fit an int: a pixel fed from
// outside the source then lies outside [0, srcLimit), or its run is shorter than 1.
// Without it every run must lie inside the source. Returns the longest run.
template <bool kEnlarge, bool kClamp>
[[gnu::always_inline]] inline int StepAxis(const AxisIn& a, AxisWalk<kEnlarge> walk, int64_t count, Pick pick, int srcLimit, int* srcLo,
             int* srcCnt) {
    const int64_t base = a.src, sign = a.srcLen > 0 ? 1 : -1;
    int maxCnt = 1;
    for (int64_t k = 0; k < count; ++k, walk.Next()) {
        if constexpr (kEnlarge) {  // one source pixel: no group to pick from
            const int64_t c = base + sign * int64_t(walk.First());
            srcLo[k] = kClamp ? int(std::clamp<int64_t>(c, -1, srcLimit)) : int(c);
        } else {
            uint64_t s0 = walk.First(), s1 = walk.Last();  // source indexes feeding d0 + k
            if (pick == Pick::First) s1 = s0;
            if (pick == Pick::Last) s0 = s1;
            const int64_t c0 = sign > 0 ? base + int64_t(s0) : base - int64_t(s1);
            const int64_t c1 = sign > 0 ? base + int64_t(s1) : base - int64_t(s0);
            const int64_t lo = std::clamp<int64_t>(c0, 0, srcLimit), hi = std::clamp<int64_t>(c1, -1, srcLimit - 1);
            srcLo[k] = int(lo);
            srcCnt[k] = int(hi - lo + 1);
            maxCnt = std::max(maxCnt, srcCnt[k]);
        }
    }
    return maxCnt;
}

// Whether an enlarging axis walked from walk's first pixel takes every pixel from inside
// the source: the mapping is monotonic, so its two ends tell.
inline bool EnlargeStaysInside(const AxisIn& a, const AxisWalk<true>& walk, uint64_t dLast, uint64_t S, uint64_t D,
                        int srcLimit) {
    const int64_t sign = a.srcLen > 0 ? 1 : -1;
    const int64_t first = a.src + sign * int64_t(walk.First());
    const int64_t last = a.src + sign * int64_t(((2 * dLast + 1) * S - 1) / (2 * D));
    return std::min(first, last) >= 0 && std::max(first, last) < srcLimit;
}

bool PlanStretch(const AxisIn& a, int clipLo, int clipHi, int srcLimit, Pick pick, uint64_t S, uint64_t D,
                 AxisPlan* out);

// Inline, so that the identity plan of an unstretched axis costs no call.
inline bool PlanAxis(const AxisIn& a, int clipLo, int clipHi, int srcLimit, Pick pick, AxisPlan* out) {
    out->maxCnt = 0;
    out->count = 0;
    out->identity = false;
    const uint64_t D = uint64_t(a.dstLen < 0 ? -a.dstLen : a.dstLen);
    uint64_t S = uint64_t(a.srcLen < 0 ? -a.srcLen : a.srcLen);
    if (D == 0 || S == 0) return false;
    if (D == 1 && a.srcLen > 1) S -= 1;  // width-1 rule: one source pixel less
    if (a.dstLen > 0 && a.srcLen > 0 && S == D) {
        out->count = ClipIdentity(a, clipLo, clipHi, srcLimit, &out->dstLo, &out->srcFirst);
        if (out->count == 0) return false;
        out->identity = true;
        out->maxCnt = 1;
        return true;
    }
    return PlanStretch(a, clipLo, clipHi, srcLimit, pick, S, D, out);
}

bool PlanStretch(const AxisIn& a, int clipLo, int clipHi, int srcLimit, Pick pick, uint64_t S, uint64_t D,
                 AxisPlan* out) {
    const bool ascending = a.dstLen > 0;
    const int64_t dstFirst = ascending ? a.dst : a.dst + a.dstLen + 1;
    const int64_t lo = std::max<int64_t>(dstFirst, clipLo), hi = std::min<int64_t>(dstFirst + int64_t(D), clipHi);
    if (lo >= hi) return false;
    // Sized for every pixel of the span; the buffers only grow (a plan is rebuilt by every
    // blit).
    const int64_t count = hi - lo;
    const bool enlarge = D >= S;  // one source pixel each: srcCnt is not filled
    if (out->srcLo.size() < size_t(count)) out->srcLo.resize(size_t(count));
    if (!enlarge && out->srcCnt.size() < size_t(count)) out->srcCnt.resize(size_t(count));
    int* srcLo = out->srcLo.data();
    int* srcCnt = out->srcCnt.data();
    const uint64_t d0 = uint64_t(ascending ? lo - a.dst : a.dst - (hi - 1));
    int maxCnt = 1;
    if (!enlarge) {
        maxCnt = StepAxis<false, true>(a, AxisWalk<false>(d0, S, D), count, pick, srcLimit, srcLo, srcCnt);
    } else {
        const AxisWalk<true> walk(d0, S, D);
        if (EnlargeStaysInside(a, walk, d0 + uint64_t(count) - 1, S, D, srcLimit))
            StepAxis<true, false>(a, walk, count, pick, srcLimit, srcLo, srcCnt);
        else
            StepAxis<true, true>(a, walk, count, pick, srcLimit, srcLo, srcCnt);
    }
    if (!ascending) {
        std::reverse(srcLo, srcLo + count);
        if (!enlarge) std::reverse(srcCnt, srcCnt + count);
    }
    // The mapping is monotonic: the pixels fed from outside the source are a prefix and a
    // suffix of the span.
    auto inside = [&](int64_t i) { return enlarge ? srcLo[i] >= 0 && srcLo[i] < srcLimit : srcCnt[i] > 0; };
    int64_t first = 0, end = count;
    while (first < end && !inside(first)) ++first;
    while (end > first && !inside(end - 1)) --end;
    if (first == end) return false;
    if (first > 0) {
        std::memmove(srcLo, srcLo + first, size_t(end - first) * sizeof(int));
        if (!enlarge) std::memmove(srcCnt, srcCnt + first, size_t(end - first) * sizeof(int));
    }
    out->dstLo = int(lo + first);
    out->count = int(end - first);
    out->maxCnt = maxCnt;
    return true;
}

// ---- 3. Source access and conversion ---------------------------------------------------------
struct SourceView {
    const uint32_t* base;
    ptrdiff_t stride;  // in pixels; negative for bottom-up bitmaps
    const uint32_t* Row(int y) const { return base + y * stride; }
};

// Colour-depth conversion from the source surface to the destination surface.
struct Convert {
    enum { None, MonoToColor, ColorToMono } kind = None;
    uint32_t fg = 0, bg = 0;  // mono -> colour: 0 bits take fg (text colour), 1 bits bg (background)
    uint32_t key = 0;         // colour -> mono: the source background colour becomes white
    uint32_t operator()(uint32_t v) const {
        switch (kind) {
            case MonoToColor:
                return (v & 0xFFFFFF) ? bg : fg;
            case ColorToMono:
                return (v & 0xFFFFFF) == key ? 0xFFFFFF : 0;
            default:
                return v;
        }
    }
};

// ---- 4. The row engine -----------------------------------------------------------------------
// Per-thread buffers of the blits: the two axis plans, a row of source pixels and the
// copy of an overlapping source. A blit never calls out while it uses them.
struct PixelRun {
    int start, count, src;  // destination pixels [start, start + count) all take source pixel src
};
struct Scratch {
    AxisPlan x, y;
    std::vector<uint32_t> row;
    std::vector<uint32_t> copy;
    std::vector<PixelRun> runs;
};
Scratch& GetScratch() {
    // The runtime is loaded with the program, never opened later: its thread storage can
    // be reached directly instead of through the dynamic loader on every blit.
    [[gnu::tls_model("initial-exec")]] thread_local Scratch s;
    return s;
}

struct BlitPlan {
    Bitmap* dst;
    SourceView src;
    AxisPlan& x;
    AxisPlan& y;
    uint8_t rop;
    uint32_t pattern;
    Convert convert;
    int mode;    // stretch mode for groups of source pixels
    bool keyed;  // TransparentBlt: source pixels equal to key leave the destination
    uint32_t key;
};

// Reduces the source pixels feeding destination (column i, row r) to one raw pixel.
uint32_t CombineGroup(const BlitPlan& p, int i, int r) {
    const int x0 = p.x.Src(i), nx = p.x.Cnt(i);
    const int y0 = p.y.Src(r), ny = p.y.Cnt(r);
    uint32_t all = ~0u, any = 0;
    uint64_t sr = 0, sg = 0, sb = 0;
    for (int yy = y0; yy < y0 + ny; ++yy) {
        const uint32_t* row = p.src.Row(yy);
        for (int xx = x0; xx < x0 + nx; ++xx) {
            const uint32_t v = row[xx];
            all &= v;
            any |= v;
            sr += (v >> 16) & 0xFF, sg += (v >> 8) & 0xFF, sb += v & 0xFF;
        }
    }
    if (p.mode == BLACKONWHITE) return all;
    if (p.mode == WHITEONBLACK) return any;
    const uint64_t n = uint64_t(nx) * uint64_t(ny);  // HALFTONE: the rounded average
    return uint32_t(((sr + n / 2) / n) << 16 | ((sg + n / 2) / n) << 8 | ((sb + n / 2) / n));
}

// Runs of destination pixels fed by one source pixel, when a plan enlarges enough
// (four pixels a run on average) for whole runs to beat pixel-by-pixel work.
bool FindRuns(const AxisPlan& x, std::vector<PixelRun>& runs) {
    runs.clear();
    if (x.identity || x.maxCnt != 1) return false;
    const int w = x.size();
    for (int i = 0; i < w;) {
        int j = i + 1;
        while (j < w && x.srcLo[size_t(j)] == x.srcLo[size_t(i)]) ++j;
        runs.push_back(PixelRun{i, j - i, x.srcLo[size_t(i)]});
        if (runs.size() * 4 > size_t(w)) return false;
        i = j;
    }
    return true;
}

// The source row a destination row takes, with the plan read once instead of per row.
struct RowMap {
    explicit RowMap(const AxisPlan& y)
        : first(y.identity ? y.srcFirst : 0), lo(y.identity ? nullptr : y.srcLo.data()) {}
    int operator[](int r) const { return lo ? lo[r] : first + r; }
    int first;
    const int* lo;
};

// TransparentBlt's common case: one source pixel per destination pixel, no depth
// conversion. Key-coloured source pixels leave the destination as it is.
void RunKeyedRows(const BlitPlan& p, bool identity, std::vector<PixelRun>& runs) {
    const int w = p.x.size(), h = p.y.size();
    const int* map = p.x.srcLo.data();
    const bool byRuns = !identity && FindRuns(p.x, runs);
    const RowMap ySrc(p.y);
    const int srcX0 = identity ? p.x.Src(0) : 0;
    const uint32_t key = p.key;
    uint8_t* drowBytes = reinterpret_cast<uint8_t*>(p.dst->Row(p.y.dstLo) + p.x.dstLo);
    const ptrdiff_t dstStride = p.dst->stride;
    for (int r = 0; r < h; ++r, drowBytes += dstStride) {
        uint32_t* drow = reinterpret_cast<uint32_t*>(drowBytes);
        const uint32_t* srow = p.src.Row(ySrc[r]);
        if (byRuns) {
            for (const PixelRun& run : runs) {
                const uint32_t v = srow[run.src] & 0xFFFFFF;
                if (v != key) FillPixels(drow + run.start, size_t(run.count), v);
            }
        } else if (identity) {
            const uint32_t* s = srow + srcX0;
            for (int i = 0; i < w; ++i) {
                const uint32_t v = s[i] & 0xFFFFFF;
                if (v != key) drow[i] = v;
            }
        } else {
            for (int i = 0; i < w; ++i) {
                const uint32_t v = srow[map[i]] & 0xFFFFFF;
                if (v != key) drow[i] = v;
            }
        }
    }
}

// SRCCOPY with one source pixel per destination pixel and no conversion. Side-by-side
// source pixels copy their four bytes as they are; mapped ones go through the ROP, which
// clears the top byte. A run of destination rows taking one source row draws its first
// row and repeats it; rows that are whole and contiguous on both sides copy as one block.
void RunCopyRows(const BlitPlan& p, bool identity) {
    const int w = p.x.size(), h = p.y.size();
    const size_t rowBytes = size_t(w) * 4;
    uint8_t* drow = reinterpret_cast<uint8_t*>(p.dst->Row(p.y.dstLo) + p.x.dstLo);
    const ptrdiff_t dstStride = p.dst->stride;
    const ptrdiff_t srcStride = p.src.stride;
    const uint32_t* srcBase = p.src.base + (identity ? p.x.Src(0) : 0);
    const int* map = p.x.srcLo.data();
    auto drawRow = [&](uint8_t* d, const uint32_t* s) {
        if (identity)
            CopyRow(d, reinterpret_cast<const uint8_t*>(s), rowBytes);
        else
            ApplyRop(0xCC, 0, s, map, reinterpret_cast<uint32_t*>(d), w);
    };
    if (p.y.identity) {
        const uint32_t* srow = srcBase + ptrdiff_t(p.y.srcFirst) * srcStride;
        if (identity && dstStride == ptrdiff_t(rowBytes) && srcStride == ptrdiff_t(w)) {
            memcpy(drow, srow, rowBytes * size_t(h));
            return;
        }
        for (int r = 0; r < h; ++r, drow += dstStride, srow += srcStride) drawRow(drow, srow);
        return;
    }
    const int* ySrc = p.y.srcLo.data();
    for (int r = 0; r < h;) {
        int n = 1;
        while (r + n < h && ySrc[r + n] == ySrc[r]) ++n;
        drawRow(drow, srcBase + ptrdiff_t(ySrc[r]) * srcStride);
        RepeatFirstRow(drow, dstStride, rowBytes, n);
        drow += dstStride * n;
        r += n;
    }
}

void RunPlan(const BlitPlan& p, Scratch& scratch) {
    std::vector<uint32_t>& tmp = scratch.row;
    const int w = p.x.size(), h = p.y.size();
    const bool single = p.x.maxCnt == 1 && p.y.maxCnt == 1;
    bool identity = single;  // one source pixel each, side by side
    for (int i = 1; identity && !p.x.identity && i < w; ++i) identity = p.x.srcLo[size_t(i)] == p.x.srcLo[0] + i;
    if (single && p.keyed && p.convert.kind == Convert::None) return RunKeyedRows(p, identity, scratch.runs);
    const bool direct = single && p.convert.kind == Convert::None && !p.keyed;
    if (direct && p.rop == 0xCC) return RunCopyRows(p, identity);
    if (!direct && tmp.size() < size_t(w)) tmp.resize(size_t(w));
    const RowMap ySrc(p.y);
    uint8_t* drowBytes = reinterpret_cast<uint8_t*>(p.dst->Row(p.y.dstLo) + p.x.dstLo);
    const ptrdiff_t dstStride = p.dst->stride;
    for (int r = 0; r < h; ++r, drowBytes += dstStride) {
        uint32_t* drow = reinterpret_cast<uint32_t*>(drowBytes);
        const uint32_t* srow = p.src.Row(ySrc[r]);
        if (direct) {
            if (p.x.identity)
                ApplyRop(p.rop, p.pattern, srow + p.x.srcFirst, nullptr, drow, w);
            else
                ApplyRop(p.rop, p.pattern, srow, p.x.srcLo.data(), drow, w);
            continue;
        }
        for (int i = 0; i < w; ++i) tmp[size_t(i)] = single ? srow[p.x.Src(i)] : CombineGroup(p, i, r);
        if (p.keyed) {
            for (int i = 0; i < w; ++i)
                if ((tmp[size_t(i)] & 0xFFFFFF) != p.key) drow[i] = p.convert(tmp[size_t(i)]) & 0xFFFFFF;
            continue;
        }
        for (int i = 0; i < w; ++i) tmp[size_t(i)] = p.convert(tmp[size_t(i)]);
        ApplyRop(p.rop, p.pattern, tmp.data(), nullptr, drow, w);
    }
}

// ---- 5. The front end --------------------------------------------------------------------------
struct BlitArgs {
    HDC dst;
    int x, y, w, h;  // destination, logical
    HDC src;
    int sx, sy, sw, sh;  // source, logical
    DWORD rop;
    bool keyed;  // TransparentBlt
    COLORREF key;
};

// Operations without a source fill the destination rectangle, mirrored sizes included.
BOOL FillBlit(DC* dc, Bitmap* dst, const BlitArgs& a, uint8_t rop, uint32_t pattern) {
    const Rect64 dst_rect = PatBltRect(LogicalToSurface64(dc, a.x, a.y), a.w, a.h);
    RECT rc;
    if (!ClipRect64(dst_rect, EffectiveClip(dc, dst), &rc)) return TRUE;
    if (RopUsesDest(rop))
        dst->Realize();
    else
        dst->WillOverwrite(rc);
    for (int y = rc.top; y < rc.bottom; ++y)
        ApplyRop(rop, pattern, nullptr, nullptr, dst->Row(y) + rc.left, rc.right - rc.left);
    return TRUE;
}

// The source pixels a plan reads, [first, end). Runs differ in length when shrinking, so
// the end is that of the run reaching furthest, not the last start plus the longest run.
std::pair<int, int> SourceSpan(const AxisPlan& a) {
    if (a.identity) return {a.srcFirst, a.srcFirst + a.count};
    int first = a.srcLo[0], end = a.srcLo[0] + a.Cnt(0);
    for (int i = 1; i < a.count; ++i) {
        first = std::min(first, a.srcLo[size_t(i)]);
        end = std::max(end, a.srcLo[size_t(i)] + a.Cnt(i));
    }
    return {first, end};
}

void Shift(AxisPlan& a, int by) {
    if (a.identity) {
        a.srcFirst -= by;
        return;
    }
    for (int i = 0; i < a.count; ++i) a.srcLo[size_t(i)] -= by;
}

// Copies the source rows a plan reads when source and destination share a surface, so
// that overlapping rectangles read the original pixels.
void Snapshot(BlitPlan& p, std::vector<uint32_t>& copy) {
    const auto [x0, xend] = SourceSpan(p.x);
    const auto [y0, yend] = SourceSpan(p.y);
    const int w = xend - x0, h = yend - y0;
    copy.resize(size_t(w) * size_t(h));
    for (int r = 0; r < h; ++r) memcpy(&copy[size_t(r) * size_t(w)], p.src.Row(y0 + r) + x0, size_t(w) * 4);
    Shift(p.x, x0);
    Shift(p.y, y0);
    p.src = SourceView{copy.data(), w};
}

// An unstretched SRCCOPY between two surfaces of one kind: both axes clipped as an
// identity plan and the rows copied directly, without the plan's scratch (the fixed cost
// of small blits).
BOOL CopyUnstretched(DC* ddc, Bitmap* dst, DC* sdc, const Bitmap* src, const BlitArgs& a) {
    const RECT clip = EffectiveClip(ddc, dst);
    const Point64 dp = LogicalToSurface64(ddc, a.x, a.y), sp = LogicalToSurface64(sdc, a.sx, a.sy);
    int left, top, srcLeft, srcTop;
    const int cols = ClipIdentity(AxisIn{dp.x, a.w, sp.x, a.sw}, clip.left, clip.right, src->width, &left, &srcLeft);
    if (cols == 0) return TRUE;
    const int rows = ClipIdentity(AxisIn{dp.y, a.h, sp.y, a.sh}, clip.top, clip.bottom, src->height, &top, &srcTop);
    if (rows == 0) return TRUE;
    dst->WillOverwrite(RECT{left, top, left + cols, top + rows});
    const size_t rowBytes = size_t(cols) * 4;
    uint8_t* d = reinterpret_cast<uint8_t*>(dst->Row(top) + left);
    const uint8_t* s = reinterpret_cast<const uint8_t*>(src->Row(srcTop) + srcLeft);
    if (dst->stride == ptrdiff_t(rowBytes) && src->stride == ptrdiff_t(rowBytes)) {
        memcpy(d, s, rowBytes * size_t(rows));
        return TRUE;
    }
    for (int r = 0; r < rows; ++r, d += dst->stride, s += src->stride) CopyRow(d, s, rowBytes);
    return TRUE;
}

BOOL Blit(const BlitArgs& a) {
    DC* ddc = Get<DC>(a.dst);
    Bitmap* dst = ddc ? ddc->SurfaceShape() : nullptr;  // realized below, once the written part is known
    if (!dst) return FALSE;
    const uint8_t rop = a.keyed ? 0xCC : RopCode(a.rop);
    uint32_t pattern = 0;
    if (RopUsesPattern(rop)) {
        COLORREF c;
        if (!BrushColor(ddc->s.brush, ddc, &c)) return TRUE;  // a null brush paints nothing
        pattern = SurfacePixel(dst, c);
    }
    if (!RopUsesSource(rop)) return FillBlit(ddc, dst, a, rop, pattern);

    DC* sdc = Get<DC>(a.src);
    Bitmap* src = sdc ? sdc->Surface() : nullptr;
    if (!src) return FALSE;
    if (a.w == 0 || a.h == 0) return TRUE;
    if (a.sw == 0 || a.sh == 0) return FALSE;
    if (rop == 0xCC && !a.keyed && a.w > 0 && a.w == a.sw && a.h > 0 && a.h == a.sh && src != dst &&
        src->IsMono() == dst->IsMono())
        return CopyUnstretched(ddc, dst, sdc, src, a);

    // TransparentBlt stretches with the source DC's mode, where AND/OR become COLORONCOLOR.
    int mode = a.keyed ? sdc->s.stretchMode : ddc->s.stretchMode;
    if (a.keyed && mode != HALFTONE) mode = COLORONCOLOR;
    const bool deleteScans = mode == COLORONCOLOR;

    Scratch& scratch = GetScratch();
    BlitPlan plan{dst,       SourceView{reinterpret_cast<const uint32_t*>(src->scan0), src->stride / 4},
                  scratch.x, scratch.y,
                  rop,       pattern,
                  {},        mode,
                  a.keyed,   ToPixel(a.key)};
    const RECT clip = EffectiveClip(ddc, dst);
    const Point64 dp = LogicalToSurface64(ddc, a.x, a.y), sp = LogicalToSurface64(sdc, a.sx, a.sy);
    const AxisIn x_axis{dp.x, a.w, sp.x, a.sw}, y_axis{dp.y, a.h, sp.y, a.sh};
    if (!PlanAxis(x_axis, clip.left, clip.right, src->width, deleteScans ? Pick::Last : Pick::Group, &plan.x) ||
        !PlanAxis(y_axis, clip.top, clip.bottom, src->height, deleteScans ? Pick::First : Pick::Group, &plan.y))
        return TRUE;

    if (src->IsMono() && !dst->IsMono()) {
        plan.convert.kind = Convert::MonoToColor;
        plan.convert.fg = ToPixel(ddc->s.textColor);
        plan.convert.bg = ToPixel(ddc->s.bkColor);
    } else if (!src->IsMono() && dst->IsMono()) {
        plan.convert.kind = Convert::ColorToMono;
        plan.convert.key = ToPixel(sdc->s.bkColor);
    }
    if (rop == 0xCC && !a.keyed)
        dst->WillOverwrite(RECT{plan.x.dstLo, plan.y.dstLo, plan.x.dstLo + plan.x.count, plan.y.dstLo + plan.y.count});
    else
        dst->Realize();
    if (src == dst) Snapshot(plan, scratch.copy);
    RunPlan(plan, scratch);
    return TRUE;
}

}  // namespace
}  // namespace gdi

// ---- 6. Entry points ----------------------------------------------------------------------------
using gdi::BlitArgs;

BOOL BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
    return gdi::Blit(BlitArgs{hdc, x, y, cx, cy, hdcSrc, x1, y1, cx, cy, rop, false, 0});
}

BOOL StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc, int wSrc,
                int hSrc, DWORD rop) {
    return gdi::Blit(BlitArgs{hdcDest, xDest, yDest, wDest, hDest, hdcSrc, xSrc, ySrc, wSrc, hSrc, rop, false, 0});
}

BOOL TransparentBlt(HDC hdcDest, int xoriginDest, int yoriginDest, int wDest, int hDest, HDC hdcSrc, int xoriginSrc,
                    int yoriginSrc, int wSrc, int hSrc, UINT crTransparent) {
    if (wDest <= 0 || hDest <= 0 || wSrc <= 0 || hSrc <= 0) return FALSE;  // no mirroring
    return gdi::Blit(BlitArgs{hdcDest, xoriginDest, yoriginDest, wDest, hDest, hdcSrc, xoriginSrc, yoriginSrc, wSrc,
                              hSrc, SRCCOPY, true, crTransparent});
}

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
    if (gdi::RopUsesSource(gdi::RopCode(rop))) return FALSE;
    return gdi::Blit(BlitArgs{hdc, x, y, w, h, nullptr, 0, 0, 0, 0, rop, false, 0});
}
