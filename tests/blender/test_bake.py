"""Bake onto My Vehicle with a car built from primitives (a box body, four
cylinder wheels with arbitrary names and rest rotations, two of them parented
to the body): after baking and removing the import, the body's world positions
match the take within 1 mm, every wheel has a key on every frame and keeps its
rest pose; with the add-on disabled and the .blend reloaded the animation stays."""

import math
import os

import addon_utils
import bpy
from mathutils import Euler, Vector

from kv_blender_test import Checks, arguments, enable_addon, select_only

args = arguments()
enable_addon(args)
checks = Checks()
scene = bpy.context.scene
scene.render.fps, scene.render.fps_base = 24, 1.0
settings = scene.kestrovane

bpy.ops.curve.primitive_bezier_circle_add(radius=22.86, location=(5.0, -3.0, 0.0))
select_only(bpy.context.active_object)
checks.expect(bpy.ops.kestrovane.drive_along_curve() == {'FINISHED'}, "drive failed")
cg = settings.take
take_objects = [cg.name] + [c.name for c in cg.children_recursive]
first, last = scene.frame_start, scene.frame_end
take_positions, take_rotations = {}, {}
for f in range(first, last + 1):
    scene.frame_set(f)
    take_positions[f] = cg.matrix_world.translation.copy()
    take_rotations[f] = cg.matrix_world.to_quaternion()

# The user's car, away from the take, facing Blender -Y.
bpy.ops.mesh.primitive_cube_add(size=1.0, location=(20.0, 30.0, 0.6))
body = bpy.context.active_object
body.name = "Chassis"
body.scale = (1.6, 3.6, 0.5)
body.rotation_euler = Euler((0.0, 0.0, math.radians(3.0)))
wheel_specs = [  # name, offset from the body, rest rotation (deg), parented
    ("tyre.003", (0.75, -1.15, -0.3), (0, 90, 0), False),
    ("Wheel_other", (-0.75, -1.15, -0.3), (10, 90, 0), True),
    ("RearWheel_x", (0.75, 1.3, -0.3), (0, 90, 45), True),
    ("my_tire", (-0.75, 1.3, -0.3), (-30, -90, 0), False),
]
bpy.context.view_layer.update()
wheels = {}
for name, offset, rot, parented in wheel_specs:
    bpy.ops.mesh.primitive_cylinder_add(radius=0.3, depth=0.2,
                                        location=Vector((20.0, 30.0, 0.6)) + Vector(offset))
    w = bpy.context.active_object
    w.name = name
    w.rotation_euler = Euler([math.radians(a) for a in rot])
    if parented:
        bpy.context.view_layer.update()
        world = w.matrix_world.copy()
        w.parent = body
        w.matrix_parent_inverse = body.matrix_world.inverted()
        w.matrix_world = world
    wheels[name] = w
bpy.context.view_layer.update()
rest = {n: body.matrix_world.inverted() @ w.matrix_world for n, w in wheels.items()}
body_rest_rot = body.matrix_world.to_quaternion()

settings.body = body
checks.expect(bpy.ops.kestrovane.propose_wheels() == {'FINISHED'}, "propose failed")
proposed = [getattr(settings, "wheel_%d" % i) for i in range(1, 7)]
expected = [wheels["tyre.003"], wheels["Wheel_other"], wheels["RearWheel_x"], wheels["my_tire"], None, None]
checks.expect(proposed == expected, "proposed wheels %r" % [p.name if p else None for p in proposed])

# Baking twice starts from the same rest pose, not from where the first bake left things.
settings.remove_import = False
scene.frame_set(first + 100)
checks.expect(bpy.ops.kestrovane.bake() == {'FINISHED'}, "first bake failed")
settings.remove_import = True
scene.frame_set(first + 200)
checks.expect(bpy.ops.kestrovane.bake() == {'FINISHED'}, "bake failed")
left = [n for n in take_objects if n in bpy.data.objects]
checks.expect(not left, "the import's objects are still there: %r" % left)


def check_animation(stage):
    body = bpy.data.objects["Chassis"]
    worst = 0.0
    for f in range(first, last + 1):
        scene.frame_set(f)
        worst = max(worst, (body.matrix_world.translation - take_positions[f]).length)
    print("%s: body off the take by at most %.6f m over %d frames" % (stage, worst, last - first + 1))
    checks.expect(worst <= 0.001, "%s: body %.4f m off the take" % (stage, worst))
    for name in wheels:
        w = bpy.data.objects[name]
        action = w.animation_data.action if w.animation_data else None
        if not checks.expect(action is not None, "%s: %s has no action" % (stage, name)):
            continue
        for fc in action.fcurves:
            frames = [round(k.co.x) for k in fc.keyframe_points]
            checks.expect(frames == list(range(first, last + 1)),
                          "%s: %s %s[%d] keyed on %d frames, %d wanted" % (
                              stage, name, fc.data_path, fc.array_index, len(frames), last - first + 1))
        # At the first frame the wheel sits where it sat on the body at rest.
        scene.frame_set(first)
        want = body.matrix_world @ rest[name]
        off = max(abs(a - b) for ra, rb in zip(want, w.matrix_world) for a, b in zip(ra, rb))
        checks.expect(off < 1e-4, "%s: %s lost its rest pose on the body (%.6f)" % (stage, name, off))
        # And it turns: half a second later it has spun relative to the body.
        scene.frame_set(first + 48)
        later = body.matrix_world.inverted() @ w.matrix_world
        spun = later.to_quaternion().rotation_difference(rest[name].to_quaternion()).angle
        checks.expect(spun > 0.1, "%s: %s does not turn (%.3f rad)" % (stage, name, spun))
    scene.frame_set(first)
    turned = (take_rotations[first] @ body_rest_rot).to_matrix()
    got = body.matrix_world.to_quaternion().to_matrix()
    checks.expect(max(abs(a - b) for ra, rb in zip(turned, got) for a, b in zip(ra, rb)) < 1e-4,
                  "%s: the body's own rest rotation is not kept on the take" % stage)


check_animation("baked")
blend = os.path.join(args.work, "baked.blend")
bpy.ops.wm.save_as_mainfile(filepath=blend)
addon_utils.disable("kestrovane", default_set=True)
checks.expect(not hasattr(bpy.ops.kestrovane, "bake") or "kestrovane" not in
              bpy.context.preferences.addons, "the add-on is still enabled")
bpy.ops.wm.open_mainfile(filepath=blend, load_ui=False)
scene = bpy.context.scene
check_animation("reloaded without the add-on")
checks.finish()
