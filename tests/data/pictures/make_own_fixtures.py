#!/usr/bin/env python3
"""Writes the small Photoshop, Paint Shop Pro and Animator pictures that the
tests of the program's own decoders read (own_decoders_test.cpp).

Every picture is drawn from a few simple patterns, so that the tests can name
the colour of any pixel. Run it from any folder; it writes next to itself.
"""

import struct
import zlib
from pathlib import Path

HERE = Path(__file__).resolve().parent


def u8(v): return struct.pack('<B', v)
def u16(v): return struct.pack('<H', v)
def u32(v): return struct.pack('<I', v)
def i32(v): return struct.pack('<i', v)
def be16(v): return struct.pack('>H', v)
def be32(v): return struct.pack('>I', v)


def rgb(x, y):
    """The colour pattern of the RGB pictures."""
    return (10 + 40 * x, 20 + 80 * y, 250 - 50 * x - 20 * y)


def plane(width, height, f):
    return [[f(x, y) for x in range(width)] for y in range(height)]


def colour_planes(width, height, colour):
    return [plane(width, height, lambda x, y, c=c: colour(x, y)[c]) for c in range(3)]


# ---------------------------------------------------------------- Photoshop

def packbits(row):
    out = bytearray()
    i = 0
    while i < len(row):
        run = 1
        while i + run < len(row) and run < 128 and row[i + run] == row[i]:
            run += 1
        if run >= 2:
            out += bytes([257 - run, row[i]])
            i += run
            continue
        start = i
        while i < len(row) and i - start < 128 and (i + 1 >= len(row) or row[i + 1] != row[i]):
            i += 1
        out += bytes([i - start - 1]) + bytes(row[start:i])
    return bytes(out)


def psd(mode, depth, planes, width, height, packed=False, palette=b'', resources=b'', layers=b''):
    """planes: one list of rows per channel, each row a bytes object."""
    out = b'8BPS' + be16(1) + bytes(6) + be16(len(planes)) + be32(height) + be32(width)
    out += be16(depth) + be16(mode)
    out += be32(len(palette)) + palette + be32(len(resources)) + resources + be32(len(layers)) + layers
    rows = [row for channel in planes for row in channel]
    if packed:
        packed_rows = [packbits(row) for row in rows]
        out += be16(1) + b''.join(be16(len(r)) for r in packed_rows) + b''.join(packed_rows)
    else:
        out += be16(0) + b''.join(rows)
    return out


def byte_rows(p):
    return [bytes(row) for row in p]


def write_psd_fixtures():
    w, h = 5, 3
    colour = [byte_rows(p) for p in colour_planes(w, h, rgb)]
    alpha = byte_rows(plane(w, h, lambda x, y: 100 * y))
    resources = b'8BIM' + be16(1005) + bytes(2) + be32(4) + bytes(4)
    (HERE / 'sample.psd').write_bytes(psd(3, 8, colour + [alpha], w, h, resources=resources, layers=bytes(8)))
    (HERE / 'sample_rle.psd').write_bytes(psd(3, 8, colour, w, h, packed=True))

    grey16 = [[b''.join(be16(x * 0x3000 + y * 0x1000 + 0xFF) for x in range(w)) for y in range(h)]]
    (HERE / 'sample.pdd').write_bytes(psd(1, 16, grey16, w, h))

    # Stored inverted: 255 is no ink. White, cyan; half black, magenta on half black.
    cmyk = [[bytes([255, 0]), bytes([255, 255])],
            [bytes([255, 255]), bytes([255, 0])],
            [bytes([255, 255]), bytes([255, 255])],
            [bytes([255, 255]), bytes([128, 128])]]
    (HERE / 'sample_cmyk.psd').write_bytes(psd(4, 8, cmyk, 2, 2, packed=True))

    palette = bytes(range(256)) + bytes(255 - i for i in range(256)) + bytes(i * 7 % 256 for i in range(256))
    indices = [[bytes([0, 5, 255]), bytes([7, 1, 2])]]
    (HERE / 'sample_indexed.psd').write_bytes(psd(2, 8, indices, 3, 2, palette=palette))

    bits = [[bytes([0b10000000, 0b01000000]), bytes([0xFF, 0xC0])]]
    (HERE / 'sample_bitmap.psd').write_bytes(psd(0, 1, bits, 10, 2, packed=True))


# ------------------------------------------------------------ Paint Shop Pro

PSP_SIGNATURE = b'Paint Shop Pro Image File\n\x1a'.ljust(32, b'\0')


class Psp:
    """Blocks in the old layout (version 3: initial chunk length in every
    block header) or the new one (chunks carry their own length)."""

    def __init__(self, old):
        self.old = old

    def block(self, block_id, fields=None, rest=b''):
        if self.old:
            chunk = fields or b''
            return b'~BK\0' + u16(block_id) + u32(len(chunk)) + u32(len(chunk) + len(rest)) + chunk + rest
        chunk = b'' if fields is None else u32(len(fields) + 4) + fields
        return b'~BK\0' + u16(block_id) + u32(len(chunk) + len(rest)) + chunk + rest

    def chunk(self, fields):
        return fields if self.old else u32(len(fields) + 4) + fields


def psp_rle(data):
    out = bytearray()
    i = 0
    while i < len(data):
        run = 1
        while i + run < len(data) and run < 127 and data[i + run] == data[i]:
            run += 1
        if run >= 3:
            out += bytes([128 + run, data[i]])
            i += run
            continue
        start = i
        while i < len(data) and i - start < 128 and not (i + 2 < len(data) and data[i] == data[i + 1] == data[i + 2]):
            i += 1
        out += bytes([i - start]) + bytes(data[start:i])
    return bytes(out)


def psp_channel(f, rows, bits, compression, channel_type, bitmap_type=0, padded=True):
    """rows: lists of samples (palette indices or 8-bit values)."""
    data = bytearray()
    for row in rows:
        if bits == 8:
            line = bytes(row)
        else:
            per_byte = 8 // bits
            line = bytes(sum(v << (8 - bits * (k + 1)) for k, v in enumerate(row[i:i + per_byte]))
                         for i in range(0, len(row), per_byte))
        if padded:
            line += bytes(-len(line) % 4)
        data += line
    stored = {0: bytes(data), 1: psp_rle(data), 2: zlib.compress(bytes(data))}[compression]
    fields = u32(len(stored)) + u32(len(data)) + u16(bitmap_type) + u16(channel_type)
    return f.block(5, fields, stored)


def psp_attributes(f, width, height, compression, depth, version):
    fields = i32(width) + i32(height) + struct.pack('<d', 72.0) + u8(1) + u16(compression) + u16(depth)
    fields += u16(1) + u32(0 if depth == 24 else 1 << depth) + u8(0) + u32(0) + i32(0) + u16(1)
    if version >= 4:
        fields += u32(1)  # graphic contents: raster layers
    return f.block(0, fields)


def psp_layer(f, name, image_rect, saved_rect, channels):
    name_field = name.ljust(256, b'\0') if f.old else u16(len(name)) + name
    fields = name_field + u8(0 if f.old else 1) + b''.join(i32(v) for v in image_rect + saved_rect)
    fields += bytes([255, 0, 1, 0, 0]) + b''.join(i32(v) for v in image_rect + image_rect)
    fields += bytes(3) + u16(5) + bytes(40)
    counts = u16(1) + u16(len(channels))
    if f.old:
        return f.block(4, fields + counts, b''.join(channels))
    return f.block(4, fields, f.chunk(counts) + b''.join(channels))


def psp_palette(f, colours):
    entries = b''.join(bytes([b, g, r, 0]) for r, g, b in colours)
    return f.block(2, u32(len(colours)), entries)


def psp_file(version, blocks):
    return PSP_SIGNATURE + u16(version) + u16(0) + b''.join(blocks)


def rgb_channels(f, width, height, compression, colour, order=(1, 2, 3), bitmap_type=0, padded=True):
    planes = colour_planes(width, height, colour)
    return [psp_channel(f, planes[t - 1], 8, compression, t, bitmap_type, padded) for t in order]


def write_psp_fixtures():
    w, h = 5, 3

    # Version 5, raw, one layer over the whole canvas, channels stored blue
    # first, rows unpadded; a creator block to step over.
    f = Psp(old=False)
    creator = f.block(1, None, u16(0) + u32(4) + b'Test')
    layer = psp_layer(f, b'Background', [0, 0, w, h], [0, 0, w, h],
                      rgb_channels(f, w, h, 0, rgb, order=(3, 2, 1), padded=False))
    (HERE / 'sample.psp').write_bytes(psp_file(5, [psp_attributes(f, w, h, 0, 24, 5), creator,
                                                   f.block(3, None, layer)]))

    # Version 6, run-length, a 3 x 2 layer placed at (1, 1), padded rows and
    # a transparency mask channel.
    mask = psp_channel(f, [[255] * 3] * 2, 8, 1, 0, bitmap_type=1)
    layer = psp_layer(f, b'Small', [1, 1, 4, 3], [0, 0, 3, 2], [mask] + rgb_channels(f, 3, 2, 1, rgb))
    (HERE / 'sample_rle.psp').write_bytes(psp_file(6, [psp_attributes(f, w, h, 1, 24, 6),
                                                       f.block(3, None, layer)]))

    # Version 7, LZ77, a layer and a composite bank with a JPEG thumbnail and
    # a composite image in the inverse colours, so that a test tells which is shown.
    def inverse(x, y): return tuple(255 - v for v in rgb(x, y))
    layer = psp_layer(f, b'Layer', [0, 0, w, h], [0, 0, w, h], rgb_channels(f, w, h, 2, rgb))
    thumbnail_attributes = f.block(17, i32(2) + i32(1) + u16(24) + u16(3) + u16(1) + u32(0) + u16(1))
    thumbnail = f.block(18, u32(4) + u32(6) + u16(0), b'\xff\xd8\xff\xd9')
    composite_attributes = f.block(17, i32(w) + i32(h) + u16(24) + u16(2) + u16(1) + u32(0) + u16(0))
    composite = f.block(9, u16(1) + u16(3), b''.join(rgb_channels(f, w, h, 2, inverse, bitmap_type=8)))
    bank = f.block(16, u32(2), thumbnail_attributes + composite_attributes + thumbnail + composite)
    (HERE / 'sample_lz77.psp').write_bytes(psp_file(7, [psp_attributes(f, w, h, 2, 24, 7),
                                                        f.block(3, None, layer), bank]))

    # Version 3 (old layout), 8-bit palette, raw, rows padded to 8 bytes.
    f = Psp(old=True)
    colours = [(i * 7 % 256, 255 - i, i) for i in range(256)]
    indices = plane(w, h, lambda x, y: x * 50 + y * 3)
    layer = psp_layer(f, b'Background', [0, 0, w, h], [0, 0, w, h], [psp_channel(f, indices, 8, 0, 0)])
    (HERE / 'sample_v3.psp').write_bytes(psp_file(3, [psp_attributes(f, w, h, 0, 8, 3), psp_palette(f, colours),
                                                      f.block(3, None, layer)]))

    # Version 4 written in the old layout, 4-bit palette, run-length.
    colours = [(i * 16, 255 - i * 16, 100) for i in range(16)]
    indices = plane(w, h, lambda x, y: (x + y * 5) % 16)
    layer = psp_layer(f, b'Background', [0, 0, w, h], [0, 0, w, h], [psp_channel(f, indices, 4, 1, 0)])
    (HERE / 'sample_v4.psp').write_bytes(psp_file(4, [psp_attributes(f, w, h, 1, 4, 4), psp_palette(f, colours),
                                                      f.block(3, None, layer)]))


# ------------------------------------------------------------------ Animator

def animator_palette_entry(i):
    return (i % 64, (i * 3) % 64, 63 - i % 64)


def chunk(chunk_type, data):
    return u32(len(data) + 6) + u16(chunk_type) + data


def brun_row(row):
    """Byte runs of a flic: a positive count repeats a byte, a negative one copies."""
    out = bytearray([0])
    i = 0
    while i < len(row):
        run = 1
        while i + run < len(row) and run < 127 and row[i + run] == row[i]:
            run += 1
        if run >= 2:
            out += bytes([run, row[i]])
            i += run
            continue
        start = i
        while i < len(row) and i - start < 127 and (i + 1 >= len(row) or row[i + 1] != row[i]):
            i += 1
        out += struct.pack('<b', start - i) + bytes(row[start:i])
    return bytes(out)


def flic(mark, width, height, frame_chunks, prefix=b''):
    frame = u32(16 + sum(len(c) for c in frame_chunks)) + u16(0xF1FA) + u16(len(frame_chunks))
    frame += u16(0) + u16(0) + u16(0) + u16(0) + b''.join(frame_chunks)
    body = prefix + frame
    header = u32(128 + len(body)) + u16(mark) + u16(1) + u16(width) + u16(height) + u16(8)
    return header.ljust(128, b'\0') + body


def write_animator_fixtures():
    w, h = 5, 3
    indices = plane(w, h, lambda x, y: x * 40 + y * 7)
    pixels = b''.join(bytes(row) for row in indices)

    palette = b''.join(bytes(animator_palette_entry(i)) for i in range(256))
    header = u16(0x9119) + u16(w) + u16(h) + u16(10) + u16(20) + u8(8) + u8(0) + u32(w * h)
    (HERE / 'sample.cel').write_bytes(header.ljust(32, b'\0') + palette + pixels)

    palette = u16(0) + b''.join(bytes([i, 255 - i, i // 2]) for i in range(256))
    chunks = chunk(0, palette) + chunk(99, b'spare') + chunk(1, pixels)
    header = u32(64 + len(chunks)) + u16(0x9500) + u16(w) + u16(h) + u16(0) + u16(0) + u32(0) + u8(8)
    (HERE / 'sample.pic').write_bytes(header.ljust(64, b'\0') + chunks)

    colours = u16(1) + u8(0) + u8(0) + b''.join(bytes([255 - i, i, i // 4]) for i in range(256))
    runs = b''.join(brun_row(row) for row in plane(w, h, lambda x, y: [9, 9, 9, 200, 17][x] + y))
    stamp = chunk(18, bytes(10))
    prefix = chunk(0xF100, u16(1) + bytes(4) + chunk(3, u16(10) + u16(20) + bytes(12)))
    (HERE / 'sample_flc.cel').write_bytes(flic(0xAF12, w, h, [stamp, chunk(4, colours), chunk(15, runs)], prefix))

    colours = u16(2) + u8(0) + u8(2) + bytes([63, 0, 0, 0, 63, 0]) + u8(3) + u8(1) + bytes([0, 0, 63])
    copy = bytes([0, 1, 5, 1, 1, 0, 0, 5])
    (HERE / 'sample_fli.cel').write_bytes(flic(0xAF11, 4, 2, [chunk(11, colours), chunk(16, copy)]))


if __name__ == '__main__':
    write_psd_fixtures()
    write_psp_fixtures()
    write_animator_fixtures()
