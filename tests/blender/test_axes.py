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

# Our glTF as Blender's importer reads it: a take started at north 100 m, east 50 m
# and driven north by the tool lands at Blender (-50, -100), moves towards -Y and
# faces -Y; read back, its positions are the path's north and east.
import os  # noqa: E402
import subprocess  # noqa: E402

import bpy  # noqa: E402
from mathutils import Vector  # noqa: E402

from kv_blender_test import enable_addon  # noqa: E402

enable_addon(args)
from kestrovane.take_import import import_take  # noqa: E402

path = os.path.join(args.work, "north.csv")
with open(path, "w", encoding="utf-8") as out:
    out.write("north,east\n" + "".join("%d,50\n" % n for n in range(100, 131)))
kvm = os.path.join(args.work, "north.kvm")
subprocess.run([args.cli, "simulate", "--follow", path, "--speed", "20", "--units", "m",
                "--fps", "24", "--initial", "328.08,164.04,0,0,0,0,0,0,0,0,0,0", "-o", kvm],
               check=True, capture_output=True)
cg = import_take(bpy.context, args.cli, kvm)
scene = bpy.context.scene
scene.frame_set(scene.frame_start)
start = cg.matrix_world.translation.copy()
expected = Vector(neu_to_blender((100.0, 50.0, 0.0)))
checks.expect((start.xy - expected.xy).length < 0.05, "take starts at %r, not %r" % (start, expected))
forward = cg.matrix_world.to_3x3() @ Vector((0.0, -1.0, 0.0))
checks.expect(forward.y < -0.99, "the vehicle heading north faces Blender %r" % forward)
scene.frame_set(scene.frame_end)
north, east, up = blender_to_neu(cg.matrix_world.translation)
print("take ends at north %.2f, east %.2f, up %.2f" % (north, east, up))
checks.expect(abs(north - 130.0) < 1.0 and abs(east - 50.0) < 0.05 and 0.2 < up < 1.5,
              "take ends at north %.2f, east %.2f, up %.2f" % (north, east, up))
checks.finish()
