"""Writes a terrain as a CAD program or Blender would: a DXF file of 3DFACEs
in x east, y north, z up (metres), made with ezdxf, an independent DXF library.

The hill is a square plateau 10 m high centred at x 30, y 0 (20 m across),
sloping down to the plain at z 0 within 30 m of its centre.

Usage: python3 ezdxf_hill.py OUT.dxf
"""
import sys

import ezdxf


def height(x, y):
    d = max(abs(x - 30.0), abs(y))
    if d <= 10.0:
        return 10.0
    if d >= 30.0:
        return 0.0
    return 10.0 * (30.0 - d) / 20.0


def main():
    doc = ezdxf.new()
    msp = doc.modelspace()
    xs = [-100.0 + 10.0 * i for i in range(27)]
    ys = [-130.0 + 10.0 * j for j in range(27)]
    for x0, x1 in zip(xs, xs[1:]):
        for y0, y1 in zip(ys, ys[1:]):
            msp.add_3dface([(x, y, height(x, y))
                            for x, y in ((x0, y0), (x1, y0), (x1, y1), (x0, y1))])
    doc.saveas(sys.argv[1])


if __name__ == "__main__":
    main()
