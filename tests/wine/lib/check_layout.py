#!/usr/bin/env python3
"""Compares the main window's layout at a scaled dpi with its layout at 96 dpi, both as
"zdriver layout" printed them, and prints PASS/FAIL lines and "N passed, N failed".

- The client area is the 96-dpi one scaled.
- Every control lies inside the group box or tab control that holds it at 96 dpi (the
  smallest one around it there).
- A tab control's page area (the part under its row of tabs, where the program lays out its
  pages' controls) is a container of its own, inside its tab control. Where it lies in the
  tab control is the platform's: the row of tabs is as high as the font and the tab pictures
  make it, and the borders may keep their 96-dpi width. A row must grow at least as much as
  its pictures, or its text where it has none, do at that scale.
- Every edge of every control, measured from the side of that container it is placed from
  (the near side, or the far side for a control docked right or filling to the far edge),
  is the 96-dpi distance scaled, within TOLERANCE pixels.
- Every caption that fits its control at 96 dpi fits it at the scale too (the driver
  measured it in the program's font at that dpi). Captions that are a pixel tight already
  at 96 dpi, where the layout must stay as it is, are listed as a note.

Usage: check_layout.py <layout at 96> <layout at the scale>
"""
import sys

# Rounding gives 1 pixel, and some borders of the platform's own (an edit's sunken edge
# beside its arrows) stay 2 pixels at every scale.
TOLERANCE = 3
CONTAINER_PREFIXES = ("GroupBox", "PageControl")
PAGES = " pages"
# The tab pictures are 16 pixels high at 96 dpi.
TAB_PICTURE = 16


def read(path):
    layout = {"places": {}}
    with open(path, encoding="latin-1") as f:
        for line in f:
            line = line.rstrip("\r\n")
            if line.startswith("dpi: "):
                layout["dpi"] = int(line[5:])
            elif line.startswith("client: "):
                layout["client"] = tuple(int(v) for v in line[8:].split(","))
            elif line.startswith("place: "):
                name, kind, rect, fits, shown = line[7:].split(" ")
                layout["places"][name] = {
                    "kind": kind,
                    "rect": tuple(int(v) for v in rect.split(",")),
                    "fits": fits,
                    "shown": shown,
                }
            elif line.startswith("fontheight: "):
                layout["fontheight"] = int(line[12:])
            elif line.startswith("pages: "):
                name, rect, content = line[7:].split(" ")
                layout["places"][name + PAGES] = {
                    "kind": "Pages",
                    "pictures": content == "pictures",
                    "rect": tuple(int(v) for v in rect.split(",")),
                    "fits": "-",
                    "shown": "shown",
                }
    return layout


def scale(value, dpi):
    """As the program scales: value * dpi / 96, halves away from zero."""
    product = value * dpi
    rounded = (abs(product) + 48) // 96
    return rounded if product >= 0 else -rounded


def inside(inner, outer):
    return inner[0] >= outer[0] and inner[1] >= outer[1] and inner[2] <= outer[2] and inner[3] <= outer[3]


def holders_of(name, places):
    """The containers that may hold the control, as they lie around it at 96 dpi: group boxes
    and page areas (a tab control holds nothing itself, only its page area does), else the
    window. Tab pages share their area, so a group of another page may lie around it too;
    of those, the one whose scaled distances fit best is its own. Inside a page area only
    what lies in that area counts, never the groups or the window around the tab control."""
    if places[name]["kind"] == "Pages":
        return [name[:-len(PAGES)]]
    rect = places[name]["rect"]
    around = [other for other, place in places.items()
              if other != name and (place["kind"] == "Pages" or other.startswith("GroupBox"))
              and inside(rect, place["rect"])]
    pages = [p for p in around if places[p]["kind"] == "Pages"]
    if pages:
        around = [c for c in around if any(inside(places[c]["rect"], places[p]["rect"]) for p in pages)]
    return around or ["FormMain"]


def deviation(rect, holder, d_rect, d_holder, dpi, edges):
    worst = 0
    for i in edges:
        near, far = (0, 2) if i in (0, 2) else (1, 3)
        from_near = abs((rect[i] - holder[near]) - scale(d_rect[i] - d_holder[near], dpi))
        from_far = abs((holder[far] - rect[i]) - scale(d_holder[far] - d_rect[i], dpi))
        worst = max(worst, min(from_near, from_far))
    return worst


def edges_of(kind):
    # A drop-down list is as high as its font makes it: its bottom edge is not ours. A page
    # area's top is the foot of the row of tabs, checked on its own.
    if kind == "ComboBox":
        return (0, 1, 2)
    if kind == "Pages":
        return ()
    return (0, 1, 2, 3)


def main():
    design, scaled = read(sys.argv[1]), read(sys.argv[2])
    dpi = scaled["dpi"]
    passed = failed = 0

    def report(ok, what, detail=""):
        nonlocal passed, failed
        if ok:
            passed += 1
            print(f"PASS: {what}")
        else:
            failed += 1
            print(f"FAIL: {what} ({detail})")

    expected_client = tuple(scale(v, dpi) for v in design["client"])
    report(scaled["client"] == expected_client, f"client area at {dpi} dpi is the 96-dpi one scaled",
           f"{scaled['client']} for {expected_client}")
    names = sorted(design["places"])
    report(sorted(scaled["places"]) == names, f"the same {len(names)} controls at 96 and {dpi} dpi")

    def rect_at(layout, name):
        return layout["client"] if name == "FormMain" else layout["places"][name]["rect"]

    outside, off, worst = [], [], 0
    for name in names:
        if name not in scaled["places"]:
            continue
        rect, d_rect = rect_at(scaled, name), rect_at(design, name)
        edges = edges_of(scaled["places"][name]["kind"])
        candidates = [(deviation(rect, rect_at(scaled, h), d_rect, rect_at(design, h), dpi, edges), h)
                      for h in holders_of(name, design["places"])]
        dev, holder = min(candidates)
        holder_rect = rect_at(scaled, holder)
        if not inside(rect, holder_rect):
            outside.append(f"{name} {rect} outside {holder} {holder_rect}")
        worst = max(worst, dev)
        if dev > TOLERANCE:
            off.append(f"{name} {rect} in {holder}: {dev} px")
    report(not outside, f"every control inside its group at {dpi} dpi", "; ".join(outside))
    report(not off, f"every control where its 96-dpi place scaled puts it (within {TOLERANCE} px; worst {worst})",
           "; ".join(off))
    # At 96 dpi a row of tabs is its content (the 16-pixel pictures, or the text where there
    # are none, as high as the font's characters) plus the tabs' padding and borders. At a
    # scale the content grows, while the platform may keep padding and borders as they were,
    # so the row must be at least the scaled content plus what it had around it at 96. A
    # font or pictures left at their 96-dpi size leave the row too low.
    def content(layout, pictures, at):
        return max(scale(TAB_PICTURE, at) if pictures else 0, layout["fontheight"])

    low = []
    for name in sorted(n for n, p in scaled["places"].items() if p["kind"] == "Pages"):
        tabs = name[:-len(PAGES)]
        pictures = design["places"][name]["pictures"]
        row = scaled["places"][name]["rect"][1] - scaled["places"][tabs]["rect"][1]
        d_row = design["places"][name]["rect"][1] - design["places"][tabs]["rect"][1]
        least = content(scaled, pictures, dpi) + d_row - content(design, pictures, 96)
        print(f"# row of tabs of {tabs}: {row} px at {dpi} dpi (at least {least}), {d_row} px at 96")
        if scaled["places"][name]["pictures"] != pictures or row < least:
            low.append(f"{tabs}: {row} px, at least {least}")
    report(not low, f"every row of tabs grows with its font and pictures at {dpi} dpi", "; ".join(low))
    tight = sorted(n for n, p in design["places"].items() if p["fits"] == "0")
    if tight:
        print(f"# captions tight already at 96 dpi: {', '.join(tight)}")
    clipped = sorted(n for n, p in scaled["places"].items() if p["fits"] == "0" and n not in tight)
    report(not clipped, f"no caption clipped at {dpi} dpi", ", ".join(clipped))
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
