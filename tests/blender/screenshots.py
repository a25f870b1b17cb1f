"""The user guide's Blender pictures, taken in a real Blender window (run under
xvfb-run when there is no display):

  blender -b --factory-startup --python-expr \
      "import bpy; bpy.ops.wm.save_as_mainfile(filepath='/tmp/kv-empty.blend')"
  xvfb-run -a -s "-screen 0 1600x1000x24" blender --factory-startup \
      --enable-event-simulate /tmp/kv-empty.blend \
      --python tests/blender/screenshots.py -- --cli build/src/cli/kestrovane-cli \
      --addon-dir blender --work /tmp/kv-shots --out docs/guide

(Opening a file skips the splash screen; event simulation lets the script click
the sidebar's Kestrovane tab, which Blender 3.4 offers no other way to choose.)

Writes blender-panel.png (the Kestrovane tab after a drive along a curve, the take
in the viewport) and blender-baked.png (a primitive car baked onto the take).
"""

import math
import os
import sys

import bpy
from mathutils import Euler, Vector

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from kv_blender_test import enable_addon, select_only  # noqa: E402
import argparse  # noqa: E402

argv = sys.argv[sys.argv.index("--") + 1:]
parser = argparse.ArgumentParser()
for name in ("--cli", "--addon-dir", "--work", "--out"):
    parser.add_argument(name, required=True)
args = parser.parse_args(argv)
os.makedirs(args.work, exist_ok=True)
enable_addon(args)

scene = bpy.context.scene
for obj in list(scene.objects):
    bpy.data.objects.remove(obj)
scene.render.fps, scene.render.fps_base = 24, 1.0
settings = scene.kestrovane
settings.vehicle, settings.speed = 'car', 30.0

bpy.ops.curve.primitive_bezier_circle_add(radius=22.86, location=(0.0, 0.0, 0.0))
curve = bpy.context.active_object
curve.name = "Road"
curve.data.bevel_depth = 0.08
select_only(curve)
bpy.ops.kestrovane.drive_along_curve()
take = settings.take

# A car made of primitives, as an animator might block one in.
bpy.ops.mesh.primitive_cube_add(size=1.0, location=(0.0, 0.0, 0.65))
body = bpy.context.active_object
body.name = "MyCar"
body.scale = (1.7, 4.0, 0.7)
for name, x, y in (("Wheel.FL", 0.8, -1.2), ("Wheel.FR", -0.8, -1.2),
                   ("Wheel.RL", 0.8, 1.3), ("Wheel.RR", -0.8, 1.3)):
    bpy.ops.mesh.primitive_cylinder_add(radius=0.3, depth=0.22, vertices=12,
                                        location=(x, y, 0.3), rotation=(0.0, math.radians(90), 0.0))
    bpy.context.active_object.name = name
settings.body = body
bpy.ops.kestrovane.propose_wheels()
select_only(curve)


def view3d():
    for window in bpy.context.window_manager.windows:
        for area in window.screen.areas:
            if area.type == 'VIEW_3D':
                return window, area
    return None, None


def frame_view(area, location, distance, rotation):
    space = area.spaces.active
    space.show_region_ui = True
    r3d = space.region_3d
    r3d.view_perspective = 'PERSP'
    r3d.view_location = location
    r3d.view_distance = distance
    r3d.view_rotation = Euler(rotation).to_quaternion()
    space.shading.type = 'SOLID'

def click_kestrovane_tab():
    """The sidebar's tabs run down its right edge: Item, Tool, View, Kestrovane."""
    window, area = view3d()
    ui = next(r for r in area.regions if r.type == 'UI')
    x = ui.x + ui.width - 10
    y = ui.y + ui.height - 175
    for value in ('PRESS', 'RELEASE'):
        window.event_simulate(type='LEFTMOUSE', value=value, x=x, y=y)


steps = []


def shot(name):
    window, area = view3d()
    path = os.path.join(args.out, name)
    with bpy.context.temp_override(window=window, area=area):
        bpy.ops.screen.screenshot_area(filepath=path)
    print("wrote", path)


def step():
    if not steps:
        bpy.ops.wm.quit_blender()
        return None
    steps.pop(0)()
    return 0.5


def panel_shot():
    _, area = view3d()
    frame_view(area, Vector((0.0, 0.0, 0.0)), 75.0, (math.radians(50), 0.0, math.radians(20)))
    scene.frame_set(60)


def baked_shot():
    bpy.ops.kestrovane.bake()
    for obj in scene.objects:
        obj.select_set(False)
    _, area = view3d()
    scene.frame_set(120)
    frame_view(area, body.matrix_world.translation.copy(), 14.0,
               (math.radians(62), 0.0, math.radians(140)))


steps += [panel_shot, click_kestrovane_tab, lambda: None, lambda: shot("blender-panel.png"),
          baked_shot, lambda: None, lambda: shot("blender-baked.png")]
bpy.app.timers.register(step, first_interval=1.0)
