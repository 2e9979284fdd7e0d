#!/usr/bin/env python3
"""The pictures of docs/window-functions.md; scripts/docs-pictures.sh runs the steps in order.

    docs-pictures.py plot CURVES.csv OUTDIR
        one PNG per window function (window-<name>.png) from quorlin_plot's CSV: the curve at
        every parameter sampled, the default drawn boldest
    docs-pictures.py crop PHOTO.png X Y W H CROP.y4m
        a crop of a photograph as a 4:4:4 Y4M frame, the resizer's input
    docs-pictures.py compose OUT.png [--zoom X,Y,W,H,FACTOR,LABEL,...] LABEL=RESULT.y4m ...
        the resizer's results side by side, six to a row, each captioned with its label;
        --zoom adds a row with the W x H part at X, Y of the results named by LABEL, enlarged
        FACTOR times pixel for pixel, and outlines that part in every result
"""
import csv
import os
import sys
from collections import OrderedDict

import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt
from matplotlib import font_manager
from PIL import Image, ImageDraw, ImageFont

import y4m

PALETTE_COLOURS = 64  # line plots need few colours; a palette keeps each PNG small
DEFAULT_COLOUR = "#d62728"
OTHER_COLOURS = ["#1f77b4", "#2ca02c", "#9467bd", "#8c564b"]


def save_small(figure, path):
    figure.savefig(path + ".tmp.png", dpi=80)
    plt.close(figure)
    Image.open(path + ".tmp.png").convert("RGB").quantize(PALETTE_COLOURS).save(path, optimize=True)
    os.remove(path + ".tmp.png")


def read_curves(path):
    """{function: {param: (default, radius, xs, weights)}} in the file's order."""
    curves = OrderedDict()
    with open(path, newline="") as source:
        for row in csv.DictReader(source):
            params = curves.setdefault(row["function"], OrderedDict())
            default, radius, xs, weights = params.setdefault(
                int(row["param"]), (int(row["default"]), int(row["radius"]), [], []))
            xs.append(float(row["x"]))
            weights.append(float(row["weight"]))
    return curves


def plot(curves_csv, outdir):
    for name, params in read_curves(curves_csv).items():
        figure, axes = plt.subplots(figsize=(6.4, 2.6))
        reach = max(radius for _, radius, _, _ in params.values())
        others = iter(OTHER_COLOURS)
        for param, (default, radius, xs, weights) in params.items():
            is_default = param == default
            label = None
            if len(params) > 1 or param != 0:
                label = "%d (default)" % param if is_default else "%d" % param
            axes.plot(xs, weights, label=label, linewidth=2.2 if is_default else 1.2,
                      color=DEFAULT_COLOUR if is_default else next(others))
        axes.axhline(0, color="0.5", linewidth=0.6)
        axes.set_xlim(-reach, reach)
        axes.set_xticks(range(-reach, reach + 1))
        axes.grid(True, color="0.88", linewidth=0.6)
        axes.set_title(name)
        axes.set_xlabel("distance x (pixels of the coarser grid)")
        axes.set_ylabel("weight")
        if any(line.get_label()[0] != "_" for line in axes.get_lines()):
            axes.legend(title="parameter", fontsize="small", title_fontsize="small")
        figure.tight_layout()
        save_small(figure, "%s/window-%s.png" % (outdir, name.lower()))


def crop(photo, x, y, width, height, out):
    picture = Image.open(photo).convert("RGB").crop((x, y, x + width, y + height))
    header = y4m.Header(width, height, "444")
    y4m.write_stream(out, header, [y4m.from_rgb(width, height, picture.tobytes())])


def read_picture(path):
    with open(path, "rb") as source:
        header = y4m.read_header(source)
        planes = y4m.read_frame(source, header) if header else None
    if planes is None:
        sys.exit("docs-pictures: %s holds no frame" % path)
    rgb = bytes(y4m.to_rgb(header, planes))
    return Image.frombytes("RGB", (header.width, header.height), rgb)


class Zoom:
    """A part of every result, shown enlarged for the results it names."""

    def __init__(self, description):
        fields = description.split(",")
        self.x, self.y, self.width, self.height, self.factor = map(int, fields[:5])
        self.labels = fields[5:]

    def box(self, left, top):
        return (left + self.x - 1, top + self.y - 1, left + self.x + self.width,
                top + self.y + self.height)

    def enlarged(self, picture):
        part = picture.crop((self.x, self.y, self.x + self.width, self.y + self.height))
        return part.resize((self.width * self.factor, self.height * self.factor), Image.NEAREST)


ZOOM_OUTLINE = "#d62728"


def compose(out, labelled, zoom=None, per_row=6, gap=6, caption=22):
    pictures = [(label, read_picture(path)) for label, path in labelled]
    width, height = pictures[0][1].size
    rows = (len(pictures) + per_row - 1) // per_row
    grid_height = rows * (height + caption + gap) + gap
    zoomed = []
    if zoom:
        by_label = dict(pictures)
        zoomed = [("%s, %dx" % (label, zoom.factor), zoom.enlarged(by_label[label]))
                  for label in zoom.labels]
    zoom_width = sum(picture.size[0] + gap for _, picture in zoomed) + gap
    zoom_height = zoomed[0][1].size[1] + caption + gap if zoomed else 0
    sheet = Image.new("RGB", (max(per_row * (width + gap) + gap, zoom_width),
                              grid_height + zoom_height), "white")
    draw = ImageDraw.Draw(sheet)
    font = ImageFont.truetype(font_manager.findfont("DejaVu Sans"), 14)
    for i, (label, picture) in enumerate(pictures):
        left = gap + (i % per_row) * (width + gap)
        top = gap + (i // per_row) * (height + caption + gap)
        draw.text((left, top), label, fill="black", font=font)
        sheet.paste(picture, (left, top + caption))
        if zoom:
            draw.rectangle(zoom.box(left, top + caption), outline=ZOOM_OUTLINE)
    left = gap
    for label, picture in zoomed:
        draw.text((left, grid_height), label, fill="black", font=font)
        sheet.paste(picture, (left, grid_height + caption))
        left += picture.size[0] + gap
    save_smallest(sheet, out)


def save_smallest(sheet, out):
    """Saves the sheet as grey when it has no colour, else with a palette when 256 entries hold
    every colour (a grey sheet with its zoom outlines), else as RGB."""
    grey = sheet.convert("L")
    if grey.convert("RGB").tobytes() == sheet.tobytes():
        grey.save(out, optimize=True)  # a third of the file for pictures without colour
        return
    colours = sheet.getcolors(256)
    if colours:
        index = {colour: i for i, (_, colour) in enumerate(colours)}
        indexed = Image.frombytes("P", sheet.size, bytes(index[pixel] for pixel in sheet.getdata()))
        indexed.putpalette([value for _, colour in colours for value in colour])
        indexed.save(out, optimize=True)
        return
    sheet.save(out, optimize=True)


def main(argv):
    command, args = argv[1], argv[2:]
    if command == "plot":
        plot(*args)
    elif command == "crop":
        crop(args[0], *map(int, args[1:5]), args[5])
    elif command == "compose":
        zoom = None
        if len(args) > 2 and args[1] == "--zoom":
            zoom = Zoom(args[2])
            args = args[:1] + args[3:]
        compose(args[0], [arg.split("=", 1) for arg in args[1:]], zoom)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
