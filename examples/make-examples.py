#!/usr/bin/env python3
"""Writes the example files of this folder, by hand from the file formats Telvane reads.

    python3 examples/make-examples.py [path of telvane-cli]

Texts are written in GBK, as the instrument and the program keep them, with CR LF line ends.
The line-element file road.SEC is calculated from road.PHI by telvane-cli's road command and
kept in the short form (seven fields an element) that both the main window and the road
window open.
"""
import math
import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))


def write_text(name, lines):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("gbk"))


def write_bytes(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def field(text, size):
    """A NUL-padded text field of `size` bytes in GBK."""
    b = text.encode("gbk")
    assert len(b) < size, text
    return b + b"\0" * (size - len(b))


def arcsec(degrees):
    return int(round(degrees * 3600))


# A small job: station K1, backsight K2 due north, a house corner and a street lamp.
K1 = (1000.0, 500.0, 12.345)  # north, east, elevation
K2 = (1085.221, 500.0, 12.345)


def polar(station, azimuth_deg, horizontal):
    a = math.radians(azimuth_deg)
    return (station[0] + horizontal * math.cos(a), station[1] + horizontal * math.sin(a))


corner = polar(K1, 45.0, 42.15)
write_text("job-gbk.txt", [
    "JOB     西湖测量",
    "INST    TS",
    "STA     K1,1.5200,控制点",
    "XYZ     %.4f,%.4f,%.4f" % (K1[1], K1[0], K1[2]),
    "BS      K2,1.6000",
    "HVD     0,%d,85.2210" % arcsec(90),
    "SC      K2,1.6000,控制点",
    "ENZ     %.4f,%.4f,%.4f" % (K2[1], K2[0], K2[2]),
    "SC      房角1,1.3000,建筑",
    "HVD     %d,%d,42.1500" % (arcsec(45), arcsec(90)),
    "ENZ     %.4f,%.4f,12.5650" % (corner[1], corner[0]),
    "SD      路灯,1.3000,电杆",
    "HVD     %d,%d,30.0000" % (arcsec(90), arcsec(89)),
    "NOTE    北门外的路灯",
])

# The same day as a binary job of 48-byte records behind a header byte of 1.
def rec48(kind, name, code, height, north=0.0, east=0.0, elev=0.0, va=0, ha=0, sd=0.0):
    head = struct.pack("<b", kind) + field(name, 9) + field(code, 10) + struct.pack("<f", height)
    if kind in (1, 4, 8):
        body = struct.pack("<ddd", north, east, elev)
    else:
        body = struct.pack("<II", va, ha) + b"\0" * 8 + struct.pack("<f", sd) + b"\0" * 4
    record = head + body
    assert len(record) == 48
    return record


write_bytes("day1.mea", b"\x01" + b"".join([
    rec48(1, "K1", "CP", 1.52, *K1),
    rec48(4, "K2", "", 0.0, *K2),
    rec48(3, "K2", "", 1.6, va=arcsec(90), ha=0, sd=85.221),
    rec48(8, "房角1", "建筑", 1.3, corner[0], corner[1], 12.565),
    rec48(7, "路灯", "电杆", 1.3, va=arcsec(89), ha=arcsec(90), sd=30.0),
]))

# Known points as a binary coordinate file of 56-byte point records.
def pts(name, code, north, east, elev):
    return struct.pack("<b", 11) + field(name, 15) + field(code, 16) + struct.pack("<ddd", north, east, elev)


write_bytes("known-points.pts", b"".join([
    pts("K1", "控制点", *K1),
    pts("K2", "控制点", *K2),
    pts("K3", "控制点", 1040.5, 560.25, 13.01),
]))

# Point rows: name, code, north, east, elevation.
write_text("points.csv", [
    "K1,控制点,1000.0000,500.0000,12.3450",
    "K2,控制点,1085.2210,500.0000,12.3450",
    "房角1,建筑,1029.8047,529.8047,12.5650",
    "P4,树,1012.3000,488.9000,12.1000",
])

# A code list, one code a line.
write_text("codes.txt", ["TREE", "WALL", "FENCE", "电杆", "路灯", "建筑"])

# A road: four intersection points with arcs and spirals, a profile with a crest curve, and
# a stake every 100 m.
write_text("road.PHI", [
    "IP name,North,East,Chainage,Radius,Spiral in,Spiral out",
    "JD0,3000,500,1000,0,0,0",
    "JD1,3500,690,0,300,40,50",
    "JD2,4000,520,0,250,35,35",
    "JD3,4600,800,0,0,0,0",
])
write_text("road.PVI", [
    "Chainage,Elevation,Grade in,Grade out,Radius",
    "1000,100,0,12,0",
    "1800,109.6,12,-8,5000",
    "2600,103.2,-8,0,0",
])
write_text("stakes.csv", ["Chainage"] + [str(k) for k in range(1000, 2601, 100)])

# The same alignment as line elements, from the program's own calculation.
cli = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "build", "src", "cli", "telvane-cli")
with tempfile.TemporaryDirectory() as tmp:
    sec = os.path.join(tmp, "road.SEC")
    subprocess.run([cli, "road", "--phi", os.path.join(HERE, "road.PHI"),
                    "--stakes", os.path.join(HERE, "stakes.csv"), "-o", os.path.join(tmp, "s.csv"),
                    "--elements", sec], check=True)
    with open(sec, "rb") as f:
        lines = f.read().decode("gbk").split("\r\n")
    lines = [l for l in lines if l]
    short = lines[:3] + [",".join(l.split(",")[:7]) for l in lines[3:]]
    write_text("road.SEC", short)
