#!/usr/bin/env python3
"""Saves one frame of an 8-bit Y4M stream as a PNG picture.

    frame-to-png.py [--frame N] INPUT.y4m|- OUTPUT.png

Reads the whole stream (standard input for -), so it can sit at the end of a pipeline without
the video ever being written to disk, and saves frame N (counted from 1; default: the last).
"""
import argparse
import sys

import y4m


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--frame", type=int, default=0, help="frame to save, from 1 (default: last)")
    parser.add_argument("input", help="Y4M file, or - for standard input")
    parser.add_argument("output", help="PNG file to write")
    args = parser.parse_args()

    stream = sys.stdin.buffer if args.input == "-" else open(args.input, "rb")
    header = y4m.read_header(stream)
    if header is None:
        sys.exit("frame-to-png: the Y4M stream is empty")
    kept, count = None, 0
    while True:
        planes = y4m.read_frame(stream, header)
        if planes is None:
            break
        count += 1
        if args.frame in (0, count):
            kept, kept_number = planes, count
    if count == 0:
        sys.exit("frame-to-png: the Y4M stream holds no frames")
    if kept is None:
        sys.exit("frame-to-png: the stream has %d frames, no frame %d" % (count, args.frame))
    y4m.write_png(args.output, header.width, header.height, y4m.to_rgb(header, kept))
    print("frame-to-png: frame %d of %d (%dx%d) saved as %s"
          % (kept_number, count, header.width, header.height, args.output), file=sys.stderr)


if __name__ == "__main__":
    main()
