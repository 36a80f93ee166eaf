#!/usr/bin/env python3
"""Compares the gallery pictures of the Linux build (out/) with the Windows build's
(out-windows/): identical, or the count and bounding box of differing pixels with a diff
image. Writes out-windows/compare.html and prints one summary line.

Popup menus are windows the system draws. Their places are listed beside the picture
("system_drawn" in <name>.text.json) and compared; their insides are not: Wine's menu
window prints only its frame and background (WM_PRINT), not its items, and the null display
driver has no screen to read them from. The rest of such a picture is compared as usual. A
picture whose two sides opened different popups (a sub-menu opened on Linux; the Windows
build does not drive the menu loop item by item) is listed as not compared.

Areas where a difference is a known fault of Wine (EXPLAINED, each written up in
docs/windows.md) are left out of the comparison; a picture whose only differences lie there
(or in text cells) counts as "explained".

Text is rasterised by different engines on the two sides, so each picture comes with the
cells of its text runs (<name>.text.json, written by the gallery: position and extent of every
TextOut/ExtTextOut/DrawText run). A picture is "text only" when both sides' cells agree and
every differing pixel lies inside one of them (or on its one-pixel fringe); cells that disagree (a run placed or measured
differently) are a real difference.

Exit status: 0 when every compared picture is identical, text only or explained, 1 otherwise,
2 on missing input.
"""
import json
import html
import os
import struct
import sys
import zlib

# picture -> [(left, top, right, bottom, why)]: where Wine draws differently from Windows.
EXPLAINED = {
    "runtime/portrait.png": [
        (122, 92, 170, 140, "StretchBlt HALFTONE enlarging: Wine interpolates between source pixels "
                            "(docs/windows.md)"),
        (240, 92, 246, 98, "StretchBlt HALFTONE shrinking: Wine samples source pixels instead of "
                           "averaging them (docs/windows.md)"),
    ],
}


def read_png(path):
    """8-bit RGB or RGBA, not interlaced: the formats both builds write. Returns (w, h, rows)."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG file")
    at, idat, w = 8, [], None
    while at + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            w, h, depth, color, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or color not in (2, 6) or interlace:
                raise ValueError(f"{path}: unsupported PNG layout (depth {depth}, colour type {color})")
            bpp = 3 if color == 2 else 4
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
        at += 12 + length
    if w is None:
        raise ValueError(f"{path}: no IHDR chunk")
    raw = zlib.decompress(b"".join(idat))
    stride = w * bpp
    rows, prev = [], bytearray(stride)
    for y in range(h):
        ftype = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        if ftype == 1:
            for i in range(bpp, stride):
                line[i] = (line[i] + line[i - bpp]) & 0xFF
        elif ftype == 2:
            for i in range(stride):
                line[i] = (line[i] + prev[i]) & 0xFF
        elif ftype == 3:
            for i in range(stride):
                left = line[i - bpp] if i >= bpp else 0
                line[i] = (line[i] + ((left + prev[i]) >> 1)) & 0xFF
        elif ftype == 4:
            for i in range(stride):
                a = line[i - bpp] if i >= bpp else 0
                b = prev[i]
                c = prev[i - bpp] if i >= bpp else 0
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pred) & 0xFF
        rows.append(bytes(line) if bpp == 3 else bytes(b for i in range(0, stride, 4) for b in line[i:i + 3]))
        prev = line
    return w, h, rows


def write_png(path, w, h, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
    raw = b"".join(b"\x00" + r for r in rows)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))


def read_sidecar(png_path):
    """The text cells and system-drawn parts beside a picture, as lists of (left, top, right,
    bottom) tuples, or (None, []) without a side file."""
    path = png_path[:-len(".png")] + ".text.json"
    if not os.path.exists(path):
        return None, []
    with open(path) as f:
        data = json.load(f)
    return [tuple(c) for c in data["cells"]], [tuple(c) for c in data.get("system_drawn", [])]


def inside(rects, x, y):
    return any(l <= x < r and t <= y < b for l, t, r, b in rects)


def within(cell, rects):
    l, t, r, b = cell
    return any(rl <= l and r <= rr and rt <= t and b <= rb for rl, rt, rr, rb in rects)


# Antialiased glyph ink may reach one pixel past a run's advance box (a glyph overhanging
# its advance, the filter's fringe); that pixel still belongs to the run.
FRINGE = 1


def in_cells(cells, x, y):
    return any(l - FRINGE <= x < r + FRINGE and t - FRINGE <= y < b + FRINGE for l, t, r, b in cells)


def compare(a_path, b_path, diff_path, explained=()):
    aw, ah, a = read_png(a_path)
    bw, bh, b = read_png(b_path)
    if (aw, ah) != (bw, bh):
        return {"state": "differ", "why": f"size {aw}x{ah} against {bw}x{bh}"}
    a_cells, a_system = read_sidecar(a_path)
    b_cells, b_system = read_sidecar(b_path)
    if len(a_system) != len(b_system):
        return {"state": "not compared",
                "why": f"the system drew {len(a_system)} popups on Linux and {len(b_system)} on Windows "
                       "(the Windows build does not open sub-menus: it does not drive the menu loop item by item)"}
    if a_system != b_system:
        return {"state": "differ", "why": f"the system's popups are placed differently: Linux {a_system} against "
                                          f"Windows {b_system}"}
    # Left out: the system's popups (their places agree) and the areas of known Wine faults.
    count, box, diff, differing, reasons = 0, None, [], [], []
    for y in range(ah):
        if a[y] == b[y]:
            diff.append(bytes(x // 3 for x in a[y]))  # the same pixels, dimmed
            continue
        out = bytearray(x // 3 for x in a[y])
        for x in range(aw):
            if a[y][3 * x:3 * x + 3] != b[y][3 * x:3 * x + 3]:
                count += 1
                out[3 * x:3 * x + 3] = b"\xff\x00\xff"
                box = (x, y, x, y) if box is None else (min(box[0], x), min(box[1], y), max(box[2], x), max(box[3], y))
                known = [e[4] for e in explained if e[0] <= x < e[2] and e[1] <= y < e[3]]
                if known:
                    reasons += [k for k in known if k not in reasons]
                elif not inside(a_system, x, y):
                    differing.append((x, y))
        diff.append(bytes(out))
    popups = [f"the insides of {len(a_system)} system-drawn popups (in the same places) not compared"] if a_system else []
    if count == 0:
        return {"state": "identical", "why": "; ".join(popups)}
    os.makedirs(os.path.dirname(diff_path), exist_ok=True)
    write_png(diff_path, aw, ah, diff)
    l, t, r, btm = box
    where = f"{count} pixels in ({l}, {t}, {r + 1}, {btm + 1})"
    if a_cells is None or b_cells is None:
        if differing:
            return {"state": "differ", "why": f"{where}; no text cells recorded", "diff": diff_path}
        return {"state": "explained" if reasons else "identical", "why": "; ".join([where] + reasons + popups),
                "diff": diff_path}
    # Runs drawn inside the system's popups are the Linux side's own (Wine prints none); a
    # run of a window under a popup, partly covered, is drawn and recorded on both sides.
    a_cells = [c for c in a_cells if not within(c, a_system)]
    b_cells = [c for c in b_cells if not within(c, b_system)]
    if a_cells != b_cells:
        only_a = sorted(set(a_cells) - set(b_cells))[:3]
        only_b = sorted(set(b_cells) - set(a_cells))[:3]
        return {"state": "differ", "why": f"{where}; text cells differ: Linux {only_a} against Windows {only_b}",
                "diff": diff_path}
    outside = [(x, y) for x, y in differing if not in_cells(a_cells, x, y)]
    if not outside:
        state = "explained" if reasons else "text only" if differing else "identical"
        text = [f"{len(differing)} inside {len(a_cells)} agreeing text cells"] if differing else []
        return {"state": state, "why": "; ".join([where] + text + reasons + popups), "diff": diff_path}
    ol = min(x for x, _ in outside); ot = min(y for _, y in outside)
    orr = max(x for x, _ in outside) + 1; ob = max(y for _, y in outside) + 1
    return {"state": "differ", "why": f"{where}; {len(outside)} outside text cells in ({ol}, {ot}, {orr}, {ob})",
            "diff": diff_path}


def main():
    linux_dir, windows_dir = sys.argv[1], sys.argv[2]
    if not os.path.isdir(linux_dir) or not os.path.isdir(windows_dir):
        print(f"compare: missing {linux_dir}/ or {windows_dir}/", file=sys.stderr)
        return 2
    pictures = sorted(os.path.relpath(os.path.join(d, f), linux_dir)
                      for d, _, files in os.walk(linux_dir) for f in files if f.endswith(".png"))
    results = []
    for rel in pictures:
        other = os.path.join(windows_dir, rel)
        if not os.path.exists(other):
            results.append((rel, {"state": "differ", "why": "no Windows picture"}))
        else:
            results.append((rel, compare(os.path.join(linux_dir, rel), other, os.path.join(windows_dir, "diff", rel),
                                         EXPLAINED.get(rel.replace(os.sep, "/"), ()))))
    compared = [r for r in results if r[1]["state"] != "not compared"]
    identical = sum(1 for _, r in compared if r["state"] == "identical")
    text_only = sum(1 for _, r in compared if r["state"] == "text only")
    explained = sum(1 for _, r in compared if r["state"] == "explained")
    differ = sum(1 for _, r in compared if r["state"] == "differ")
    popups = sum(1 for _, r in compared if "system-drawn popups" in r.get("why", ""))
    summary = (f"{identical}/{len(compared)} identical, {text_only} text only, {differ} differ, {explained} explained "
               f"by Wine faults; {popups} with the insides of system-drawn popups left out, "
               f"{len(results) - len(compared)} not compared")
    with open(os.path.join(windows_dir, "compare.html"), "w") as page:
        page.write("<!doctype html><html><head><meta charset='utf-8'><title>Linux and Windows gallery</title>"
                   "<style>body{font:14px sans-serif;background:#111318;color:#d8dee9}td{padding:6px;"
                   "vertical-align:top}img{image-rendering:pixelated;border:1px solid #3a4150}</style></head><body>\n")
        page.write(f"<h1>Linux and Windows gallery</h1><p>{html.escape(summary)}</p>\n<table>\n")
        page.write("<tr><th>picture</th><th>result</th><th>Linux</th><th>Windows</th><th>difference</th></tr>\n")
        for rel, r in results:
            lin = os.path.relpath(os.path.join(linux_dir, rel), windows_dir)
            diff = f"<img src='{html.escape(os.path.relpath(r['diff'], windows_dir))}'>" if "diff" in r else ""
            page.write(f"<tr><td>{html.escape(rel)}</td><td>{r['state']}<br>{html.escape(r.get('why', ''))}</td>"
                       f"<td><img src='{html.escape(lin)}'></td><td><img src='{html.escape(rel)}'></td>"
                       f"<td>{diff}</td></tr>\n")
        page.write("</table></body></html>\n")
    for rel, r in results:
        if r["state"] in ("differ", "not compared"):
            print(f"{'differs' if r['state'] == 'differ' else 'not compared'}: {rel}: {r['why']}")
    print(f"windows gallery: {summary}")
    return 0 if differ == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
