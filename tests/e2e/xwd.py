"""Pixels of an xwd window dump, the end-to-end test's screenshots."""
import struct


class Dump:
    def __init__(self, path):
        data = open(path, 'rb').read()
        hsize, _, _, _, self.w, self.h = struct.unpack('>6I', data[:24])
        self.order = struct.unpack('>I', data[28:32])[0]  # 0: least significant byte first
        self.bpp = struct.unpack('>I', data[44:48])[0]
        self.bpl = struct.unpack('>I', data[48:52])[0]
        ncolors = struct.unpack('>I', data[76:80])[0]
        self.pix = hsize + ncolors * 12
        self.data = data

    def rgb(self, x, y):
        """(r, g, b) of the pixel at (x, y), or None outside the dump."""
        if not (0 <= x < self.w and 0 <= y < self.h):
            return None
        if self.bpp < 24:  # a depth the test never asks Xvfb for: reads as black
            return 0, 0, 0
        o = self.pix + y * self.bpl + x * (self.bpp // 8)
        v = int.from_bytes(self.data[o:o + 3], 'little' if self.order == 0 else 'big')
        return (v >> 16) & 255, (v >> 8) & 255, v & 255
