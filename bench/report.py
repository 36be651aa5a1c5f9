#!/usr/bin/env python3
"""Turns the benchmarks' output into docs/performance.md and
docs/performance.svg, and prints the tables.

Usage: report.py RESULTS_DIR DOCS_DIR

RESULTS_DIR holds sorts.json and frames.json (Google Benchmark, aggregates
only), run_profile.tsv, cadence_linux.tsv, cadence_windows-x86.tsv and
cadence_windows-x64.tsv, cadence_browser.tsv (any may be missing) and
info.txt (key=value lines about the run).
"""
import csv
import json
import os
import sys
from xml.sax.saxutils import escape

SORT_TARGET = 1.10
FRAME_TARGET = 1.50
TEXT_TARGET = 0.10
GROWTH_TARGET = 1.10
FPS_TARGET = 95.0


def medians(path):
    """Median aggregates of a Google Benchmark JSON file, by run name."""
    if not os.path.exists(path):
        return {}
    with open(path) as f:
        data = json.load(f)
    found = {}
    for b in data.get("benchmarks", []):
        if b.get("aggregate_name") == "median":
            found[b["run_name"]] = b
    return found


def tsv(path):
    if not os.path.exists(path):
        return []
    with open(path) as f:
        return list(csv.DictReader(f, delimiter="\t"))


def verdict(ok):
    return "met" if ok else "**missed**"


def table(header, rows):
    lines = ["| " + " | ".join(header) + " |",
             "|" + "|".join("---" for _ in header) + "|"]
    lines += ["| " + " | ".join(str(c) for c in row) + " |" for row in rows]
    return "\n".join(lines)


def svg_panel(title, bars, target, target_label, x0, y0, width, scale_max,
              digits=2):
    """A horizontal bar panel; bars are (label, value, ok). Returns (svg, h)."""
    row = 18
    label_w = 190
    plot_w = width - label_w - 70
    out = [f'<text x="{x0}" y="{y0 + 14}" font-weight="bold">'
           f'{escape(title)}</text>']
    top = y0 + 26
    for k, (label, value, ok) in enumerate(bars):
        y = top + k * row
        w = max(1.0, plot_w * min(value, scale_max) / scale_max)
        colour = "#4a90d9" if ok else "#d9534f"
        out.append(f'<text x="{x0 + label_w - 6}" y="{y + 12}" '
                   f'text-anchor="end">{escape(label)}</text>')
        out.append(f'<rect x="{x0 + label_w}" y="{y + 2}" width="{w:.1f}" '
                   f'height="{row - 5}" fill="{colour}"/>')
        out.append(f'<text x="{x0 + label_w + w + 4:.1f}" y="{y + 12}">'
                   f'{value:.{digits}f}</text>')
    tx = x0 + label_w + plot_w * target / scale_max
    bottom = top + len(bars) * row
    out.append(f'<line x1="{tx:.1f}" y1="{top - 2}" x2="{tx:.1f}" '
               f'y2="{bottom}" stroke="#333" stroke-dasharray="4 3"/>')
    out.append(f'<text x="{tx + 3:.1f}" y="{bottom + 12}" fill="#333">'
               f'{escape(target_label)}</text>')
    return "\n".join(out), bottom + 24 - y0


def main():
    results, docs = sys.argv[1], sys.argv[2]
    info = {}
    info_path = os.path.join(results, "info.txt")
    if os.path.exists(info_path):
        for line in open(info_path):
            if "=" in line:
                key, value = line.rstrip("\n").split("=", 1)
                info[key] = value

    sorts = medians(os.path.join(results, "sorts.json"))
    frames = medians(os.path.join(results, "frames.json"))
    profile = tsv(os.path.join(results, "run_profile.tsv"))
    # Platform: (its results file, its short name on the chart).
    platforms = {"Linux": ("cadence_linux.tsv", "Linux"),
                 "Windows i686 (wine)": ("cadence_windows-x86.tsv", "i686"),
                 "Windows x86_64 (wine64)": ("cadence_windows-x64.tsv",
                                             "x86_64"),
                 "Browser (headless Chromium)": ("cadence_browser.tsv",
                                                 "browser")}
    cadence = {p: tsv(os.path.join(results, f))
               for p, (f, _) in platforms.items()}

    md = ["# Performance", "",
          "Written by `scripts/bench`; do not edit by hand. Every ratio is "
          "of two figures measured side by side in one run (paired in each "
          "iteration, medians over repetitions), so that a busy machine "
          "moves both. Absolute times vary with the load; the ratios are "
          "the verdicts.", ""]
    if info:
        md += ["Machine and run: " + "; ".join(
            f"{k} {v}" for k, v in info.items()), ""]
    svg_parts = []
    svg_y = 10
    summary = []

    # ---- frame cost --------------------------------------------------------
    frame_rows, frame_bars = [], []
    for name, b in sorted(frames.items(),
                          key=lambda kv: kv[1].get("floor_us", 0)):
        if not name.startswith("Frame/"):
            continue
        size = "×".join(name.split("/")[1:3])
        ratio = b["frame_over_floor"]
        share = b["text_share"]
        frame_rows.append([size, f'{b["frame_us"]:.0f}',
                           f'{b["render_us"]:.0f}', f'{b["present_us"]:.0f}',
                           f'{b["floor_us"]:.0f}', f"{ratio:.2f}",
                           f'{b["text_us"]:.1f}', f"{100 * share:.1f} %"])
        frame_bars.append((f"frame / floor {size}", ratio,
                           ratio <= FRAME_TARGET))
        if size == "1920×1080":
            summary.append(("Frame within 1.5× of the floor at 1920×1080",
                            f"{ratio:.2f}×", ratio <= FRAME_TARGET))
        summary.append((f"Text at most 10 % of a frame at {size}",
                        f"{100 * share:.1f} %", share <= TEXT_TARGET))
    if frame_rows:
        md += ["## Frame cost", "",
               "The real main window, headless (SDL's dummy driver): "
               "`WM_TIMER` (renderFrame) then `WM_PAINT` (BeginPaint, "
               "presentFrame, EndPaint), against the floor of one `std::fill` "
               "of W×H pixels and one `memcpy` of them. Text: the status line "
               "and the eleven listing rows (as an idle frame draws them) "
               "drawn alone on a bitmap of the same size. Times in µs.", "",
               table(["size", "frame", "render (WM_TIMER)",
                      "present (WM_PAINT)", "floor", "frame / floor",
                      "text", "text / frame"], frame_rows), ""]
    growth = frames.get("FrameBySize/1920/1080/min_time:0.300/repeats:5/"
                        "manual_time")
    if growth is None:
        growth = next((b for n, b in frames.items()
                       if n.startswith("FrameBySize/")), None)
    if growth:
        r = growth["ratio"]
        md += ["### Frame cost against the number of values (1920×1080)", "",
               table(["30000 values (µs)", "10 million values (µs)", "ratio",
                      "target"],
                     [[f'{growth["frame_30000_us"]:.0f}',
                       f'{growth["frame_10M_us"]:.0f}', f"{r:.3f}",
                       f"≤ {GROWTH_TARGET} ({verdict(r <= GROWTH_TARGET)})"]]),
               ""]
        frame_bars.append(("10M / 30000 values", r, r <= GROWTH_TARGET))
        summary.append(("Frame cost independent of n (10M vs 30000)",
                        f"{r:.3f}×", r <= GROWTH_TARGET))
    if frame_bars:
        part, h = svg_panel("Frame: ratio to the fill-and-copy floor "
                            "(and 10M / 30000 values)", frame_bars,
                            FRAME_TARGET, "1.5× target", 10, svg_y, 760,
                            max(2.5, max(v for _, v, _ in frame_bars) * 1.1))
        svg_parts.append(part)
        svg_y += h

    # ---- sort steps --------------------------------------------------------
    sort_rows, sort_bars = [], []
    all_ok = True
    for name, b in sorts.items():
        if not name.startswith("SortSteps/"):
            continue
        routine = name.split("/")[1]
        ratio = b["ratio_cpu"]
        ok = ratio <= SORT_TARGET
        all_ok &= ok
        sort_rows.append([routine, f'{b["shared_cpu_ms"]:.3f}',
                          f'{b["plain_cpu_ms"]:.3f}', f"{ratio:.3f}",
                          f'{b["shared_wall_ms"]:.3f}',
                          f'{b["plain_wall_ms"]:.3f}',
                          f'{b["ratio_wall"]:.3f}', verdict(ok)])
        sort_bars.append((routine, ratio, ok))
    if sort_rows:
        md += ["## Sort steps: the program's routines against plain accesses",
               "",
               "30000 shuffled values (the same permutation for both), "
               "pausing disabled (yieldInterval 0xFFFFFFFF), each routine "
               "called on the benchmark's thread. The plain version is the "
               "routine's own source compiled a second time "
               "(`bench/sort_bench.cpp`, namespace `plain`) with plain loads "
               "and stores instead of `std::atomic`/`std::atomic_ref`. The "
               "verdict uses the thread's CPU time, which leaves out "
               "preemption by other processes and the merge sort's sleeps "
               "(it pauses every 1000 merge steps whatever the interval, "
               "hence its wall times). A ratio well below 1 means the plain "
               "version is the slower: in bubble sort GCC turns its exchange of "
               "two neighbours into one 8-byte load and store, and the next "
               "step's 8-byte load overlaps that store, so store-to-load "
               "forwarding fails; the atomic stores keep those steps scalar. "
               "Times in ms per run.", "",
               table(["routine", "atomic CPU", "plain CPU", "ratio (CPU)",
                      "atomic wall", "plain wall", "ratio (wall)",
                      f"≤ {SORT_TARGET}"], sort_rows), ""]
        summary.append(("Every routine within 1.1× of its plain version",
                        f"worst {max(v for _, v, _ in sort_bars):.3f}×",
                        all_ok))
        part, h = svg_panel("Sort steps: atomic / plain CPU time, 30000 values",
                            sort_bars, SORT_TARGET, "1.1× target", 10, svg_y,
                            760, 1.5)
        svg_parts.append(part)
        svg_y += h

    # ---- run profile -------------------------------------------------------
    if profile:
        rows = [[p["routine"], p["n"], p["operations"], p["pauses"],
                 p["elapsed_ms"], p["cpu_ms"], p["asleep_ms"],
                 f'{100 * float(p["asleep_share"]):.1f} %',
                 p["involuntary_switches"]] for p in profile]
        md += ["## A run as the user sees it", "",
               "Each routine on 30000 values (the same permutation) in the "
               "real window, 1000 pixels wide (yieldInterval "
               f'{profile[0]["yield_interval"]}), started by a left click '
               "while the interface thread draws a frame every 10 ms. "
               "Elapsed is the time the program reports (its counter "
               "readings, so up to one frame of noticing the end); the "
               "worker's CPU time is the process's less the interface "
               "thread's. Pauses are the worker's Sleep calls; time asleep "
               "is elapsed less the worker's CPU time (so it also holds any "
               "time the worker waited for a core: see the involuntary "
               "context switches). Times in ms.", "",
               table(["routine", "n", "counted operations", "pauses",
                      "elapsed", "CPU", "asleep", "asleep / elapsed",
                      "involuntary switches"], rows), ""]

    # ---- cadence -----------------------------------------------------------
    names = []
    for platform, rows in cadence.items():
        for r in rows:
            if r["routine"] not in names:
                names.append(r["routine"])
    if names:
        header = ["routine"]
        for platform in cadence:
            header += [f"{platform} n", f"{platform} run (s)",
                       f"{platform} frames/s", f"{platform} longest gap (ms)"]
        rows = []
        cadence_bars = []
        for name in names:
            row = [name]
            for platform, data in cadence.items():
                r = next((x for x in data if x["routine"] == name), None)
                if r is None:
                    row += ["–"] * 4
                    continue
                fps = float(r["frames_per_s"])
                row += [r["n"], r["run_s"], f"{fps:.1f}", r["longest_gap_ms"]]
                short = platforms[platform][1]
                cadence_bars.append((f"{name} ({short})", fps,
                                     fps >= FPS_TARGET))
            rows.append(row)
        md += ["## Frame cadence during a run", "",
               "The real message loop (GetMessageW/DispatchMessageW) and main "
               "window, 1000×700, a run started by WM_LBUTTONDOWN; WM_TIMER "
               "frames drawn while the run lasts, per second (the timer asks "
               "for 100). Each routine starts at 30000 values and takes more "
               "until a run lasts at least a second. Linux through SDL's X11 "
               "driver and the Windows builds under wine (the shipped i686 "
               "program with wine's 32-bit loader, the x86_64 one with "
               "wine64's), all under Xvfb; the browser build in headless "
               "Chromium, driven from outside (its frames counted where SDL "
               "presents them, putImageData; its runs started by the "
               "driver's clicks and their end seen by polling the canvas).",
               "", table(header, rows), ""]
        for platform, data in cadence.items():
            if data:
                worst = min(float(x["frames_per_s"]) for x in data)
                summary.append((f"At least 95 frames/s during runs, "
                                f"{platform}", f"worst {worst:.1f}",
                                worst >= FPS_TARGET))
        part, h = svg_panel("Frames drawn per second during a run "
                            "(100 asked for)", cadence_bars, FPS_TARGET,
                            "95 target", 10, svg_y, 760, 110, digits=1)
        svg_parts.append(part)
        svg_y += h

    # ---- shuffle and generator ---------------------------------------------
    shuffle = next((b for n, b in sorts.items() if n.startswith("Shuffle/")),
                   None)
    well = next((b for n, b in sorts.items() if n.startswith("WellSteps")),
                None)
    if shuffle or well:
        rows = []
        if shuffle:
            rows.append(["shuffleValues, 10 million values",
                         f'{shuffle["real_time"]:.0f} ms per shuffle',
                         f'{shuffle["values_per_s"] / 1e6:.2f} M values/s',
                         ""])
        if well:
            rows.append(["WELL1024a steps: wellNext / plain loop",
                         f'{well["wellNext_steps_per_s"] / 1e6:.0f} M/s',
                         f'{well["plain_steps_per_s"] / 1e6:.0f} M/s',
                         f'{well["ratio_cpu"]:.2f}× the time'])
        md += ["## Shuffle and generator", "",
               table(["what", "figure", "", "ratio"], rows), ""]

    if summary:
        md[4:4] = ["## Targets", "",
                   table(["target", "measured", "verdict"],
                         [[t, m, verdict(ok)] for t, m, ok in summary]), "",
                   "![Ratios](performance.svg)", ""]

    svg = (f'<svg xmlns="http://www.w3.org/2000/svg" width="780" '
           f'height="{svg_y + 10}" font-family="sans-serif" font-size="12">\n'
           f'<rect width="100%" height="100%" fill="white"/>\n'
           + "\n".join(svg_parts) + "\n</svg>\n")
    os.makedirs(docs, exist_ok=True)
    with open(os.path.join(docs, "performance.md"), "w") as f:
        f.write("\n".join(md))
    with open(os.path.join(docs, "performance.svg"), "w") as f:
        f.write(svg)
    print("\n".join(md))


if __name__ == "__main__":
    main()
