"""Reads the 3DFACEs of a DXF file with ezdxf and prints, as JSON, how many
there are and the highest corner (x, y, z) with the extent of the corners
at that height.

Usage: python3 ezdxf_top.py IN.dxf
"""
import json
import sys

import ezdxf


def main():
    doc = ezdxf.readfile(sys.argv[1])
    corners = []
    faces = 0
    for face in doc.modelspace().query("3DFACE"):
        faces += 1
        corners.extend(tuple(face.dxf.get(key)) for key in ("vtx0", "vtx1", "vtx2", "vtx3"))
    top = max(c[2] for c in corners)
    high = [c for c in corners if c[2] > top - 1e-6]
    print(json.dumps({
        "faces": faces,
        "top": top,
        "x": [min(c[0] for c in high), max(c[0] for c in high)],
        "y": [min(c[1] for c in high), max(c[1] for c in high)],
        "low": min(c[2] for c in corners),
    }))


if __name__ == "__main__":
    main()
