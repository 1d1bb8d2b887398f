#!/usr/bin/env python3
"""Draws the program's animated busy cursor and writes it as an animated cursor file.

Eight 32 x 32 frames of an hourglass: six with the sand running down, two turning the glass
over (after half a turn the full lower bulb is the full upper one, so the loop closes).
Frames are 32-bit cursors with alpha and an AND mask for older readers; a "rate" chunk holds
the step times and a "seq " chunk holds the last frame of the run a little longer.

    scripts/hourglas_ani.py [output]      (default: resources/hourglas.ani next to this script)

Needs only the Python standard library, so the output is the same on every machine.
"""

import math
import os
import struct
import sys

BOK = 32
SRODEK = BOK / 2
PROBKI = 4  # samples per pixel side, for smooth edges
# The upright glass is 22 x 28 units; shrunk so that it stays whole at every angle of the turn.
SKALA = 15.5 / math.hypot(11.0, 14.0)

DREWNO = (139, 90, 43, 255)
DREWNO_CIEMNE = (80, 50, 20, 255)
SZKLO = (225, 240, 250, 150)
OBRYS = (40, 48, 64, 255)
PIASEK = (232, 182, 64, 255)


def polszerokosc(v):
    """Half width of the glass at height v (0 at the neck, 11 at the plates)."""
    return 1.3 + 6.7 * (min(abs(v), 11.0) / 11.0) ** 0.75


def probka(u, v, piasek_u_gory):
    """Colour (r, g, b, a) of the upright hourglass at (u, v), v growing downwards."""
    au = abs(u)
    # Top and bottom plates with a darker rim.
    if 11.0 <= abs(v) <= 14.0 and au <= 11.0:
        return DREWNO_CIEMNE if (abs(v) > 13.2 or au > 10.2) else DREWNO
    # Two posts joining the plates.
    if abs(v) < 11.0 and 9.0 <= au <= 10.5:
        return DREWNO
    if abs(v) >= 11.0:
        return None
    w = polszerokosc(v)
    if au > w:
        return None
    if au > w - 1.0:
        return OBRYS
    gora = 9.5 * piasek_u_gory  # sand column in the upper bulb, resting on the neck
    dol = 9.5 * (1.0 - piasek_u_gory)  # heap in the lower bulb
    if v < 0 and -v <= gora + 0.5:
        return PIASEK
    if v > 0 and v >= 11.0 - dol:
        return PIASEK
    if 0 < piasek_u_gory < 1 and v >= -0.5 and au < 0.6:
        return PIASEK  # the running stream
    return SZKLO


def klatka(piasek_u_gory, obrot_stopnie):
    """RGBA rows, top row first."""
    kat = math.radians(obrot_stopnie)
    c, s = math.cos(kat), math.sin(kat)
    wiersze = []
    for y in range(BOK):
        wiersz = []
        for x in range(BOK):
            r = g = b = a = 0.0
            for sy in range(PROBKI):
                for sx in range(PROBKI):
                    px = x + (sx + 0.5) / PROBKI - SRODEK
                    py = y + (sy + 0.5) / PROBKI - SRODEK
                    # Back into the upright glass's coordinates.
                    u = (c * px + s * py) / SKALA
                    v = (-s * px + c * py) / SKALA
                    kolor = probka(u, v, piasek_u_gory)
                    if kolor:
                        waga = kolor[3] / 255.0
                        r += kolor[0] * waga
                        g += kolor[1] * waga
                        b += kolor[2] * waga
                        a += waga
            n = PROBKI * PROBKI
            if a > 0:
                wiersz.append((round(r / a), round(g / a), round(b / a), round(255 * a / n)))
            else:
                wiersz.append((0, 0, 0, 0))
        wiersze.append(wiersz)
    return wiersze


def plik_kursora(wiersze, gx, gy):
    """A .cur file: directory, one entry with the hotspot, a 32-bit DIB and its AND mask."""
    krok_maski = (BOK + 31) // 32 * 4
    piksele = bytearray()
    maska = bytearray()
    for wiersz in reversed(wiersze):  # bottom-up
        bity = 0
        bajty = bytearray()
        for x, (r, g, b, a) in enumerate(wiersz):
            piksele += bytes((b, g, r, a))
            if a == 0:
                bity |= 1 << (7 - x % 8)
            if x % 8 == 7:
                bajty.append(bity)
                bity = 0
        maska += bajty.ljust(krok_maski, b"\0")
    naglowek = struct.pack("<IiiHHIIiiII", 40, BOK, 2 * BOK, 1, 32, 0,
                           len(piksele) + len(maska), 0, 0, 0, 0)
    obraz = naglowek + piksele + maska
    katalog = struct.pack("<HHH", 0, 2, 1)
    wpis = struct.pack("<BBBBHHII", BOK, BOK, 0, 0, gx, gy, len(obraz), 6 + 16)
    return katalog + wpis + obraz


def fragment(ident, dane):
    dane = bytes(dane)
    wynik = ident + struct.pack("<I", len(dane)) + dane
    return wynik + (b"\0" if len(dane) % 2 else b"")


def main():
    sciezka = sys.argv[1] if len(sys.argv) > 1 else os.path.normpath(os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "resources", "hourglas.ani"))

    ustawienia = [(1.0, 0), (0.8, 0), (0.6, 0), (0.4, 0), (0.2, 0), (0.0, 0),
                  (0.0, 60), (0.0, 120)]
    klatki = [plik_kursora(klatka(p, o), 16, 16) for p, o in ustawienia]
    kolejnosc = [0, 1, 2, 3, 4, 5, 5, 6, 7]
    czasy = [8, 8, 8, 8, 8, 8, 8, 4, 4]  # jiffies, 1/60 s

    AF_ICON, AF_SEQUENCE = 1, 2
    anih = struct.pack("<9I", 36, len(klatki), len(kolejnosc), 0, 0, 0, 0, 8,
                       AF_ICON | AF_SEQUENCE)
    nazwa = b"Klepsydra\0"
    info = b"INFO" + fragment(b"INAM", nazwa)
    fram = b"fram" + b"".join(fragment(b"icon", k) for k in klatki)
    tresc = (b"ACON" + fragment(b"LIST", info) + fragment(b"anih", anih) +
             fragment(b"rate", struct.pack(f"<{len(czasy)}I", *czasy)) +
             fragment(b"seq ", struct.pack(f"<{len(kolejnosc)}I", *kolejnosc)) +
             fragment(b"LIST", fram))
    dane = b"RIFF" + struct.pack("<I", len(tresc)) + tresc

    tymczasowy = sciezka + ".tmp"
    with open(tymczasowy, "wb") as f:
        f.write(dane)
    os.replace(tymczasowy, sciezka)
    print(f"{sciezka}: {len(klatki)} klatek, {len(kolejnosc)} krokow, {len(dane)} bajtow")


if __name__ == "__main__":
    main()
