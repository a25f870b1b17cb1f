#!/usr/bin/env python3
"""Where two motion files of the same take part: the first frame that differs
and the largest difference in position (m) and attitude (deg) over the take.

    motion_difference.py WINDOWS.kvm LINUX.kvm FRAMES

FRAMES is the take's frame count (from `kestrovane-cli info`). The frames are
the file's last FRAMES records of 66 little-endian floats before the end
marker; what comes before them is the object record.
"""
import struct
import sys

FIELDS = 66
SIZE = FIELDS * 4
NORTH, ROLL = 6, 9
# Past these a difference is a fault, not rounding: metres, degrees.
POSITION_BOUND, ATTITUDE_BOUND = 0.01, 0.1


def frames(data, count):
    start = len(data) - SIZE * (count + 1)
    return start, [struct.unpack_from("<%df" % FIELDS, data, start + i * SIZE) for i in range(count)]


def main():
    a = open(sys.argv[1], "rb").read()
    b = open(sys.argv[2], "rb").read()
    count = int(sys.argv[3])
    start_a, fa = frames(a, count)
    start_b, fb = frames(b, count)
    if start_a != start_b or len(a) != len(b):
        print("    the files differ in length (%d and %d bytes)" % (len(a), len(b)))
        return
    if a[:start_a] != b[:start_b]:
        first = next(i for i in range(start_a) if a[i] != b[i])
        print("    the object record differs from byte %d" % first)
    first = None
    worst_pos = worst_att = 0.0
    for i, (x, y) in enumerate(zip(fa, fb)):
        if x != y and first is None:
            field = next(k for k in range(FIELDS) if x[k] != y[k])
            first = (i, x[0], field)
        worst_pos = max(worst_pos, *(abs(x[NORTH + k] - y[NORTH + k]) for k in range(3)))
        for k in range(3):
            d = abs(x[ROLL + k] - y[ROLL + k]) % 360.0
            worst_att = max(worst_att, min(d, 360.0 - d))
    if first is None:
        print("    every frame is the same")
    else:
        print("    first differing frame: %d (t = %.4f s, field %d) of %d" % (first[0] + 1, first[1], first[2], count))
        print("    largest difference: position %.6g m, attitude %.6g deg" % (worst_pos, worst_att))
        if worst_pos > POSITION_BOUND or worst_att > ATTITUDE_BOUND:
            print("    beyond the bound (%g m, %g deg)" % (POSITION_BOUND, ATTITUDE_BOUND))


main()
