#!/usr/bin/env python3
"""Writes the quad.* picture fixtures: a 32 x 24 picture in four quadrants,
red (top left), green (top right), blue (bottom left) and white (bottom
right), in every format the program reads. GraphicsMagick (gm) and
ImageMagick (convert) write the formats they can; the metafiles, the RLA,
the Dr. Halo and the grey-with-alpha Targa files are written here from the
formats' public descriptions."""

import os
import shutil
import struct
import subprocess
import sys

W, H = 32, 24
RED, GREEN, BLUE, WHITE = (255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255)


def colour(x, y):
    if y < H // 2:
        return RED if x < W // 2 else GREEN
    return BLUE if x < W // 2 else WHITE


def grey(c):
    return round(0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2])


def gm(*args):
    subprocess.run(["gm", "convert", *args], check=True)


def im(*args):
    subprocess.run(["convert", *args], check=True)


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


def copies(source, *names):
    for name in names:
        shutil.copyfile(source, name)


def source():
    pixels = bytes(v for y in range(H) for x in range(W) for v in colour(x, y))
    write("src.ppm", b"P6\n%d %d\n255\n" % (W, H) + pixels)
    bilevel = bytes(0 if colour(x, y) in (RED, BLUE) else 255 for y in range(H) for x in range(W))
    write("src_bw.pgm", b"P5\n%d %d\n255\n" % (W, H) + bilevel)


def targa_grey_alpha(name, run_length):
    # Grey with alpha, 16 bits a pixel, rows bottom up; the right half is
    # half transparent.
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, 11 if run_length else 3, 0, 0, 0, 0, 0, W, H, 16, 8)
    body = bytearray()
    for y in reversed(range(H)):
        row = [(grey(colour(x, y)), 255 if x < W // 2 else 128) for x in range(W)]
        if run_length:
            for start in range(0, W, 8):
                run = row[start:start + 8]
                if all(p == run[0] for p in run):
                    body += bytes([0x80 | (len(run) - 1), *run[0]])
                else:
                    body += bytes([len(run) - 1]) + bytes(v for p in run for v in p)
        else:
            body += bytes(v for p in row for v in p)
    write(name, header + bytes(body))


def rla(name):
    # One 8-bit RGB picture, no matte; scanlines bottom up, each channel
    # run-length coded (a count byte below 0x80 repeats the next byte
    # count + 1 times).
    header = bytearray(740)
    struct.pack_into(">hhhhhhhhhhhhh", header, 0, 0, W - 1, 0, H - 1, 0, W - 1, 0, H - 1, 0, 0, 3, 0, 0)
    struct.pack_into(">h", header, 26, -2)
    header[580:583] = b"rgb"
    struct.pack_into(">hhhhh", header, 658, 8, 0, 0, 0, 0)
    lines = []
    for y in reversed(range(H)):
        line = bytearray()
        for c in range(3):
            data = bytearray()
            for x0 in (0, W // 2):
                data += bytes([W // 2 - 1, colour(x0, y)[c]])
            line += struct.pack(">H", len(data)) + data
        lines.append(bytes(line))
    offsets, at = [], 740 + 4 * H
    for line in lines:
        offsets.append(at)
        at += len(line)
    write(name, bytes(header) + struct.pack(">%di" % H, *offsets) + b"".join(lines))


def cut(name):
    # Dr. Halo: each line a byte count, then runs (a count byte with the top
    # bit set repeats the next byte), then a zero byte; no palette file, so
    # the indices show as grey levels.
    body = bytearray(struct.pack("<HHH", W, H, 0))
    for y in range(H):
        line = bytearray()
        for x0 in (0, W // 2):
            line += bytes([0x80 | (W // 2), grey(colour(x0, y))])
        line += b"\0"
        body += struct.pack("<H", len(line)) + line
    write(name, bytes(body))


def wmf(name):
    # A placeable metafile, 1440 units an inch, 640 x 480 units (32 x 24
    # pixels at 72 dpi), filled by four rectangles without outline.
    records = []

    def record(function, *words):
        records.append(struct.pack("<IH", 3 + len(words), function) + struct.pack("<%dH" % len(words), *words))

    record(0x020B, 0, 0)  # SetWindowOrg(y, x)
    record(0x020C, 480, 640)  # SetWindowExt(y, x)
    handles = 0
    for x0, y0 in ((0, 0), (320, 0), (0, 240), (320, 240)):
        r, g, b = colour(x0 // 20, y0 // 20)
        record(0x02FC, 0, g << 8 | r, b, 0)  # CreateBrushIndirect(solid, colour)
        record(0x012D, handles)  # SelectObject
        record(0x02FA, 5, 0, 0, 0, 0)  # CreatePenIndirect(null pen)
        record(0x012D, handles + 1)
        record(0x041B, y0 + 240, x0 + 320, y0, x0)  # Rectangle(bottom, right, top, left)
        record(0x01F0, handles)  # DeleteObject
        record(0x01F0, handles + 1)
    records.append(struct.pack("<IH", 3, 0))
    body = b"".join(records)
    largest = max(len(r) for r in records) // 2
    meta = struct.pack("<HHHIHIH", 1, 9, 0x0300, (18 + len(body)) // 2, 2, largest, 0)
    placeable = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, 0, 0, 640, 480, 1440, 0)
    checksum = 0
    for (word,) in struct.iter_unpack("<H", placeable[:20]):
        checksum ^= word
    write(name, placeable[:20] + struct.pack("<H", checksum) + meta + body)


def emf(name):
    # Bounds 0,0 - 32,24 device pixels; four filled rectangles.
    records = []

    def record(kind, payload):
        records.append(struct.pack("<II", kind, 8 + len(payload)) + payload)

    for handle, (x0, y0) in enumerate(((0, 0), (16, 0), (0, 12), (16, 12)), start=1):
        r, g, b = colour(x0, y0)
        record(39, struct.pack("<IIII", handle, 0, b << 16 | g << 8 | r, 0))  # CreateBrushIndirect
        record(37, struct.pack("<I", handle))  # SelectObject
        record(37, struct.pack("<I", 0x80000008))  # SelectObject(NULL_PEN)
        record(43, struct.pack("<iiii", x0, y0, x0 + 16, y0 + 12))  # Rectangle
    record(14, struct.pack("<III", 0, 16, 20))  # EOF
    body = b"".join(records)
    header = struct.pack("<II4i4iIIIIHHIII2i2i", 1, 88, 0, 0, W, H, 0, 0, 847, 635,
                         0x464D4520, 0x10000, 88 + len(body), len(records) + 1, 5, 0, 0, 0, 0,
                         1024, 768, 271, 203)
    write(name, header + body)


def main():
    os.chdir(os.path.dirname(os.path.abspath(sys.argv[0])))
    source()
    gm("src.ppm", "BMP3:quad.bmp")
    im("src.ppm", "-type", "Palette", "-compress", "RLE", "BMP3:quad.rle")
    gm("src.ppm", "DIB:quad.dib")
    im("src.ppm", "ICO:quad.ico")
    gm("src.ppm", "-quality", "95", "JPEG:quad.jpg")
    copies("quad.jpg", "quad.jfif", "quad.jpe", "quad.jpeg")
    im("src.ppm", "-colorspace", "CMYK", "-quality", "95", "JPEG:quad_cmyk.jpg")
    gm("src.ppm", "-compress", "None", "TGA:quad.tga")
    copies("quad.tga", "quad.win", "quad.vst", "quad.vda", "quad.icb")
    gm("src.ppm", "-compress", "RLE", "TGA:quad_rle.tga")
    targa_grey_alpha("quad_la.tga", False)
    targa_grey_alpha("quad_la_rle.tga", True)
    gm("src.ppm", "-compress", "LZW", "TIFF:quad.tif")
    copies("quad.tif", "quad.tiff")
    gm("src_bw.pgm", "-monochrome", "-compress", "Group4", "TIFF:quad.fax")
    gm("src.ppm", "EPS:quad.eps")
    gm("src.ppm", "-type", "Palette", "PCX:quad.pcx")
    copies("quad.pcx", "quad.pcc", "quad.scr")
    rla("quad.rla")
    copies("quad.rla", "quad.rpf")
    gm("src.ppm", "SGI:quad.sgi")
    copies("quad.sgi", "quad.rgb")
    gm("src.ppm", "-matte", "SGI:quad.rgba")
    gm("src.ppm", "-colorspace", "Gray", "SGI:quad.bw")
    gm("src.ppm", "PPM:quad.ppm")
    gm("src.ppm", "-colorspace", "Gray", "PGM:quad.pgm")
    gm("src_bw.pgm", "PBM:quad.pbm")
    gm("src.ppm", "-filter", "Point", "-resize", "768x512!", "PCD:quad.pcd")
    cut("quad.cut")
    gm("src.ppm", "PNG:quad.png")
    wmf("quad.wmf")
    emf("quad.emf")
    os.remove("src.ppm")
    os.remove("src_bw.pgm")


main()
