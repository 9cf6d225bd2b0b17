#!/usr/bin/env python3
"""Turns the per-country outlines that make-atlas-sources cut out with GMT into
sample/atlas/countries.txt (the format is described at the top of the file written).

    atlas-sources.py DCW_COUNTRY_LIST RAW_FOLDER OUTPUT

RAW_FOLDER holds CODE.full (the outline as `gmt coast -E<code> -M` gives it) and CODE.simple
(the same simplified to 10 km) for every country of the list.
"""
import math
import sys
import unicodedata

KEEP_POINTS = 6  # smaller rings than this (besides a country's largest) are dropped


def read_segments(path):
    """The rings of a GMT multi-segment file, as lists of (lon, lat)."""
    rings, ring = [], []
    try:
        lines = open(path, encoding="utf-8").read().splitlines()
    except FileNotFoundError:
        return []
    for line in lines:
        if line.startswith(">"):
            if ring:
                rings.append(ring)
            ring = []
            continue
        parts = line.split()
        if len(parts) >= 2:
            ring.append((float(parts[0]), float(parts[1])))
    if ring:
        rings.append(ring)
    return rings


def unwrap(ring):
    """Longitudes made continuous (no jump of more than 180 degrees between neighbours)."""
    out = [ring[0]]
    for lon, lat in ring[1:]:
        prev = out[-1][0]
        while lon - prev > 180:
            lon -= 360
        while lon - prev < -180:
            lon += 360
        out.append((lon, lat))
    return out


def clip(poly, keep):
    """Sutherland-Hodgman against one vertical edge: keep(x) says which side stays; the
    edge's longitude is keep.edge."""
    out = []
    n = len(poly)
    for i in range(n):
        cur, nxt = poly[i], poly[(i + 1) % n]
        cin, nin = keep(cur[0]), keep(nxt[0])
        if cin:
            out.append(cur)
        if cin != nin:
            t = (keep.edge - cur[0]) / (nxt[0] - cur[0])
            out.append((keep.edge, cur[1] + t * (nxt[1] - cur[1])))
    return out


class Side:
    def __init__(self, edge, below):
        self.edge, self.below = edge, below

    def __call__(self, x):
        return x <= self.edge if self.below else x >= self.edge


def area(ring):
    """Signed area in square degrees, each longitude degree shrunk by the cosine of latitude."""
    s = 0.0
    n = len(ring)
    for i in range(n):
        (x1, y1), (x2, y2) = ring[i], ring[(i + 1) % n]
        c = math.cos(math.radians((y1 + y2) / 2))
        s += (x1 * c) * y2 - (x2 * c) * y1
    return s / 2


def cut_at_date_line(ring):
    """The ring with its longitudes kept in -180..180: a ring that passes the 180th meridian
    becomes one piece on each side; a ring round the pole (Antarctica) is closed along the
    map's bottom (or top) edge first."""
    if ring[0] == ring[-1]:
        ring = ring[:-1]
    if len(ring) < 3:
        return []
    u = unwrap(ring)
    turn = u[-1][0] - u[0][0] + (unwrap([u[-1], u[0]])[1][0] - u[-1][0])
    if abs(turn) > 300:  # goes round the pole
        pole = -90.0 if sum(p[1] for p in u) < 0 else 90.0
        u = u + [(u[-1][0] + (unwrap([u[-1], u[0]])[1][0] - u[-1][0]), u[0][1])]
        u = u + [(u[-1][0], pole), (u[0][0], pole)]
    mean = sum(p[0] for p in u) / len(u)
    shift = -360 * math.floor((mean + 180) / 360)
    u = [(x + shift, y) for x, y in u]
    pieces = []
    for k in (-360, 0, 360):
        p = [(x + k, y) for x, y in u]
        if max(x for x, _ in p) <= -180 or min(x for x, _ in p) >= 180:
            continue
        p = clip(p, Side(180.0, True))
        if p:
            p = clip(p, Side(-180.0, False))
        if len(p) >= 3 and abs(area(p)) > 1e-9:
            pieces.append(p)
    return pieces


def inside(ring, x, y):
    n, c = len(ring), False
    for i in range(n):
        (x1, y1), (x2, y2) = ring[i], ring[(i + 1) % n]
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            c = not c
    return c


def edge_distance(ring, x, y):
    best = 1e30
    c = math.cos(math.radians(y))
    n = len(ring)
    for i in range(n):
        (x1, y1), (x2, y2) = ring[i], ring[(i + 1) % n]
        ax, ay, bx, by = (x1 - x) * c, y1 - y, (x2 - x) * c, y2 - y
        dx, dy = bx - ax, by - ay
        t = 0.0 if dx == 0 and dy == 0 else max(0.0, min(1.0, -(ax * dx + ay * dy) / (dx * dx + dy * dy)))
        px, py = ax + t * dx, ay + t * dy
        best = min(best, px * px + py * py)
    return math.sqrt(best)


def label_point(ring):
    """A point well inside the ring: of a grid over the ring's box (searched twice, the second
    time finer round the first answer), the inside point farthest from the ring's edges."""
    xs, ys = [p[0] for p in ring], [p[1] for p in ring]
    box = (min(xs), min(ys), max(xs), max(ys))
    best, best_d = None, -1.0
    for _ in range(2):
        x0, y0, x1, y1 = box
        for i in range(25):
            for j in range(25):
                x, y = x0 + (x1 - x0) * (i + 0.5) / 25, y0 + (y1 - y0) * (j + 0.5) / 25
                if inside(ring, x, y):
                    d = edge_distance(ring, x, y)
                    if d > best_d:
                        best, best_d = (x, y), d
        if best is None:
            break
        w, h = (box[2] - box[0]) / 12, (box[3] - box[1]) / 12
        box = (best[0] - w, best[1] - h, best[0] + w, best[1] + h)
    if best is None:  # a sliver: its first point
        best = ring[0]
    return best


def fold(name):
    return unicodedata.normalize("NFKD", name).encode("ascii", "ignore").decode("ascii")


def main():
    dcw_list, raw, output = sys.argv[1:4]
    tz_names, tz_points = {}, {}
    for line in open("/usr/share/zoneinfo/iso3166.tab", encoding="utf-8"):
        if line.startswith("#") or "\t" not in line:
            continue
        code, name = line.rstrip("\n").split("\t")[:2]
        tz_names[code] = fold(name)
    for line in open("/usr/share/zoneinfo/zone.tab", encoding="utf-8"):
        if line.startswith("#"):
            continue
        f = line.split("\t")
        if len(f) < 3 or f[0] in tz_points:
            continue
        c = f[1]
        cut = max(c.rfind("+"), c.rfind("-"))
        def deg(t):
            sign = -1 if t[0] == "-" else 1
            t = t[1:]
            d = 2 if len(t) in (4, 6) else 3
            v = int(t[:d]) + int(t[d:d + 2]) / 60 + (int(t[d + 2:d + 4]) / 3600 if len(t) > d + 2 else 0)
            return sign * v
        tz_points[f[0]] = (deg(c[cut:]), deg(c[:cut]))

    countries = []
    for line in open(dcw_list, encoding="utf-8"):
        if line.startswith("#") or not line.strip():
            continue
        continent, code, name = line.rstrip("\n").split(None, 2)
        countries.append((code, continent, tz_names.get(code, fold(name))))
    listed = {c[0] for c in countries}
    for code in sorted(tz_names):
        if code not in listed:  # no outline of its own in the chart (Hong Kong, Macau)
            countries.append((code, "AS", tz_names[code]))
    countries.sort()

    out = [
        "# Country outlines of the sample disc's atlas, from the Digital Chart of the World as",
        "# Debian's gmt-dcw package holds it (licence: LGPL-3+, see LICENCE-dcw-gmt.txt), each country",
        "# simplified to 10 km with GMT. Written by scripts/make-atlas-sources; do not edit by hand.",
        "#",
        "#   country CODE CONTINENT NAME   ISO 3166 code, continent (AF AN AS EU NA OC SA), name",
        "#   label LON LAT                 the point for its name and place: inside its largest ring",
        "#   ring N                        an outline of N points, one \"LON LAT\" line each (decimal",
        "#                                 degrees, east and north positive; closed implicitly)",
        "# A country without rings vanished at this scale (or has no outline of its own): it is",
        "# drawn as a dot at its label point.",
    ]
    total_rings = total_points = kept = 0
    for code, continent, name in countries:
        simple = [r for r in read_segments(f"{raw}/{code}.simple") if len(r) >= 3]
        pieces = []
        for r in simple:
            npts = len(r) - (1 if r[0] == r[-1] else 0)
            for p in cut_at_date_line(r):
                pieces.append((abs(area(p)), npts, p))
        rings = []
        if pieces:
            pieces.sort(key=lambda t: -t[0])
            rings = [pieces[0][2]] + [p for a, n, p in pieces[1:] if n >= KEEP_POINTS]
            label = label_point(rings[0])
        else:
            full = []
            for r in read_segments(f"{raw}/{code}.full"):
                full.extend(cut_at_date_line(r))
            if full:
                full.sort(key=lambda p: -abs(area(p)))
                label = label_point(full[0])
            elif code in tz_points:
                label = tz_points[code]
            else:
                print(f"atlas-sources: {code} {name}: no outline and no point, left out", file=sys.stderr)
                continue
        out.append(f"country {code} {continent} {name}")
        out.append(f"label {label[0]:.3f} {label[1]:.3f}")
        if rings:
            kept += 1
        for r in rings:
            pts = []
            for x, y in r:
                t = f"{x:.3f} {y:.3f}"
                if not pts or pts[-1] != t:
                    pts.append(t)
            if len(pts) > 1 and pts[0] == pts[-1]:
                pts.pop()
            if len(pts) < 3:
                continue
            out.append(f"ring {len(pts)}")
            out.extend(pts)
            total_rings += 1
            total_points += len(pts)
    open(output, "w", encoding="ascii").write("\n".join(out) + "\n")
    print(f"atlas-sources: {len(countries)} countries, {kept} with an outline, {total_rings} rings, "
          f"{total_points} points", file=sys.stderr)


if __name__ == "__main__":
    main()
