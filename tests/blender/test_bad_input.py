"""Bad input: no curve selected, a one-point curve, a missing CLI, a failing CLI,
a CLI whose glTF Blender cannot read, an unreadable take, baking without a take.
Each gives a Blender error report with the reason and leaves the scene as it was."""

import os
import stat

import bpy

from kv_blender_test import Checks, arguments, enable_addon, scene_state, select_only, set_cli

args = arguments()
enable_addon(args)
checks = Checks()
scene = bpy.context.scene
scene.render.fps, scene.render.fps_base = 30, 1.0
scene.frame_start, scene.frame_end = 5, 77


def fake_cli(name, body):
    path = os.path.join(args.work, name)
    with open(path, "w", encoding="utf-8") as out:
        out.write("#!/bin/sh\n" + body)
    os.chmod(path, os.stat(path).st_mode | stat.S_IXUSR)
    return path


def expect_refused(label, call, reason):
    before = scene_state()
    try:
        result = call()
        message = "finished with %r" % result
        refused = False
    except RuntimeError as err:
        message = str(err)
        refused = True
    print("%s: %s" % (label, message.strip()))
    checks.expect(refused, "%s: not refused (%s)" % (label, message))
    checks.expect(reason in message, "%s: report %r does not say %r" % (label, message, reason))
    after = scene_state()
    checks.expect(after == before, "%s: scene changed: %r -> %r" % (label, before, after))


bpy.ops.mesh.primitive_cube_add()
cube = bpy.context.active_object
bpy.ops.curve.primitive_bezier_circle_add(radius=20.0)
circle = bpy.context.active_object

select_only(None)
expect_refused("nothing selected", bpy.ops.kestrovane.drive_along_curve, "Select a curve object")
select_only(cube)
expect_refused("a mesh selected", bpy.ops.kestrovane.drive_along_curve, "Select a curve object")

one = bpy.data.curves.new("OnePoint", 'CURVE')
one.splines.new('BEZIER')
one_obj = bpy.data.objects.new("OnePoint", one)
scene.collection.objects.link(one_obj)
select_only(one_obj)
expect_refused("one-point curve", bpy.ops.kestrovane.drive_along_curve, "one point")

select_only(circle)
set_cli("/nonexistent/kestrovane-cli")
expect_refused("missing CLI", bpy.ops.kestrovane.drive_along_curve, "was not found at /nonexistent")

set_cli(fake_cli("failing-cli", 'echo "kestrovane-cli simulate: The disk is full." >&2\nexit 1\n'))
expect_refused("failing CLI", bpy.ops.kestrovane.drive_along_curve, "The disk is full.")

# A tool that answers but writes a file Blender's importer cannot read: the
# import fails after the importer started, and nothing of it may stay.
broken = fake_cli("broken-gltf-cli", '''
case "$1" in
  info) echo '{"kind": "motion", "frames": 10, "duration": 0.5}' ;;
  convert) out=""; while [ $# -gt 0 ]; do [ "$1" = "-o" ] && out="$2"; shift; done
           printf 'glTF not really' > "$out" ;;
  simulate) out=""; while [ $# -gt 0 ]; do [ "$1" = "-o" ] && out="$2"; shift; done
            : > "$out"; echo "cross-track error (m): rms 0.10, worst 0.20 after point 1" ;;
esac
exit 0
''')
set_cli(broken)
expect_refused("unreadable glTF", bpy.ops.kestrovane.drive_along_curve, "glTF importer")

# A glTF that imports but holds no take (two unrelated node trees): the importer
# has already added objects when the take is found missing; all of them go again.
two_roots = os.path.join(args.work, "two-roots.gltf")
with open(two_roots, "w", encoding="utf-8") as out:
    out.write('{"asset": {"version": "2.0"}, "scene": 0, "scenes": [{"nodes": [0, 2]}], '
              '"nodes": [{"name": "a", "children": [1]}, {"name": "b"}, '
              '{"name": "c", "children": [3]}, {"name": "d"}]}')
set_cli(fake_cli("no-take-cli", '''
case "$1" in
  info) echo '{"kind": "motion", "frames": 10, "duration": 0.5}' ;;
  convert) out=""; while [ $# -gt 0 ]; do [ "$1" = "-o" ] && out="$2"; shift; done
           cp "%s" "$out" ;;
esac
exit 0
''' % two_roots))
fake_take = os.path.join(args.work, "fake.kvm")
open(fake_take, "wb").close()
expect_refused("glTF without a take", lambda: bpy.ops.kestrovane.import_take(filepath=fake_take),
               "has no body node")

set_cli(args.cli)
garbage = os.path.join(args.work, "garbage.kvm")
with open(garbage, "wb") as out:
    out.write(b"\x07\x00\x00\x00not a take at all")
expect_refused("unreadable take", lambda: bpy.ops.kestrovane.import_take(filepath=garbage), garbage)
expect_refused("missing take", lambda: bpy.ops.kestrovane.import_take(
    filepath=os.path.join(args.work, "absent.kvm")), "does not exist")

scene.kestrovane.take = None
scene.kestrovane.body = cube
expect_refused("bake without a take", bpy.ops.kestrovane.bake, "Import a take first")
checks.finish()
