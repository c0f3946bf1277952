#!/usr/bin/env python3
"""Draws the figures of docs/amplifier-simulation.md with orvane-cli.

Usage: docs/figures/amplifier_figures.py [ORVANE_CLI]   (default build/release/program/orvane-cli)

Writes docs/images/amplifier-cim-against-ibo.svg (sixteen equal carriers through the published
tube: the centre carrier's C/IM simulated with tones and with QPSK, and as the intermodulation
analysis predicts it from the tube's small-signal intercept point) and
docs/images/amplifier-spectrum.svg (the output spectrum of examples/c-band-36mhz.carriers.txt at
6 dB input back-off). Only the Python standard library is needed.
"""

import json
import math
import os
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CLI = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build/release/program/orvane-cli")
IMAGES = os.path.join(ROOT, "docs/images")
CARRIERS = 16
CENTRE = 8  # F8, one of the two centre carriers
# The tube's small-signal output intercept point: y = 2x + a3 x|x|^2, a3 = -2 + 2j ap / ba.
TUBE_IP3_DBW = 10 * math.log10(8 / abs(complex(-2, 2 * 4.0033 / 1.1517)))


def cli(*args):
    done = subprocess.run([CLI, *args], check=True, capture_output=True, text=True)
    return json.loads(done.stdout) if done.stdout.startswith("{") else None


def equal_plan(folder, power_dbw):
    """Sixteen 800 kSps carriers filling 1 MHz slots (roll-off 25 %) from 6000 MHz up."""
    path = os.path.join(folder, "equal-%.2f.txt" % power_dbw)
    lines = ["Sixteen equal carriers", "F 5999 6016", "L", "R 1.25"]
    lines += ["C %.1f 800 0 4 0.5 1 %.3f C%d" % (6000 + i, power_dbw, i + 1)
              for i in range(CARRIERS)]
    with open(path, "w", newline="\r\n") as plan:
        plan.write("\n".join(lines) + "\n")
    return path


def cim_against_ibo(folder):
    rows = []
    for ibo in range(0, 21):
        plan = equal_plan(folder, 0.0)
        tones = cli("simulate", plan, "--amplifier", "saleh", "--ibo", str(ibo), "--carriers", "tone")
        qpsk = cli("simulate", plan, "--amplifier", "saleh", "--ibo", str(ibo))
        # The analysis takes each carrier at its small-signal output (gain 6.02 dB).
        small_signal = 6.0206 - ibo - 10 * math.log10(CARRIERS)
        analysed = cli("analyse", equal_plan(folder, small_signal), "--ip3", "%.4f" % TUBE_IP3_DBW)
        rows.append((ibo, tones["carriers"][CENTRE - 1]["cimDb"], qpsk["carriers"][CENTRE - 1]["cimDb"],
                     analysed["carriers"][CENTRE - 1]["cimDb"], qpsk["oboDb"]))
    return rows


class Svg:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.parts = []

    def add(self, text):
        self.parts.append(text)

    def text(self, x, y, content, anchor="middle", size=13, colour="#222", rotate=None):
        turn = ' transform="rotate(%d %.1f %.1f)"' % (rotate, x, y) if rotate else ""
        self.add('<text x="%.1f" y="%.1f" font-family="Liberation Sans, Arial, sans-serif" '
                 'font-size="%d" fill="%s" text-anchor="%s"%s>%s</text>'
                 % (x, y, size, colour, anchor, turn, content))

    def line(self, points, colour, width=2.0, dash=None):
        dashes = ' stroke-dasharray="%s"' % dash if dash else ""
        self.add('<polyline fill="none" stroke="%s" stroke-width="%.1f"%s points="%s"/>'
                 % (colour, width, dashes, " ".join("%.1f,%.1f" % p for p in points)))

    def save(self, name):
        with open(os.path.join(IMAGES, name), "w") as out:
            out.write('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
                      'viewBox="0 0 %d %d">\n<rect width="100%%" height="100%%" fill="white"/>\n'
                      % (self.width, self.height, self.width, self.height))
            out.write("\n".join(self.parts) + "\n</svg>\n")


def axes(svg, box, xs, ys, xlabel, ylabel):
    """Frame, grid and labels; returns the mapping from data to picture."""
    left, top, right, bottom = box
    (x0, x1, xstep), (y0, y1, ystep) = xs, ys

    def at(x, y):
        return (left + (x - x0) / (x1 - x0) * (right - left),
                bottom - (y - y0) / (y1 - y0) * (bottom - top))

    x = x0
    while x <= x1 + 1e-9:
        px = at(x, y0)[0]
        svg.add('<line x1="%.1f" y1="%d" x2="%.1f" y2="%d" stroke="#ddd"/>' % (px, top, px, bottom))
        svg.text(px, bottom + 18, ("%g" % x))
        x += xstep
    y = y0
    while y <= y1 + 1e-9:
        py = at(x0, y)[1]
        svg.add('<line x1="%d" y1="%.1f" x2="%d" y2="%.1f" stroke="#ddd"/>' % (left, py, right, py))
        svg.text(left - 8, py + 4, ("%g" % y), anchor="end")
        y += ystep
    svg.add('<rect x="%d" y="%d" width="%d" height="%d" fill="none" stroke="#444"/>'
            % (left, top, right - left, bottom - top))
    svg.text((left + right) / 2, bottom + 42, xlabel)
    svg.text(left - 46, (top + bottom) / 2, ylabel, rotate=-90)
    return at


def within(points, low, high):
    """The part of a curve between two values, cut where it crosses them."""
    kept = []
    for (xa, ya), (xb, yb) in zip(points, points[1:]):
        for bound in (low, high):
            if (ya - bound) * (yb - bound) < 0:
                kept.append((xa + (bound - ya) / (yb - ya) * (xb - xa), bound))
        if low <= yb <= high:
            kept.append((xb, yb))
    return ([points[0]] if low <= points[0][1] <= high else []) + kept


def legend(svg, x, y, entries):
    for i, (label, colour, dash) in enumerate(entries):
        svg.line([(x, y + 22 * i), (x + 30, y + 22 * i)], colour, 2.5, dash)
        svg.text(x + 38, y + 22 * i + 4, label, anchor="start")


def draw_cim(rows):
    svg = Svg(760, 470)
    at = axes(svg, (80, 50, 730, 400), (0, 20, 2), (0, 40, 5), "input back-off (dB)",
              "C/IM of the centre carrier F8 (dB)")
    svg.text(405, 30, "Sixteen equal carriers through the published tube (Saleh)", size=15)
    svg.line([at(r[0], r[1]) for r in rows], "#1f6fb4")
    svg.line([at(r[0], r[2]) for r in rows], "#d2691e")
    svg.line([at(x, y) for x, y in within([(r[0], r[3]) for r in rows], 0, 40)], "#7b3294",
             dash="7,5")
    for ibo, cim in ((10, 19.5), (6, 15.0), (0, 9.4)):
        cx, cy = at(ibo, cim)
        svg.add('<circle cx="%.1f" cy="%.1f" r="5" fill="none" stroke="#222" stroke-width="1.5"/>'
                % (cx, cy))
    legend(svg, 100, 72, [("simulated, tones of random phase", "#1f6fb4", None),
                          ("simulated, QPSK carriers", "#d2691e", None),
                          ("IP3 analysis, small-signal IP3 = Psat + %.2f dB" % TUBE_IP3_DBW,
                           "#7b3294", "7,5")])
    svg.add('<circle cx="115" cy="138" r="5" fill="none" stroke="#222" stroke-width="1.5"/>')
    svg.text(138, 142, "published figures", anchor="start")
    svg.save("amplifier-cim-against-ibo.svg")


def draw_spectrum(folder):
    plan = os.path.join(ROOT, "examples/c-band-36mhz.carriers.txt")
    csv = os.path.join(folder, "spectrum.csv")
    cli("simulate", plan, "--amplifier", "saleh", "--ibo", "6", "--spectrum", csv)
    points = []
    with open(csv) as rows:
        next(rows)
        for row in rows:
            frequency, density = (float(v) for v in row.split(","))
            points.append((frequency, density))
    # Power averaged over 50 kHz for a readable line.
    merged = []
    for i in range(0, len(points) - 24, 25):
        chunk = points[i:i + 25]
        watts = sum(10 ** (d / 10) for _, d in chunk) / len(chunk)
        merged.append((chunk[12][0], 10 * math.log10(watts)))
    svg = Svg(760, 430)
    at = axes(svg, (80, 50, 730, 360), (5915, 6050, 15), (-110, -30, 10), "frequency (MHz)",
              "output power density (dBW/kHz)")
    svg.text(405, 30, "c-band-36mhz example through the tube at 6 dB input back-off (Psat 0 dBW)",
             size=15)
    svg.line([at(f, d) for f, d in within(merged, -110, -30)], "#1f6fb4", 1.5)
    view_left, view_right = at(5960, -110)[0], at(6006, -110)[0]
    svg.add('<line x1="%.1f" y1="50" x2="%.1f" y2="360" stroke="#888" stroke-dasharray="4,4"/>'
            % (view_left, view_left))
    svg.add('<line x1="%.1f" y1="50" x2="%.1f" y2="360" stroke="#888" stroke-dasharray="4,4"/>'
            % (view_right, view_right))
    svg.text((view_left + view_right) / 2, 68, "the plan's view range", colour="#555")
    svg.save("amplifier-spectrum.svg")


def main():
    with tempfile.TemporaryDirectory() as folder:
        rows = cim_against_ibo(folder)
        for row in rows:
            print("IBO %2d  tones %6.2f  QPSK %6.2f  IP3 analysis %6.2f  OBO %5.2f" % row)
        draw_cim(rows)
        draw_spectrum(folder)


if __name__ == "__main__":
    main()
