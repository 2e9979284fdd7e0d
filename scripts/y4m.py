"""8-bit Y4M video and PNG pictures with Python's standard library alone.

Frames are converted between Y'CbCr and RGB with the BT.601 studio-range matrix (Y' 16..235,
Cb and Cr 16..240), the scaling the editor and the resizer use for their YC48 frames.
"""
import struct
import zlib

CHROMA_SUBSAMPLING = {"444": (1, 1), "422": (2, 1), "420": (2, 2)}


class Header:
    def __init__(self, width, height, chroma="444", rest=("F25:1", "Ip", "A1:1")):
        if chroma not in CHROMA_SUBSAMPLING:
            raise ValueError("unsupported Y4M chroma format C" + chroma)
        self.width, self.height, self.chroma, self.rest = width, height, chroma, list(rest)

    def chroma_size(self):
        sx, sy = CHROMA_SUBSAMPLING[self.chroma]
        return (self.width + sx - 1) // sx, (self.height + sy - 1) // sy

    def line(self):
        fields = ["YUV4MPEG2", "W%d" % self.width, "H%d" % self.height, "C" + self.chroma]
        return (" ".join(fields + self.rest) + "\n").encode("ascii")


def read_header(stream):
    """The stream's header, or None for an empty stream."""
    line = stream.readline()
    if not line:
        return None
    fields = line.decode("ascii").split()
    if not fields or fields[0] != "YUV4MPEG2":
        raise ValueError("not a Y4M stream")
    width = height = None
    chroma, rest = "420", []
    for field in fields[1:]:
        if field[0] == "W":
            width = int(field[1:])
        elif field[0] == "H":
            height = int(field[1:])
        elif field[0] == "C":
            chroma = field[1:4]
        else:
            rest.append(field)
    return Header(width, height, chroma, rest)


def read_frame(stream, header):
    """The next frame's (Y, Cb, Cr) planes as bytes, or None at the end of the stream."""
    line = stream.readline()
    if not line:
        return None
    if not line.startswith(b"FRAME"):
        raise ValueError("Y4M frame marker missing")
    cw, ch = header.chroma_size()
    planes = []
    for size in (header.width * header.height, cw * ch, cw * ch):
        plane = stream.read(size)
        if len(plane) != size:
            raise ValueError("Y4M stream ends inside a frame")
        planes.append(plane)
    return tuple(planes)


def write_stream(path, header, frames):
    with open(path, "wb") as out:
        out.write(header.line())
        for planes in frames:
            out.write(b"FRAME\n")
            for plane in planes:
                out.write(plane)


def _clamp(value):
    return 0 if value < 0 else 255 if value > 255 else int(value + 0.5)


# Per-code contributions of the BT.601 studio-range matrix, looked up once per sample.
_LUMA = [1.164383 * (y - 16) for y in range(256)]
_CR_TO_R = [1.596027 * (c - 128) for c in range(256)]
_CR_TO_G = [-0.812968 * (c - 128) for c in range(256)]
_CB_TO_G = [-0.391762 * (c - 128) for c in range(256)]
_CB_TO_B = [2.017232 * (c - 128) for c in range(256)]


def to_rgb(header, planes):
    """A frame's pixels as packed 8-bit RGB rows; subsampled chroma is repeated."""
    y_plane, cb_plane, cr_plane = planes
    sx, sy = CHROMA_SUBSAMPLING[header.chroma]
    cw = header.chroma_size()[0]
    rgb = bytearray(header.width * header.height * 3)
    out = 0
    for row in range(header.height):
        luma_row = row * header.width
        chroma_row = (row // sy) * cw
        for col in range(header.width):
            luma = _LUMA[y_plane[luma_row + col]]
            cb = cb_plane[chroma_row + col // sx]
            cr = cr_plane[chroma_row + col // sx]
            rgb[out] = _clamp(luma + _CR_TO_R[cr])
            rgb[out + 1] = _clamp(luma + _CR_TO_G[cr] + _CB_TO_G[cb])
            rgb[out + 2] = _clamp(luma + _CB_TO_B[cb])
            out += 3
    return rgb


def from_rgb(width, height, rgb):
    """Packed 8-bit RGB rows as a 4:4:4 frame's (Y, Cb, Cr) planes."""
    planes = (bytearray(width * height), bytearray(width * height), bytearray(width * height))
    for i in range(width * height):
        r, g, b = rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]
        planes[0][i] = _clamp(16 + 0.256788 * r + 0.504129 * g + 0.097906 * b)
        planes[1][i] = _clamp(128 - 0.148223 * r - 0.290993 * g + 0.439216 * b)
        planes[2][i] = _clamp(128 + 0.439216 * r - 0.367788 * g - 0.071427 * b)
    return tuple(bytes(plane) for plane in planes)


def write_png(path, width, height, rgb):
    """Packed 8-bit RGB rows as a PNG file."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    stride = width * 3
    raw = b"".join(b"\0" + bytes(rgb[row * stride:(row + 1) * stride]) for row in range(height))
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        out.write(chunk(b"IEND", b""))
