#!/usr/bin/env python3
"""The figures of docs/performance.md from one saved output of scripts/bench.sh.

    performance-figures.py BENCH.txt PLOT.png

Prints the table of milliseconds per frame as Markdown and draws PLOT.png: for each geometry,
one thread, every kernel in YC48 and YUY2 beside zimg, FFmpeg's swscale and zscale on the
matching formats (three 16-bit planes against YC48, 8-bit 4:2:2 against YUY2). A case the run
did not measure (a kernel this processor does not run) is left out.
"""
import sys

import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt

GEOMETRIES = [("1920x1080->1280x720", "1920x1080 -> 1280x720"),
              ("1280x720->1920x1080", "1280x720 -> 1920x1080")]
# (label, bench case for the YC48 / 16-bit planes side, bench case for the YUY2 / 4:2:2 side);
# {g} is the geometry.
CASES = [
    ("Quorlin AVX-512", "AVX-512 yc48 {g} 1thr", "AVX-512 yuy2 {g} 1thr"),
    ("Quorlin AVX2", "AVX2 yc48 {g} 1thr", "AVX2 yuy2 {g} 1thr"),
    ("Quorlin SSE2", "SSE2 yc48 {g} 1thr", "SSE2 yuy2 {g} 1thr"),
    ("Quorlin C++", "C++ yc48 {g} 1thr", "C++ yuy2 {g} 1thr"),
    ("zimg AVX-512", "zimg-auto yuv444p16 {g}", "zimg-auto yuv422p8 {g}"),
    ("zimg AVX2", "zimg-avx2 yuv444p16 {g}", "zimg-avx2 yuv422p8 {g}"),
    ("ffmpeg zscale", "zscale yuv444p16 {g} 1thr", "zscale yuv422p {g} 1thr"),
    ("ffmpeg swscale", "swscale yuv444p16 {g} 1thr", "swscale yuyv422 {g} 1thr"),
]
# (table heading, legend) of each side.
SIDES = [("YC48", "YC48 / 3 x 16-bit planes"), ("YUY2", "YUY2 / 8-bit 4:2:2")]


def read_bench(path):
    """{case: milliseconds} from the lines of bench.sh's table (case, figure, rounds)."""
    figures = {}
    for line in open(path):
        words = line.split()
        for i in range(1, len(words)):
            try:
                value = float(words[i])
            except ValueError:
                continue
            if "->" in " ".join(words[:i]):
                figures[" ".join(words[:i])] = value
            break
    return figures


def measured_cases(figures):
    return [(label, yc48, yuy2) for label, yc48, yuy2 in CASES
            if any(c.format(g=g) in figures for g, _ in GEOMETRIES for c in (yc48, yuy2))]


def figure_text(figures, case, geometry):
    value = figures.get(case.format(g=geometry))
    return "-" if value is None else f"{value:.2f}"


def print_table(figures, cases):
    print("| one thread, ms per frame | " + " | ".join(
        f"{title}, {heading}" for _, title in GEOMETRIES for heading, _ in SIDES) + " |")
    print("|---" * (1 + 2 * len(GEOMETRIES)) + "|")
    for label, yc48, yuy2 in cases:
        cells = [figure_text(figures, case, g) for g, _ in GEOMETRIES for case in (yc48, yuy2)]
        print(f"| {label} | " + " | ".join(cells) + " |")


def plot(figures, cases, path):
    rows = len(cases)
    fig, axes = plt.subplots(1, len(GEOMETRIES), figsize=(10, 0.45 * rows + 1.6), sharey=True)
    for axis, (geometry, title) in zip(axes, GEOMETRIES):
        for side, colour, offset in ((0, "#1f77b4", -0.2), (1, "#ff7f0e", 0.2)):
            values = [figures.get(case[1 + side].format(g=geometry), 0.0) for case in cases]
            bars = axis.barh([i + offset for i in range(rows)], values, height=0.4, color=colour,
                             label=SIDES[side][1])
            axis.bar_label(bars, labels=[f"{v:.2f}" if v else "" for v in values], fontsize=7,
                           padding=2)
        axis.set_title(title, fontsize=10)
        axis.set_xlabel("milliseconds per frame, one thread")
        axis.margins(x=0.15)
    axes[0].set_yticks(range(rows), [label for label, _, _ in cases])
    axes[0].invert_yaxis()
    axes[0].legend(fontsize=8, loc="lower right")
    fig.tight_layout()
    fig.savefig(path, dpi=80)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    figures = read_bench(sys.argv[1])
    cases = measured_cases(figures)
    if not cases:
        sys.exit(f"performance-figures: no benchmark figures in {sys.argv[1]}")
    print_table(figures, cases)
    plot(figures, cases, sys.argv[2])


if __name__ == "__main__":
    main()
