# Imports a glTF file written by Kestrovane with Blender's own glTF importer,
# as an animator would, and prints one line "KV_IMPORT {json}" saying what
# Blender made of it: its objects by type, the camera objects, the mesh
# objects named "Terrain", the frame rate and the frame range of the
# animation (first and last keyed frame over every action).
# Usage: blender -b --factory-startup --python gltf_import_check.py -- FILE.glb
import json
import sys

import bpy
import numpy

# Blender 3.4's importer still names numpy.bool, an alias that the numpy
# beside it (1.24 on Debian 12) no longer has.
if "bool" not in numpy.__dict__:
    numpy.bool = bool

path = sys.argv[sys.argv.index("--") + 1]
bpy.ops.wm.read_factory_settings(use_empty=True)
bpy.ops.import_scene.gltf(filepath=path)

scene = bpy.context.scene
fps = scene.render.fps / scene.render.fps_base
objects = list(bpy.data.objects)
first, last = None, None
for action in bpy.data.actions:
    start, end = action.frame_range
    first = start if first is None else min(first, start)
    last = end if last is None else max(last, end)
result = {
    "objects": len(objects),
    "cameras": [o.name for o in objects if o.type == "CAMERA"],
    "terrain": [o.name for o in objects if o.type == "MESH" and o.name.startswith("Terrain")],
    "meshes": len([o for o in objects if o.type == "MESH"]),
    "fps": fps,
    "start_frame": first,
    "end_frame": last,
    "scene_start": scene.frame_start,
    "scene_end": scene.frame_end,
}
print("KV_IMPORT " + json.dumps(result))
