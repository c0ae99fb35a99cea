#!/usr/bin/env python3
"""Builds the piano's embedded resources in resources/.

    python3 tools/make-resources.py            write resources/{tune.mid,score.gif,icon.ico,title.bin}
    python3 tools/make-resources.py --check    rebuild in memory and compare with the files on disk

Python 3 standard library only. The score picture is drawn by ImageMagick's `convert` with the
WenQuanYi Micro Hei font; everything else, including the GIF and ICO encoders, is written here so
that the bytes depend on nothing but this script (and, for the score's pixels, the font renderer).
"""

import argparse
import os
import struct
import subprocess
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT_DIR = os.path.join(ROOT, "resources")
FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"

# Shown as the window caption while an accompaniment plays, so it names the program, not the tune.
TITLE_TEXT = "电脑钢琴 - 用键盘弹奏"

# ---------------------------------------------------------------------------------------------
# The keyboard: which computer key sounds which MIDI note. Built the way the program builds its
# keys: for every white key the black key to its right (if any) is made first and takes the next
# note number, so the black key "A" sounds 48 and the white key "Z" 49.

WHITE_TAGS = "ZXCVBNMSDFGHJKERTYUIO"
BLACK_TAGS = "AQW1234567890PL"
BLACK_KEY_FLAGS = [1, 1, 1, 0, 1, 1, 0] * 3


def key_for_note():
    keys = {}
    note, black = 48, 0
    for k in range(21):
        if BLACK_KEY_FLAGS[k]:
            keys[note] = BLACK_TAGS[black]
            black += 1
            note += 1
        keys[note] = WHITE_TAGS[k]
        note += 1
    assert note == 84 and black == 15
    return keys


KEYS = key_for_note()

# ---------------------------------------------------------------------------------------------
# The melody: the theme of the last movement of L. van Beethoven's Ninth Symphony (1824), the
# "Ode to Joy" (欢乐颂), public domain. Each note is (scale degree, octave shift, length in
# quarter notes); every bar holds four quarters.
#
# The tune is in C-sharp major with degree 1 = MIDI 61. On this keyboard the white keys happen to
# sound C#, D#, F, F#, G#, A#, B, so degrees 1 to 6 of C-sharp major lie exactly under the white
# keys whose numbered labels show those digits: a player reads a digit in the score and presses the
# white key marked with it. The melody uses only degrees 1 to 5 (61 to 68, and 56 for the low 5).

TONIC = 61
KEY_NAME = "1=♯C"
DEGREE_SEMITONES = {1: 0, 2: 2, 3: 4, 4: 5, 5: 7, 6: 9, 7: 11}

A1 = [(3, 0, 1), (3, 0, 1), (4, 0, 1), (5, 0, 1)]
A2 = [(5, 0, 1), (4, 0, 1), (3, 0, 1), (2, 0, 1)]
A3 = [(1, 0, 1), (1, 0, 1), (2, 0, 1), (3, 0, 1)]
A4_OPEN = [(3, 0, 1.5), (2, 0, 0.5), (2, 0, 2)]
A4_CLOSED = [(2, 0, 1.5), (1, 0, 0.5), (1, 0, 2)]
B1 = [(2, 0, 1), (2, 0, 1), (3, 0, 1), (1, 0, 1)]
B2 = [(2, 0, 1), (3, 0, 0.5), (4, 0, 0.5), (3, 0, 1), (1, 0, 1)]
B3 = [(2, 0, 1), (3, 0, 0.5), (4, 0, 0.5), (3, 0, 1), (2, 0, 1)]
B4 = [(1, 0, 1), (2, 0, 1), (5, -1, 2)]

MELODY = [A1, A2, A3, A4_OPEN,
          A1, A2, A3, A4_CLOSED,
          B1, B2, B3, B4,
          A1, A2, A3, A4_CLOSED]

# Harmony, two chords a bar: (root in semitones above the tonic, chord intervals). The chord
# changes on the half bar so that the melody's strong beats are chord tones: the 4 of bar 1 falls
# on IV, the 5 4 of bar 2 on V7, and the phrase before the return runs vi, II7, V.
I, IV, VI = (0, (0, 4, 7)), (5, (0, 4, 7)), (9, (0, 3, 7))
V, V7, II7 = (7, (0, 4, 7)), (7, (0, 4, 7, 10)), (2, (0, 4, 7, 10))
HARMONY = [[I, IV], [V7, I], [I, V], [I, V],
           [I, IV], [V7, I], [I, V], [V, I],
           [V, I], [V7, I], [V7, VI], [II7, V],
           [I, IV], [V7, I], [I, V], [V, I]]
INTRO = [[I, I], [IV, IV], [I, I], [V7, V7]]
VERSES = 3


def melody_note(degree, octave):
    return TONIC + DEGREE_SEMITONES[degree] + 12 * octave


for bar in MELODY:
    assert sum(length for _, _, length in bar) == 4
    for degree, octave, _ in bar:
        assert 48 <= melody_note(degree, octave) <= 83

# ---------------------------------------------------------------------------------------------
# Standard MIDI File


def var_len(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def track_chunk(events, end_tick):
    """events: (tick, order, bytes); order breaks ties so that note-offs precede note-ons."""
    data = bytearray()
    now = 0
    running = None
    for tick, _, message in sorted(events, key=lambda e: (e[0], e[1], e[2])):
        data += var_len(tick - now)
        now = tick
        status = message[0]
        if status < 0xF0 and status == running:
            data += message[1:]
        else:
            data += message
            running = status if status < 0xF0 else None
    assert end_tick >= now
    data += var_len(end_tick - now) + b"\xFF\x2F\x00"
    return b"MTrk" + struct.pack(">I", len(data)) + data


def meta(kind, payload):
    return bytes([0xFF, kind]) + var_len(len(payload)) + payload


PPQ = 480
BAR = 4 * PPQ
TEMPO_BPM = 104


class Channel:
    def __init__(self, channel, program, volume, pan, reverb=40, chorus=0):
        self.channel = channel
        self.events = [(0, 1, bytes([0xB0 | channel, 7, volume])),
                       (0, 1, bytes([0xB0 | channel, 10, pan])),
                       (0, 1, bytes([0xB0 | channel, 91, reverb])),
                       (0, 1, bytes([0xB0 | channel, 93, chorus])),
                       (0, 2, bytes([0xC0 | channel, program]))]

    def program(self, tick, program):
        self.events.append((tick, 2, bytes([0xC0 | self.channel, program])))

    def note(self, tick, length, pitch, velocity):
        assert 0 <= pitch < 128 and 0 < velocity < 128 and length > 0
        self.events.append((tick, 3, bytes([0x90 | self.channel, pitch, velocity])))
        self.events.append((tick + length, 0, bytes([0x90 | self.channel, pitch, 0])))


def chord_in_range(root, intervals, low):
    """The chord's notes, each moved by octaves into low .. low + 11, sorted."""
    notes = []
    for interval in intervals:
        pitch = TONIC + root + interval
        while pitch >= low + 12:
            pitch -= 12
        while pitch < low:
            pitch += 12
        notes.append(pitch)
    return sorted(notes)


def make_tune():
    # The first channel is left alone: the piano's own notes go out on it, and where the
    # accompaniment shares a synthesizer with the keyboard its program changes would otherwise
    # change the instrument the player chose.
    melody = Channel(1, 73, 112, 64, reverb=50)   # flute
    guitar = Channel(2, 24, 92, 44, reverb=40)    # nylon-string guitar
    bass = Channel(3, 32, 100, 64, reverb=20)     # acoustic bass
    strings = Channel(4, 48, 70, 84, reverb=70)   # string ensemble

    def accompany(start_bar, chords, with_strings):
        for b, halves in enumerate(chords):
            for h, (root, intervals) in enumerate(halves):
                tick = (start_bar + b) * BAR + h * 2 * PPQ
                root_pitch = chord_in_range(root, (0,), 47)[0]
                third = chord_in_range(root, intervals[1:2], root_pitch + 12)[0]
                fifth = chord_in_range(root, intervals[2:3], root_pitch + 1)[0]
                for i, pitch in enumerate([root_pitch, fifth, third, fifth]):
                    guitar.note(tick + i * PPQ // 2, PPQ // 2 - 20, pitch, 66 if i == 0 else 54)
                bass_pitch = chord_in_range(root, (0,), 36)[0]
                bass.note(tick, 2 * PPQ - 40, bass_pitch, 88 if h == 0 else 76)
                if with_strings:
                    for pitch in chord_in_range(root, intervals, 53):
                        strings.note(tick, 2 * PPQ - 10, pitch, 48)

    bar = 0
    accompany(bar, INTRO, with_strings=False)
    bar += len(INTRO)
    verse_programs = [73, 71, 73]     # flute, clarinet, flute
    for verse in range(VERSES):
        melody.program(bar * BAR, verse_programs[verse])
        for b, notes in enumerate(MELODY):
            tick = (bar + b) * BAR
            for degree, octave, length in notes:
                ticks = int(length * PPQ)
                accent = tick % BAR == 0
                melody.note(tick, ticks - 30, melody_note(degree, octave), 100 if accent else 88)
                tick += ticks
        accompany(bar, HARMONY, with_strings=verse > 0)
        bar += len(MELODY)

    # Ending: IV and V7, then the tonic held while the tempo broadens.
    accompany(bar, [[IV, V7]], with_strings=True)
    end = (bar + 1) * BAR
    final = chord_in_range(0, (0, 4, 7), 53)
    for pitch in final:
        strings.note(end, 3 * PPQ, pitch, 56)
    for i, pitch in enumerate(chord_in_range(0, (0, 4, 7), 49) + [TONIC]):
        guitar.note(end + i * PPQ // 4, 3 * PPQ - i * PPQ // 4, pitch, 62)
    bass.note(end, 3 * PPQ, chord_in_range(0, (0,), 36)[0], 90)
    melody.note(end, 3 * PPQ, TONIC, 84)
    total_bars = bar + 2

    conductor = [(0, 0, meta(0x03, b"Ode to Joy")),
                 (0, 0, meta(0x01, b"Melody: L. van Beethoven, Symphony No. 9 (1824), public domain. "
                                   b"Arrangement made for this program.")),
                 (0, 0, meta(0x58, bytes([4, 2, 24, 8]))),
                 (0, 0, meta(0x59, bytes([7, 0]))),
                 (0, 0, meta(0x51, struct.pack(">I", 60_000_000 // TEMPO_BPM)[1:]))]
    # Broaden over the last two bars.
    for beat in range(8):
        bpm = TEMPO_BPM - 4 * (beat + 1)
        conductor.append(((total_bars - 2) * BAR + beat * PPQ, 1,
                          meta(0x51, struct.pack(">I", 60_000_000 // bpm)[1:])))

    # Every track ends together, one beat after the last note, so the final chord can ring out.
    end_tick = end + 4 * PPQ
    tracks = [track_chunk(conductor, end_tick)]
    for ch in (melody, guitar, bass, strings):
        tracks.append(track_chunk(ch.events, end_tick))
    header = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), PPQ)
    return header + b"".join(tracks)


# ---------------------------------------------------------------------------------------------
# Title data: "MThd", then magic 0D 0F 3E 03, the unpacked length, and a zlib stream.

TITLE_MAGIC = bytes([0x0D, 0x0F, 0x3E, 0x03])


def make_title():
    text = TITLE_TEXT.encode("gbk")
    for level in (9, 6, 1, 0):
        block = TITLE_MAGIC + struct.pack("<i", len(text)) + zlib.compress(text, level)
        if b"MThd" not in block:
            data = b"MThd" + block
            assert unpack_title(data) == text
            return data
    raise SystemExit("title block holds the marker at every compression level; change the text")


def unpack_title(data):
    """The program's reading of the title data, written out independently to check the file."""
    block = data.replace(b"MThd", b"")       # non-overlapping, left to right, like the program
    if len(block) < 8 or block[:4] != TITLE_MAGIC:
        return b""
    n = struct.unpack("<i", block[4:8])[0]
    capacity = 2 * n
    if capacity <= 0:
        return b""
    d = zlib.decompressobj()
    try:
        out = d.decompress(block[8:], capacity)
    except zlib.error:
        return b""
    if not d.eof:
        return b""
    return out.split(b"\0", 1)[0]


# ---------------------------------------------------------------------------------------------
# Window icon: one 48 x 48 image, 32-bit BGRA with an AND mask, drawn here with 4 x 4 supersampling.

ICON_SIZE = 48
BLUE = (0, 136, 255)


def inside_round_rect(x, y, x0, y0, x1, y1, r):
    if not (x0 <= x <= x1 and y0 <= y <= y1):
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def inside_ellipse(x, y, cx, cy, rx, ry, tilt):
    # Rotated by `tilt` (a small slope), like a printed note head.
    dx, dy = x - cx, y - cy
    u = dx + tilt * dy
    v = dy - tilt * dx
    return (u / rx) ** 2 + (v / ry) ** 2 <= 1.0


def icon_paint(x, y):
    """Colour (r, g, b, a) of the icon at the point (x, y), or None where it is see-through."""
    if not inside_round_rect(x, y, 0.5, 0.5, 47.5, 47.5, 9):
        return None
    # Keyboard on the pixel grid: seven white keys 5 pixels wide with 1-pixel blue gaps, and five
    # black keys 3 pixels wide over the gaps, as on a real octave.
    kx0, ky0, ky1 = 4, 25, 43
    if kx0 <= x < kx0 + 41 and ky0 <= y <= ky1:
        for boundary in (1, 2, 4, 5, 6):
            gap = kx0 + 6 * boundary - 1
            if gap - 1 <= x < gap + 2 and y <= ky0 + 10:
                return (28, 32, 48, 255)
        k = int((x - kx0) / 6)
        if inside_round_rect(x, y, kx0 + 6 * k, ky0, kx0 + 6 * k + 5, ky1, 1.2):
            return (255, 255, 255, 255)
        return BLUE + (255,)
    # Two beamed eighth notes in white above the keyboard.
    heads = [(16.0, 19.0), (31.0, 16.5)]
    for hx, hy in heads:
        if inside_ellipse(x, y, hx, hy, 3.6, 2.6, -0.35):
            return (255, 255, 255, 255)
    stems = [(heads[0][0] + 2.9, 6.5, heads[0][1]), (heads[1][0] + 2.9, 4.0, heads[1][1])]
    for sx, top, bottom in stems:
        if sx - 1.0 <= x <= sx + 0.6 and top <= y <= bottom - 0.5:
            return (255, 255, 255, 255)
    (x0, t0, _), (x1, t1, _) = stems
    if x0 - 1.0 <= x <= x1 + 0.6:
        beam_top = t0 + (t1 - t0) * (x - x0) / (x1 - x0)
        if beam_top <= y <= beam_top + 3.2:
            return (255, 255, 255, 255)
    return BLUE + (255,)


def render_icon():
    """48 x 48 straight-alpha RGBA pixels, top row first."""
    step = 4
    pixels = []
    for py in range(ICON_SIZE):
        row = []
        for px in range(ICON_SIZE):
            acc = [0, 0, 0, 0]
            for sy in range(step):
                for sx in range(step):
                    c = icon_paint(px + (sx + 0.5) / step, py + (sy + 0.5) / step)
                    if c:
                        acc[0] += c[0] * c[3]
                        acc[1] += c[1] * c[3]
                        acc[2] += c[2] * c[3]
                        acc[3] += c[3]
            a = acc[3]
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple((v + a // 2) // a for v in acc[:3]) + ((a + step * step // 2) // (step * step),))
        pixels.append(row)
    return pixels


def make_icon():
    pixels = render_icon()
    n = ICON_SIZE
    xor = bytearray()
    for row in reversed(pixels):                  # DIB rows run bottom-up
        for r, g, b, a in row:
            xor += bytes([b, g, r, a])
    mask_stride = ((n + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + xor + mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(image), 6 + 16)
    return header + entry + image


# ---------------------------------------------------------------------------------------------
# Score picture: numbered notation of the melody with the computer key under every note,
# drawn by ImageMagick and written as a two-colour GIF89a by the encoder below.

SCORE_W, SCORE_H = 558, 656
PAPER = (255, 253, 242)
INK = (20, 24, 56)


def mvg_text(x, y, size, text, anchor="middle", bold=0.0):
    """Text at baseline y; `bold` outlines the glyphs so that thin strokes of small text keep at
    least two pixels and survive the picture box's stretching."""
    text = text.replace("\\", "\\\\").replace("'", "\\'")
    outline = f"stroke rgb(0,0,0)\nstroke-width {bold}\n" if bold else ""
    return (f"{outline}font-size {size}\ntext-anchor {anchor}\ntext {x:.1f},{y:.1f} '{text}'\n"
            + ("stroke none\n" if bold else ""))


def mvg_rect(x0, y0, x1, y1):
    return f"rectangle {x0:.1f},{y0:.1f} {x1:.1f},{y1:.1f}\n"


def mvg_dot(x, y, r):
    return f"circle {x:.1f},{y:.1f} {x + r:.1f},{y:.1f}\n"


def bar_elements(bar):
    """The drawn elements of one bar: (kind, slot weight, note, beat); eighths sit closer than
    quarters, and `beat` groups eighths that share an underline."""
    elements = []
    time = 0.0
    for note in bar:
        length = note[2]
        if length == 0.5:
            elements.append(("eighth", 0.8, note, int(time)))
        else:
            elements.append(("quarter", 1.0, note, None))
        if length == 1.5:
            elements.append(("dot", 0.55, None, None))
        elif length == 2:
            elements.append(("dash", 1.0, None, None))
        time += length
    return elements


def score_mvg():
    out = [f"font '{FONT}'\nfill rgb(0,0,0)\nstroke none\n"]
    cx = SCORE_W / 2
    out.append(mvg_text(cx, 50, 42, "欢 乐 颂"))
    out.append(mvg_text(26, 90, 20, f"{KEY_NAME}  4/4", "start", bold=0.6))
    out.append(mvg_text(SCORE_W - 26, 90, 20, "贝多芬 曲", "end", bold=0.4))
    out.append(mvg_text(cx, 122, 20, "前奏四小节后进入，旋律共奏三遍", bold=0.4))
    out.append(mvg_rect(26, 134, SCORE_W - 26, 136))

    margin = 24
    bars_per_line = 4
    bar_pad = 14                                   # around the notes of a bar, beside its bar line
    first_line = 190
    line_gap = 108
    digit_size = 30
    key_size = 17

    for line in range(len(MELODY) // bars_per_line):
        base = first_line + line * line_gap       # digit baseline
        bars = [bar_elements(b) for b in MELODY[line * bars_per_line:(line + 1) * bars_per_line]]
        # One slot unit per line, so a bar with eighth notes gets more room than one without.
        unit = (SCORE_W - 2 * margin - bars_per_line * bar_pad) / sum(e[1] for b in bars for e in b)
        x = margin
        for col, elements in enumerate(bars):
            x += bar_pad - 6
            beams = {}                             # beat -> (left, right) of its underline
            for kind, w, note, beat in elements:
                mid = x + w * unit / 2
                if kind == "dash":
                    out.append(mvg_rect(mid - 7, base - 12, mid + 7, base - 9.5))
                elif kind == "dot":
                    out.append(mvg_dot(mid - 4, base - 10.5, 2.6))
                else:
                    degree, octave, _ = note
                    out.append(mvg_text(mid, base, digit_size, str(degree)))
                    below = base + 7
                    if kind == "eighth":
                        left, right = beams.get(beat, (x + 1, 0))
                        beams[beat] = (left, x + w * unit - 1)
                        below = base + 11
                    if octave > 0:
                        out.append(mvg_dot(mid, base - 29, 2.6))
                    elif octave < 0:
                        out.append(mvg_dot(mid, below + 4, 2.6))
                    key = KEYS[melody_note(degree, octave)]
                    ky = base + 41
                    box_w = min(21, w * unit - 4)
                    out.append(f"fill none\nstroke rgb(0,0,0)\nstroke-width 2\n"
                               f"roundrectangle {mid - box_w / 2:.1f},{ky - 18:.1f} "
                               f"{mid + box_w / 2:.1f},{ky + 5:.1f} 3,3\n"
                               f"fill rgb(0,0,0)\nstroke none\n")
                    out.append(mvg_text(mid, ky, key_size, key, bold=1.0))
                x += w * unit
            for left, right in beams.values():
                out.append(mvg_rect(left, base + 5, right, base + 7))
            x += 6
            # Bar line; the last bar of the piece ends with a double bar. Every line is at least two
            # pixels thick so that none drops out when the picture box shrinks the picture.
            top, bottom = base - 30, base + 8
            if line * bars_per_line + col == len(MELODY) - 1:
                out.append(mvg_rect(x - 9.5, top, x - 7.5, bottom))
                out.append(mvg_rect(x - 4, top, x, bottom))
            else:
                out.append(mvg_rect(x - 1, top, x + 1, bottom))

    foot = first_line + 3 * line_gap + 66
    out.append(mvg_rect(26, foot, SCORE_W - 26, foot + 2))
    out.append(mvg_text(cx, foot + 29, 20, "方框里是弹这个音的电脑按键，", bold=0.4))
    out.append(mvg_text(cx, foot + 57, 20, "它们都是白键，与琴键下方的简谱数字相同", bold=0.4))
    return "".join(out)


def render_score_pixels():
    """Rows of 0 (paper) and 1 (ink), drawn by ImageMagick and cut at half grey."""
    cmd = ["convert", "-size", f"{SCORE_W}x{SCORE_H}", "xc:white", "-draw", score_mvg(),
           "-colorspace", "gray", "-depth", "8", "pgm:-"]
    rows = read_pgm(subprocess.run(cmd, check=True, capture_output=True).stdout)
    assert len(rows) == SCORE_H and len(rows[0]) == SCORE_W
    return rows


def lzw_encode(indices, min_code_size):
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    bit_buffer = 0
    bit_count = 0

    def emit(code, width):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += width
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def reset():
        return {(i,): i for i in range(clear)}, end + 1, min_code_size + 1

    table, next_code, width = reset()
    emit(clear, width)
    prefix = ()
    for index in indices:
        candidate = prefix + (index,)
        if candidate in table:
            prefix = candidate
            continue
        emit(table[prefix], width)
        if next_code == 4096:
            emit(clear, width)
            table, next_code, width = reset()
        else:
            table[candidate] = next_code
            # The decoder widens its codes as soon as it has filled the current width.
            if next_code == (1 << width) and width < 12:
                width += 1
            next_code += 1
        prefix = (index,)
    if prefix:
        emit(table[prefix], width)
    emit(end, width)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def make_gif(rows, palette):
    height, width = len(rows), len(rows[0])
    assert len(palette) == 2
    out = bytearray(b"GIF89a")
    # Global colour table of 2 entries (size field 0), colour resolution 1 bit, background 0.
    out += struct.pack("<HHBBB", width, height, 0x80, 0, 0)
    for colour in palette:
        out += bytes(colour)
    out += b"\x2C" + struct.pack("<HHHHB", 0, 0, width, height, 0)
    min_code_size = 2                              # the smallest GIF allows
    data = lzw_encode([p for row in rows for p in row], min_code_size)
    out.append(min_code_size)
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out += b"\x00\x3B"
    return bytes(out)


def read_pgm(pgm):
    """Rows of 0 (light) and 1 (dark) from a binary 8-bit PGM, cut at half grey."""
    fields, pos = [], 0
    while len(fields) < 4:                         # magic, width, height, maxval
        while pgm[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not pgm[pos:pos + 1].isspace():
            pos += 1
        fields.append(pgm[start:pos])
    pos += 1
    width, height = int(fields[1]), int(fields[2])
    assert fields[0] == b"P5" and int(fields[3]) == 255
    raster = pgm[pos:pos + width * height]
    assert len(raster) == width * height
    return [[1 if raster[y * width + x] < 128 else 0 for x in range(width)] for y in range(height)]


def make_score():
    rows = render_score_pixels()
    gif = make_gif(rows, [PAPER, INK])
    # Our LZW encoder is checked against ImageMagick's own GIF decoder on every build.
    pgm = subprocess.run(["convert", "gif:-", "-colorspace", "gray", "-depth", "8", "pgm:-"],
                         input=gif, check=True, capture_output=True).stdout
    assert read_pgm(pgm) == rows, "GIF does not decode to the drawn pixels"
    return gif


# ---------------------------------------------------------------------------------------------

def build_all():
    return {
        "tune.mid": make_tune(),
        "score.gif": make_score(),
        "icon.ico": make_icon(),
        "title.bin": make_title(),
    }


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="compare freshly built bytes with the files in resources/ and write nothing")
    parser.add_argument("--out", default=OUT_DIR, help="folder to write to (default: resources/)")
    args = parser.parse_args()

    files = build_all()
    if args.check:
        stale = []
        for name, data in files.items():
            path = os.path.join(args.out, name)
            try:
                with open(path, "rb") as f:
                    if f.read() != data:
                        stale.append(name)
            except OSError:
                stale.append(name)
        if stale:
            print("differs from a fresh build:", ", ".join(stale))
            return 1
        print("resources are up to date")
        return 0

    os.makedirs(args.out, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(args.out, name), "wb") as f:
            f.write(data)
        print(f"{name}: {len(data)} bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
