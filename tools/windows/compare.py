#!/usr/bin/env python3
"""Compares the gallery pictures of the Linux build (out/) with the Windows build's
(out-windows/): identical, or the count and bounding box of differing pixels with a diff
image. Writes out-windows/compare.html and prints one summary line.

Pictures whose popups are drawn by the system menu loop (popup-menus/) are listed as not
compared: the Windows build does not replay menu answers yet, so its pictures show the
strip without the popup.

Text is rasterised by different engines on the two sides, so each picture comes with the
cells of its text runs (<name>.text.json, written by the gallery: position and extent of every
TextOut/ExtTextOut/DrawText run). A picture is "text only" when both sides' cells agree and
every differing pixel lies inside one of them (or on its one-pixel fringe); cells that disagree (a run placed or measured
differently) are a real difference.

Exit status: 0 when every compared picture is identical or text only, 1 otherwise, 2 on
missing input.
"""
import json
import html
import os
import struct
import sys
import zlib

NOT_COMPARED = {"popup-menus": "popups are tracked by the system's menu loop, which the Windows build does not replay yet"}


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


def read_cells(png_path):
    """The text cells beside a picture as (left, top, right, bottom) tuples, or None."""
    path = png_path[:-len(".png")] + ".text.json"
    if not os.path.exists(path):
        return None
    with open(path) as f:
        return [tuple(c) for c in json.load(f)["cells"]]


# Antialiased glyph ink may reach one pixel past a run's advance box (a glyph overhanging
# its advance, the filter's fringe); that pixel still belongs to the run.
FRINGE = 1


def in_cells(cells, x, y):
    return any(l - FRINGE <= x < r + FRINGE and t - FRINGE <= y < b + FRINGE for l, t, r, b in cells)


def compare(a_path, b_path, diff_path):
    aw, ah, a = read_png(a_path)
    bw, bh, b = read_png(b_path)
    if (aw, ah) != (bw, bh):
        return {"state": "differ", "why": f"size {aw}x{ah} against {bw}x{bh}"}
    count, box, diff = 0, None, []
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
        diff.append(bytes(out))
    if count == 0:
        return {"state": "identical"}
    os.makedirs(os.path.dirname(diff_path), exist_ok=True)
    write_png(diff_path, aw, ah, diff)
    l, t, r, btm = box
    where = f"{count} pixels in ({l}, {t}, {r + 1}, {btm + 1})"
    a_cells, b_cells = read_cells(a_path), read_cells(b_path)
    if a_cells is None or b_cells is None:
        return {"state": "differ", "why": f"{where}; no text cells recorded", "diff": diff_path}
    if a_cells != b_cells:
        only_a = sorted(set(a_cells) - set(b_cells))[:3]
        only_b = sorted(set(b_cells) - set(a_cells))[:3]
        return {"state": "differ", "why": f"{where}; text cells differ: Linux {only_a} against Windows {only_b}",
                "diff": diff_path}
    outside = [(x, y) for y in range(ah) if a[y] != b[y] for x in range(aw)
               if a[y][3 * x:3 * x + 3] != b[y][3 * x:3 * x + 3] and not in_cells(a_cells, x, y)]
    if not outside:
        return {"state": "text only", "why": f"{where}, all inside {len(a_cells)} agreeing text cells",
                "diff": diff_path}
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
        section = rel.split(os.sep)[0]
        other = os.path.join(windows_dir, rel)
        if section in NOT_COMPARED:
            results.append((rel, {"state": "not compared", "why": NOT_COMPARED[section]}))
        elif not os.path.exists(other):
            results.append((rel, {"state": "differ", "why": "no Windows picture"}))
        else:
            results.append((rel, compare(os.path.join(linux_dir, rel), other,
                                         os.path.join(windows_dir, "diff", rel))))
    compared = [r for r in results if r[1]["state"] != "not compared"]
    identical = sum(1 for _, r in compared if r["state"] == "identical")
    text_only = sum(1 for _, r in compared if r["state"] == "text only")
    differ = sum(1 for _, r in compared if r["state"] == "differ")
    with open(os.path.join(windows_dir, "compare.html"), "w") as page:
        page.write("<!doctype html><html><head><meta charset='utf-8'><title>Linux and Windows gallery</title>"
                   "<style>body{font:14px sans-serif;background:#111318;color:#d8dee9}td{padding:6px;"
                   "vertical-align:top}img{image-rendering:pixelated;border:1px solid #3a4150}</style></head><body>\n")
        page.write(f"<h1>Linux and Windows gallery</h1><p>{identical}/{len(compared)} identical, {text_only} text only, "
                   f"{differ} differ; {len(results) - len(compared)} not compared</p>\n<table>\n")
        page.write("<tr><th>picture</th><th>result</th><th>Linux</th><th>Windows</th><th>difference</th></tr>\n")
        for rel, r in results:
            lin = os.path.relpath(os.path.join(linux_dir, rel), windows_dir)
            diff = f"<img src='{html.escape(os.path.relpath(r['diff'], windows_dir))}'>" if "diff" in r else ""
            page.write(f"<tr><td>{html.escape(rel)}</td><td>{r['state']}<br>{html.escape(r.get('why', ''))}</td>"
                       f"<td><img src='{html.escape(lin)}'></td><td><img src='{html.escape(rel)}'></td>"
                       f"<td>{diff}</td></tr>\n")
        page.write("</table></body></html>\n")
    for rel, r in results:
        if r["state"] == "differ":
            print(f"differs: {rel}: {r['why']}")
    print(f"windows gallery: {identical}/{len(compared)} identical, {text_only} text only, {differ} differ"
          f" ({len(results) - len(compared)} menu pictures not compared)")
    return 0 if differ == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
