"""Import Take's project form: a project saved with a hilly terrain, its car driven
over it by kestrovane-cli with the camera recorded, then File > Import > Kestrovane
Project (.kvp) with that take and camera. The terrain mesh, the scene camera and
the animated body node are there; the scene's rate and range are the take's; the
body rides where the take alone puts it; Bake onto My Vehicle finds the body and
the tires. A bad project, a take of another vehicle and a missing take each give a
report and leave the scene as it was. Without a take the project comes in still."""

import json
import math
import os
import subprocess

import bpy

from kv_blender_test import Checks, arguments, enable_addon, scene_state, select_only

args = arguments()
enable_addon(args)
checks = Checks()
scene = bpy.context.scene
scene.render.fps, scene.render.fps_base = 30, 1.0
scene.frame_start, scene.frame_end = 5, 77
settings = scene.kestrovane


def run(*command):
    done = subprocess.run(list(command), capture_output=True, text=True, check=False)
    assert done.returncode == 0, "%s failed: %s" % (command[0], done.stderr)
    return done.stdout


def work(name):
    return os.path.join(args.work, name)


def hills_dxf(path):
    """Gentle hills as 3DFACEs, 240 ft across (north, east, down in feet)."""
    def down(x, y):
        return -1.5 * math.sin(x / 35.0) * math.cos(y / 45.0)
    cells, half = 24, 120.0
    step = 2.0 * half / cells
    lines = ["0", "SECTION", "2", "ENTITIES"]
    for i in range(cells):
        for j in range(cells):
            x0, y0 = -half + i * step, -half + j * step
            corners = [(x0, y0), (x0 + step, y0), (x0 + step, y0 + step), (x0, y0 + step)]
            lines += ["0", "3DFACE", "8", "Ground"]
            for k, (x, y) in enumerate(corners):
                lines += ["1%d" % k, repr(x), "2%d" % k, repr(y), "3%d" % k, repr(down(x, y))]
    lines += ["0", "ENDSEC", "0", "EOF"]
    with open(path, "w", encoding="ascii") as out:
        out.write("\n".join(lines) + "\n")


checks.expect(bool(args.make_project), "no project maker given (--make-project)")
hills_dxf(work("hills.dxf"))
project = work("scene.kvp")
run(args.make_project, work("hills.dxf"), project)
with open(work("drive.csv"), "w", encoding="ascii") as out:
    out.write("time,x,y,a,b,key\n0,0.15,-0.4,0,0,F6\n")
take, camera = work("car.kvm"), work("cam.kvm")
run(args.cli, "simulate", "--project", project, "--controls", work("drive.csv"),
    "--duration", "3", "--fps", "24", "-o", take, "--camera-out", camera)
info = json.loads(run(args.cli, "info", take))
frames = int(info["frames"])

# A bad project first: nothing changes, and the report names the file.
with open(work("junk.kvp"), "w", encoding="ascii") as out:
    out.write("not a project at all")
with open(work("bike.csv"), "w", encoding="ascii") as out:
    out.write("time,x,y,a,b,key\n0,0,-0.2,0,0,\n")
run(args.cli, "simulate", "--vehicle", "motorcycle", "--controls", work("bike.csv"),
    "--duration", "1", "-o", work("bike.kvm"))


def expect_refused(label, reason, **props):
    before = scene_state()
    try:
        result = bpy.ops.kestrovane.import_project(**props)
        message, refused = "finished with %r" % result, False
    except RuntimeError as err:
        message, refused = str(err), True
    print("%s: %s" % (label, message.strip()))
    checks.expect(refused, "%s: not refused (%s)" % (label, message))
    checks.expect(reason in message, "%s: report %r does not say %r" % (label, message, reason))
    after = scene_state()
    checks.expect(after == before, "%s: scene changed: %r -> %r" % (label, before, after))


expect_refused("unreadable project", "junk.kvp", filepath=work("junk.kvp"), take_path=take)
expect_refused("missing project", "none.kvp", filepath=work("none.kvp"))
expect_refused("take of another vehicle", "bike.kvm", filepath=project,
               take_path=work("bike.kvm"))
expect_refused("missing take", "gone.kvm", filepath=project, take_path=work("gone.kvm"))
expect_refused("camera that is a take", "car.kvm", filepath=project, take_path=take,
               camera_path=take)

result = bpy.ops.kestrovane.import_project(filepath=project, take_path=take, camera_path=camera)
checks.expect(result == {'FINISHED'}, "import finished with %r" % result)
terrain = bpy.data.objects.get("Terrain")
checks.expect(terrain is not None and terrain.type == 'MESH' and len(terrain.data.polygons) > 1000,
              "no terrain mesh: %r" % terrain)
checks.expect(scene.camera is not None and scene.camera.type == 'CAMERA'
              and scene.camera.name.startswith("Camera"), "scene camera %r" % scene.camera)
checks.expect(scene.camera is not None and scene.camera.animation_data is not None
              and scene.camera.animation_data.action is not None, "the camera is not animated")
cg = settings.take
checks.expect(cg is not None and cg.name == "Car.CG", "body node %r" % (cg and cg.name))
checks.expect(scene.render.fps == 24 and scene.render.fps_base == 1.0,
              "rate %r/%r, the take's is 24" % (scene.render.fps, scene.render.fps_base))
checks.expect(scene.frame_end - scene.frame_start + 1 == frames,
              "frames %d-%d for a take of %d frames" % (scene.frame_start, scene.frame_end, frames))

first, last = scene.frame_start, scene.frame_end
positions = {}
for f in range(first, last + 1):
    scene.frame_set(f)
    positions[f] = cg.matrix_world.translation.copy()
travel = (positions[last] - positions[first]).length
checks.expect(travel > 5.0, "the body moved only %.2f m" % travel)

# The take alone, as Import Take brings it: the body rides the same path.
checks.expect(bpy.ops.kestrovane.import_take(filepath=take) == {'FINISHED'}, "take import failed")
alone = settings.take
checks.expect((scene.frame_start, scene.frame_end) == (first, last),
              "the take alone spans %d-%d" % (scene.frame_start, scene.frame_end))
worst = 0.0
for f in range(first, last + 1):
    scene.frame_set(f)
    worst = max(worst, (alone.matrix_world.translation - positions[f]).length)
print("project body vs take alone: worst %.6f m" % worst)
checks.expect(worst < 1e-3, "the project's body is %.4f m from the take's" % worst)
bpy.ops.object.select_all(action='DESELECT')
from kestrovane.take_import import remove_take  # noqa: E402
remove_take(alone)

# Bake onto My Vehicle from the project import: a box and four named wheels.
from kestrovane import bake as kvbake  # noqa: E402
checks.expect(sorted(e.name for e in kvbake.take_effectors(cg)) ==
              ["Car.FrontLeftTire", "Car.FrontRightTire", "Car.RearLeftTire", "Car.RearRightTire"],
              "tires %r" % [e.name for e in kvbake.take_effectors(cg)])
settings.take = cg
bpy.ops.mesh.primitive_cube_add(size=1.0, location=(20.0, 30.0, 0.6))
body = bpy.context.active_object
for name, x, y in (("wheel_fl", 0.75, -1.2), ("wheel_fr", -0.75, -1.2),
                   ("wheel_rl", 0.75, 1.3), ("wheel_rr", -0.75, 1.3)):
    bpy.ops.mesh.primitive_cylinder_add(radius=0.3, depth=0.2, location=(20.0 + x, 30.0 + y, 0.3))
    bpy.context.active_object.name = name
settings.body = body
select_only(body)
checks.expect(bpy.ops.kestrovane.propose_wheels() == {'FINISHED'}, "propose wheels failed")
settings.remove_import = True
checks.expect(bpy.ops.kestrovane.bake() == {'FINISHED'}, "bake failed")
checks.expect(bpy.data.objects.get("Car.CG") is None, "the body node was not removed")
checks.expect(bpy.data.objects.get("Terrain") is not None, "the terrain went with the take")
worst = 0.0
for f in range(first, last + 1):
    scene.frame_set(f)
    worst = max(worst, (body.matrix_world.translation - positions[f]).length)
print("baked body vs project take: worst %.6f m" % worst)
checks.expect(worst < 1e-3, "the baked body is %.4f m from the take" % worst)
for i in range(1, 5):
    wheel = getattr(settings, "wheel_%d" % i)
    action = wheel.animation_data.action if wheel and wheel.animation_data else None
    keyed = action is not None and all(
        sorted(int(k.co[0]) for k in c.keyframe_points) == list(range(first, last + 1))
        for c in action.fcurves)
    checks.expect(keyed, "wheel %d is not keyed on frames %d-%d" % (i, first, last))

# Without a take the car stands at its initial conditions: the project has no
# stored motion, so the scene's range and camera stay as they were.
scene.frame_start, scene.frame_end = 3, 40
still_camera = scene.camera
checks.expect(bpy.ops.kestrovane.import_project(filepath=project) == {'FINISHED'},
              "import without a take failed")
checks.expect(settings.take is not None and settings.take.name.startswith("Car.CG"),
              "no body node without a take: %r" % settings.take)
checks.expect((scene.frame_start, scene.frame_end) == (3, 40) and scene.camera == still_camera,
              "a still project changed the range to %d-%d" % (scene.frame_start, scene.frame_end))
checks.finish()
