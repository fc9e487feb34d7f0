"""A tiny painter for the demo collection's bitmap documents: a 16-colour
canvas with rectangles, lines and a 5x7 pixel font, saved as an uncompressed
4-bit Windows bitmap (BMP with its file header), which keeps each picture
small."""

import struct

PALETTE = [
    (255, 255, 255),  # 0 white
    (0, 0, 0),        # 1 black
    (31, 56, 100),    # 2 dark blue
    (89, 89, 89),     # 3 grey
    (200, 200, 200),  # 4 light grey
    (221, 231, 242),  # 5 light blue
    (68, 114, 196),   # 6 blue
    (237, 125, 49),   # 7 orange
    (112, 173, 71),   # 8 green
    (255, 192, 0),    # 9 yellow
    (165, 42, 42),    # 10 brown red
    (190, 220, 160),  # 11 pale green
    (245, 222, 179),  # 12 wheat
    (176, 196, 222),  # 13 steel blue
    (240, 180, 150),  # 14 salmon
    (250, 250, 235),  # 15 paper
]

GLYPH_WIDTH = 5
GLYPH_HEIGHT = 7
ACCENT_ROWS = 2  # accents sit above the capital

GLYPHS = {
    "A": ".###.|#...#|#...#|#####|#...#|#...#|#...#",
    "B": "####.|#...#|#...#|####.|#...#|#...#|####.",
    "C": ".###.|#...#|#....|#....|#....|#...#|.###.",
    "D": "###..|#..#.|#...#|#...#|#...#|#..#.|###..",
    "E": "#####|#....|#....|####.|#....|#....|#####",
    "F": "#####|#....|#....|####.|#....|#....|#....",
    "G": ".###.|#...#|#....|#.###|#...#|#...#|.####",
    "H": "#...#|#...#|#...#|#####|#...#|#...#|#...#",
    "I": ".###.|..#..|..#..|..#..|..#..|..#..|.###.",
    "J": "..###|...#.|...#.|...#.|...#.|#..#.|.##..",
    "K": "#...#|#..#.|#.#..|##...|#.#..|#..#.|#...#",
    "L": "#....|#....|#....|#....|#....|#....|#####",
    "M": "#...#|##.##|#.#.#|#.#.#|#...#|#...#|#...#",
    "N": "#...#|#...#|##..#|#.#.#|#..##|#...#|#...#",
    "O": ".###.|#...#|#...#|#...#|#...#|#...#|.###.",
    "P": "####.|#...#|#...#|####.|#....|#....|#....",
    "Q": ".###.|#...#|#...#|#...#|#.#.#|#..#.|.##.#",
    "R": "####.|#...#|#...#|####.|#.#..|#..#.|#...#",
    "S": ".####|#....|#....|.###.|....#|....#|####.",
    "T": "#####|..#..|..#..|..#..|..#..|..#..|..#..",
    "U": "#...#|#...#|#...#|#...#|#...#|#...#|.###.",
    "V": "#...#|#...#|#...#|#...#|#...#|.#.#.|..#..",
    "W": "#...#|#...#|#...#|#.#.#|#.#.#|#.#.#|.#.#.",
    "X": "#...#|#...#|.#.#.|..#..|.#.#.|#...#|#...#",
    "Y": "#...#|#...#|.#.#.|..#..|..#..|..#..|..#..",
    "Z": "#####|....#|...#.|..#..|.#...|#....|#####",
    "0": ".###.|#...#|#..##|#.#.#|##..#|#...#|.###.",
    "1": "..#..|.##..|..#..|..#..|..#..|..#..|.###.",
    "2": ".###.|#...#|....#|...#.|..#..|.#...|#####",
    "3": "#####|...#.|..#..|...#.|....#|#...#|.###.",
    "4": "...#.|..##.|.#.#.|#..#.|#####|...#.|...#.",
    "5": "#####|#....|####.|....#|....#|#...#|.###.",
    "6": "..##.|.#...|#....|####.|#...#|#...#|.###.",
    "7": "#####|....#|...#.|..#..|.#...|.#...|.#...",
    "8": ".###.|#...#|#...#|.###.|#...#|#...#|.###.",
    "9": ".###.|#...#|#...#|.####|....#|...#.|.##..",
    "-": ".....|.....|.....|.###.|.....|.....|.....",
    "/": ".....|....#|...#.|..#..|.#...|#....|.....",
    ":": ".....|..#..|.....|.....|.....|..#..|.....",
    ".": ".....|.....|.....|.....|.....|.....|..#..",
    ",": ".....|.....|.....|.....|.....|..#..|.#...",
    "%": "##..#|##.#.|...#.|..#..|.#...|.#.##|#..##",
    "(": "...#.|..#..|.#...|.#...|.#...|..#..|...#.",
    ")": ".#...|..#..|...#.|...#.|...#.|..#..|.#...",
    "$": "..#..|.####|#.#..|.###.|..#.#|####.|..#..",
    " ": ".....|.....|.....|.....|.....|.....|.....",
}
# Accented capitals: the base letter and the mark drawn in the two rows above it.
ACCENTS = {"~": ".##.#|#.##.", "'": "...#.|..#..", "^": "..#..|.#.#."}
ACCENTED = {"Ã": ("A", "~"), "Õ": ("O", "~"), "Á": ("A", "'"), "É": ("E", "'"),
            "Í": ("I", "'"), "Ó": ("O", "'"), "Ú": ("U", "'"), "Ê": ("E", "^"), "Ô": ("O", "^")}
CEDILLA = ".....|..#..|.##.."  # below the C of Ç


class Canvas:
    def __init__(self, width, height, background=0):
        self.width = width
        self.height = height
        self.pixels = [[background] * width for _ in range(height)]

    def dot(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill(self, left, top, right, bottom, colour):
        for y in range(max(top, 0), min(bottom, self.height)):
            row = self.pixels[y]
            for x in range(max(left, 0), min(right, self.width)):
                row[x] = colour

    def frame(self, left, top, right, bottom, colour, thickness=1):
        self.fill(left, top, right, top + thickness, colour)
        self.fill(left, bottom - thickness, right, bottom, colour)
        self.fill(left, top, left + thickness, bottom, colour)
        self.fill(right - thickness, top, right, bottom, colour)

    def hline(self, left, right, y, colour, dash=0):
        for x in range(left, right):
            if dash == 0 or (x // dash) % 2 == 0:
                self.dot(x, y, colour)

    def _pattern(self, pattern, x, y, scale, colour):
        for row, bits in enumerate(pattern.split("|")):
            for column, bit in enumerate(bits):
                if bit == "#":
                    self.fill(x + column * scale, y + row * scale,
                              x + (column + 1) * scale, y + (row + 1) * scale, colour)

    def text(self, x, y, text, colour=1, scale=1):
        """Draws capitals, digits and a few signs; `y` is the top of the capitals."""
        for ch in text.upper():
            if ch in ACCENTED:
                base, mark = ACCENTED[ch]
                self._pattern(ACCENTS[mark], x, y - ACCENT_ROWS * scale - scale, scale, colour)
                ch = base
            if ch == "Ç":
                self._pattern(CEDILLA, x, y + (GLYPH_HEIGHT - 1) * scale, scale, colour)
                ch = "C"
            self._pattern(GLYPHS[ch], x, y, scale, colour)
            x += (GLYPH_WIDTH + 1) * scale
        return x

    @staticmethod
    def text_width(text, scale=1):
        return len(text) * (GLYPH_WIDTH + 1) * scale - scale

    def save_bmp(self, path):
        """Bottom-up rows of two pixels a byte, each row padded to 4 bytes."""
        row_bytes = ((self.width + 1) // 2 + 3) // 4 * 4
        data = bytearray()
        for y in range(self.height - 1, -1, -1):
            row = self.pixels[y] + [0]
            packed = bytearray((row[x] << 4) | row[x + 1] for x in range(0, self.width, 2))
            data += packed + bytes(row_bytes - len(packed))
        palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 4, 0, len(data),
                           2835, 2835, len(PALETTE), 0)
        offset = 14 + len(info) + len(palette)
        header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
        with open(path, "wb") as out:
            out.write(header + info + palette + data)
