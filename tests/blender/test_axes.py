"""The Blender <-> north/east/up mapping, both ways, against our glTF as Blender imports it."""

import math
import sys

from kv_blender_test import Checks, arguments

args = arguments()
sys.path.insert(0, args.addon_dir)
from kestrovane.axes import blender_to_neu, heading_deg, neu_to_blender  # noqa: E402

checks = Checks()
# (north, east, up) -> Blender (x, y, z): x = -east, y = -north, z = up.
cases = [
    ((1.0, 0.0, 0.0), (0.0, -1.0, 0.0)),
    ((0.0, 1.0, 0.0), (-1.0, 0.0, 0.0)),
    ((0.0, 0.0, 1.0), (0.0, 0.0, 1.0)),
    ((12.5, -3.25, 7.0), (3.25, -12.5, 7.0)),
]
for neu, blender in cases:
    checks.expect(neu_to_blender(neu) == blender, "neu_to_blender%r = %r, expected %r"
                  % (neu, neu_to_blender(neu), blender))
    checks.expect(blender_to_neu(blender) == neu, "blender_to_neu%r = %r, expected %r"
                  % (blender, blender_to_neu(blender), neu))
for p in [(0.3, -7.1, 2.2), (-100.0, 55.5, -0.01)]:
    back = neu_to_blender(blender_to_neu(p))
    checks.expect(all(abs(a - b) < 1e-12 for a, b in zip(back, p)), "round trip of %r gave %r" % (p, back))
# Headings: north is Blender -Y, east is Blender -X.
for to, expected in [((0, -1, 0), 0.0), ((-1, 0, 0), 90.0), ((0, 1, 0), 180.0), ((1, 0, 0), -90.0)]:
    got = heading_deg((0, 0, 0), to)
    checks.expect(math.isclose(got, expected, abs_tol=1e-9) or
                  (abs(expected) == 180.0 and math.isclose(abs(got), 180.0)),
                  "heading towards %r = %g, expected %g" % (to, got, expected))
checks.finish()
