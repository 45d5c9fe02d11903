#!/usr/bin/env python3
"""Compares the main window's layout at a scaled dpi with its layout at 96 dpi, both as
"zdriver layout" printed them, and prints PASS/FAIL lines and "N passed, N failed".

- The client area is the 96-dpi one scaled.
- Every control lies inside the group box or tab control that holds it at 96 dpi (the
  smallest one around it there).
- Every edge of every control, measured from the side of that container it is placed from
  (the near side, or the far side for a control docked right or filling to the far edge),
  is the 96-dpi distance scaled, within TOLERANCE pixels.
- Every caption that fits its control at 96 dpi fits it at the scale too (the driver
  measured it in the program's font at that dpi). Captions that are a pixel tight already
  at 96 dpi, where the layout must stay as it is, are listed as a note.

Usage: check_layout.py <layout at 96> <layout at the scale>
"""
import sys

# Rounding gives 1 pixel; a tab control's row of tabs is as high as its font and pictures
# make it, which is near but not exactly the 96-dpi height scaled.
TOLERANCE = 3
CONTAINER_PREFIXES = ("GroupBox", "PageControl")


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
    return layout


def scale(value, dpi):
    """As the program scales: value * dpi / 96, halves away from zero."""
    product = value * dpi
    rounded = (abs(product) + 48) // 96
    return rounded if product >= 0 else -rounded


def inside(inner, outer):
    return inner[0] >= outer[0] and inner[1] >= outer[1] and inner[2] <= outer[2] and inner[3] <= outer[3]


def area(rect):
    return (rect[2] - rect[0]) * (rect[3] - rect[1])


def holders_of(name, places, client):
    """The containers around the control at 96 dpi, the window included. Tab pages share
    their area, so a group of another page may lie around it too; the one whose scaled
    distances fit best is its own."""
    rect = places[name]["rect"]
    return ["FormMain"] + [other for other, place in places.items()
                           if other != name and other.startswith(CONTAINER_PREFIXES) and inside(rect, place["rect"])]


def deviation(rect, holder, d_rect, d_holder, dpi, edges=4):
    worst = 0
    for i in range(edges):
        near, far = (0, 2) if i in (0, 2) else (1, 3)
        from_near = abs((rect[i] - holder[near]) - scale(d_rect[i] - d_holder[near], dpi))
        from_far = abs((holder[far] - rect[i]) - scale(d_holder[far] - d_rect[i], dpi))
        worst = max(worst, min(from_near, from_far))
    return worst


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
        # A drop-down list is as high as its font makes it: its bottom edge is not ours.
        edges = 3 if scaled["places"][name]["kind"] == "ComboBox" else 4
        candidates = [(deviation(rect, rect_at(scaled, h), d_rect, rect_at(design, h), dpi, edges), h)
                      for h in holders_of(name, design["places"], design["client"])]
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
    tight = sorted(n for n, p in design["places"].items() if p["fits"] == "0")
    if tight:
        print(f"# captions tight already at 96 dpi: {', '.join(tight)}")
    clipped = sorted(n for n, p in scaled["places"].items() if p["fits"] == "0" and n not in tight)
    report(not clipped, f"no caption clipped at {dpi} dpi", ", ".join(clipped))
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
