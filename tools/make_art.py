#!/usr/bin/env python3
"""Regenerates Tovik's icon, toolbar strip and arrow cursor in src/resources/.

The pictures are drawn below as character grids, one character a pixel:

    k black      r dark red   g dark green  y olive      b navy
    m purple     t teal       s silver      d dark grey  R red
    G green      Y yellow     B blue        M magenta    C cyan
    w white      . transparent

Output is byte-for-byte the same on every run.  Standard library only.
"""
import os
import struct

# The 16-colour VGA palette, as (red, green, blue), in the usual order.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
CODES = "krgybmtsdRGYBMCw"
SILVER = CODES.index("s")

# ---------------------------------------------------------------- pictures

ICON_32 = """
RRRRRRR..................RRRRRRR
RRRRRRR..................RRRRRRR
RR............................RR
RR............................RR
RR............................RR
RR............................RR
............kkkkkkkk............
.....kkkk..kwwwwwwsk............
.....kRRk.kwsssssssdk...........
...kkkkkkkkkkkkkkkkkkkkkkkkkk...
...kwwwwwwwwwwwwwwwwwwwwwwwsk...
...kwsssssssskkkkkksssskkkkdk...
...kwsssssskkwwwwsskksskwYkdk...
...kkkkkkkkwwsssssssdkkkkkkkk...
...kwdddddkwsskkkkssdkddddddk...
...kwddddkwsskbbbbkssdkdddddk...
...kwddddkwskbwBbbbksdkdddddk...
...kwddddkwskbBbbbbksdkdddddk...
...kwddddksskbbbbbbkddkdddddk...
...kwddddksskbbbbbbkddkdddddk...
...kwddddkssdkbbbbkdddkdddddk...
...kwdddddksddkkkkdddkddddddk...
...kkkkkkkkddddddddddkkkkkkkk...
...kwsssssskkddddddkkssssssdk...
...kwsssssssskkkkkkssssssssdk...
...kwssssssssssssssssssssssdk...
RR.kkkkkkkkkkkkkkkkkkkkkkkkkk.RR
RR............................RR
RR............................RR
RR............................RR
RRRRRRR..................RRRRRRR
RRRRRRR..................RRRRRRR
"""

ICON_16 = """
RR............RR
R.....kkkk.....R
.....kwssdk.....
.kkkkkkkkkkkkkk.
.kwwwwkkkkwwYsk.
.kwsskwssdkssdk.
.kwdkwsbbsdkddk.
.kwdkwbBwbdkddk.
.kwdksbbBbdkddk.
.kwdksdbbddkddk.
.kwsskddddkssdk.
.kwssskkkksssdk.
.kkkkkkkkkkkkkk.
................
R..............R
RR............RR
"""

# Nine 16x16 toolbar images, left to right.  Silver is the strip's mask
# colour, so it must never be used inside a picture: it would turn see-through.
TOOLBAR = [
    # open folder
    """
................
................
..kkkk..........
.kYwYwk.........
.kwYwYkkkkkkk...
.kYwYwYwYwYwk...
.kwYwYwYwYwYk...
.kYwYkkkkkkkkkkk
.kwYkYYYYYYYYYYk
.kYkYYYYYYYYYYk.
.kYkYYYYYYYYYYk.
.kkYYYYYYYYYYk..
.kkYYYYYYYYYYk..
.kkkkkkkkkkkk...
................
................
""",
    # floppy disk
    """
................
.kkkkkkkkkkkkkk.
.kttwwwwwwwwttk.
.kttwwwwwwwwttk.
.kttwbbbbbbwttk.
.kttwwwwwwwwttk.
.kttwbbbbbbwttk.
.kttwwwwwwwwttk.
.kttttttttttttk.
.kttttttttttttk.
.kttddddddddttk.
.kttdkkdddddttk.
.kttdkkdddddttk.
.kttdkkdddddttk.
.kkkkkkkkkkkkkk.
................
""",
    # printer
    """
................
....kkkkkkkk....
....kwwwwwwk....
....kwkkkkwk....
....kwwwwwwk....
....kwkkkwwk....
..kkkkkkkkkkkk..
.kwwwwwwwwwwwwk.
.kwwwwwwwwwGGwk.
.kddddddddddddk.
.kdkkkkkkkkkkdk.
.kddddddddddddk.
.kkkkkkkkkkkkkk.
..kwwwwwwwwwwk..
..kkkkkkkkkkkk..
................
""",
    # dotted selection rectangle
    """
................
................
.k.k.k.k.k.k.k..
................
.k...........k..
................
.k...........k..
................
.k...........k..
................
.k...........k..
................
.k.k.k.k.k.k.k..
................
................
................
""",
    # a window
    """
................
................
kkkkkkkkkkkkkkkk
kbbbbbbbbbbbbbbk
kbbbbbbbbbbbbbbk
kkkkkkkkkkkkkkkk
kwwwwwwwwwwwwwwk
kwwwwwwwwwwwwwwk
kwwwwwwwwwwwwwwk
kwwwwwwwwwwwwwwk
kwwwwwwwwwwwwwwk
kwwwwwwwwwwwwwwk
kwwwwwwwwwwwwwwk
kkkkkkkkkkkkkkkk
................
................
""",
    # two overlapping windows
    """
kkkkkkkkkkk.....
kdddddddddk.....
kkkkkkkkkkk.....
kwwwwwwwwwk.....
kwwwwwwwwwk.....
kwwwwkkkkkkkkkkk
kwwwwkbbbbbbbbbk
kwwwwkkkkkkkkkkk
kwwwwkwwwwwwwwwk
kkkkkkwwwwwwwwwk
.....kwwwwwwwwwk
.....kwwwwwwwwwk
.....kwwwwwwwwwk
.....kwwwwwwwwwk
.....kkkkkkkkkkk
................
""",
    # clock in front of a window
    """
kkkkkkkkkkkkk...
kbbbbbbbbbbbk...
kkkkkkkkkkkkk...
kwwwwwwwwwwwk...
kwwwwwwwwwwwk...
kwwwwwwwwwwwk...
kwwwwwwwwwwwk...
kwwwwwwwwkkkkk..
kwwwwwwwkwwwwwk.
kwwwwwwkwwwkwwwk
kkkkkkkkwwwkwwwk
.......kwwwkkkwk
.......kwwwwwwwk
.......kwwwwwwwk
........kwwwwwk.
.........kkkkk..
""",
    # paint palette
    """
................
.....kkkkkk.....
...kkyyyyyykk...
..kyyRRyyyyyyk..
.kyyyRRyyyBByyk.
.kyGGyyyyyBByyk.
kyyGGyyyykkyyyyk
kyyyyyyyk..kyyyk
kyMMyyyyk..kyyyk
kyMMyyyyykkyyyk.
kyyyyyyyyyyyyk..
.kyyyCCyyyYYyk..
.kyyyCCyyyYYk...
..kkyyyyyyyk....
....kkkkkkk.....
................
""",
    # mouse arrow pointer
    """
................
...k............
...kk...........
...kwk..........
...kwwk.........
...kwwwk........
...kwwwwk.......
...kwwwwwk......
...kwwwwwwk.....
...kwwwkkkkk....
...kwwk.........
...kwkwk........
...kk.kwk.......
...k...kwk......
........kk......
................
""",
]


def arrow_rows():
    """The 25x15 arrow of Arrow.cur: 'k' outline, 'w' body, '.' clear."""
    rows = []
    for r in range(14):                       # the head, widening a pixel a row
        rows.append("k" + "w" * (r - 1) + "k" * (r > 0))
    rows.append("k" + "w" * 7 + "k" * 7)      # underside of the head
    for r in range(15, 24):                   # notch on the left, tail on the right
        tail = 4 + (r - 14) // 2
        row = list("." * 15)
        notch = 19 - r                        # closes onto the left edge
        if notch >= 1:
            row[0] = "k"
            for c in range(1, notch):
                row[c] = "w"
            row[notch] = "k"
        elif r == 19:
            row[0] = "k"
        row[tail] = "k"
        row[tail + 1:tail + 4] = "www"
        row[tail + 4] = "k"
        rows.append("".join(row))
    last = 4 + (24 - 14) // 2
    rows.append("." * last + "kkk")
    return [r.ljust(15, ".") for r in rows]


# ---------------------------------------------------------------- encoders

def grid(text, width, height):
    rows = text.strip("\n").split("\n")
    assert len(rows) == height, (len(rows), height)
    for row in rows:
        assert len(row) == width, row
    return rows


def pack4(indices):
    """One scan line at 4 bits a pixel, padded to a 32-bit boundary."""
    data = bytearray()
    for i in range(0, len(indices), 2):
        pair = indices[i:i + 2] + [0]
        data.append(pair[0] << 4 | pair[1])
    return bytes(data) + b"\0" * (-len(data) % 4)


def pack1(bits):
    """One scan line at 1 bit a pixel, padded to a 32-bit boundary."""
    data = bytearray((len(bits) + 7) // 8)
    for i, bit in enumerate(bits):
        if bit:
            data[i // 8] |= 0x80 >> (i % 8)
    return bytes(data) + b"\0" * (-len(data) % 4)


def info_header(width, height, bits, image_size, colours):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0,
                       image_size, 0, 0, colours, 0)


def palette_bytes(colours):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)


def bmp(rows, transparent=SILVER):
    height, width = len(rows), len(rows[0])
    lines = [pack4([transparent if ch == "." else CODES.index(ch) for ch in row])
             for row in reversed(rows)]
    pixels = b"".join(lines)
    offset = 14 + 40 + 16 * 4
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return (head + info_header(width, height, 4, len(pixels), 16)
            + palette_bytes(PALETTE) + pixels)


def dib_with_mask(rows, bits, colours, index_of):
    """Icon/cursor image: header (height doubled), palette, XOR bits, AND mask."""
    size = len(rows)
    pack = pack4 if bits == 4 else pack1
    xor = b"".join(pack([index_of(ch) for ch in row]) for row in reversed(rows))
    mask = b"".join(pack1([ch == "." for ch in row]) for row in reversed(rows))
    return (info_header(size, size * 2, bits, len(xor) + len(mask), 0)
            + palette_bytes(colours) + xor + mask)


def icon_file(kind, images):
    """images: (size, colour count, word1, word2, dib) for each entry.

    For icons word1/word2 are planes and bit count; for cursors, the hot spot.
    """
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, colours, w1, w2, dib in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours % 256, 0,
                           w1, w2, len(dib), offset + len(body))
        body += dib
    return out + body


def ico(*pictures):
    def index_of(ch):
        return 0 if ch == "." else CODES.index(ch)
    entries = []
    for rows in pictures:
        dib = dib_with_mask(rows, 4, PALETTE, index_of)
        entries.append((len(rows), 16, 1, 4, dib))
    return icon_file(1, entries)


def cur(rows, hot_x, hot_y):
    def index_of(ch):
        return 1 if ch == "w" else 0          # white, else black or clear
    dib = dib_with_mask(rows, 1, [(0, 0, 0), (255, 255, 255)], index_of)
    return icon_file(2, [(len(rows), 2, hot_x, hot_y, dib)])


def scaled(rows, size):
    """The picture redrawn at size x size, each pixel taken from the nearest
    source pixel, so the strip keeps its 16 colours and its mask."""
    n = len(rows)
    return ["".join(rows[y * n // size][x * n // size] for x in range(size))
            for y in range(size)]


# ---------------------------------------------------------------- main

def main():
    out_dir = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                           "..", "src", "resources")

    # The toolbar at 16 pixels, and at 24 and 32 for screens of 144 and
    # 192 dpi and more.
    strips = {}
    for size in (16, 24, 32):
        strip = [""] * size
        for picture in TOOLBAR:
            for i, row in enumerate(scaled(grid(picture, 16, 16), size)):
                strip[i] += row
        strips[size] = strip

    arrow = ["." * 32 for _ in range(32)]
    for i, row in enumerate(arrow_rows()):
        arrow[4 + i] = "." * 2 + row + "." * 15

    files = {
        "Tovik.ico": ico(grid(ICON_32, 32, 32), grid(ICON_16, 16, 16)),
        "Toolbar.bmp": bmp(strips[16]),
        "Toolbar24.bmp": bmp(strips[24]),
        "Toolbar32.bmp": bmp(strips[32]),
        "Arrow.cur": cur(arrow, 2, 4),
    }
    for name, data in files.items():
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
