"""A take (.kvm) into the scene: `kestrovane-cli convert gltf` writes it as
glTF and Blender's own importer reads it. On any failure the scene is left as
it was: every datablock the import added is removed again."""

import contextlib
import os
import re
import tempfile

import bpy

from . import cli as kvcli

# Datablock collections an import can add to.
_TRACKED = ("objects", "meshes", "materials", "actions", "collections", "images", "textures")


def safe_take_name(name):
    """A file base name that survives as the take's node prefix ("<name>.CG")."""
    cleaned = re.sub(r"[^A-Za-z0-9_-]+", "_", name).strip("_")
    return cleaned or "take"


@contextlib.contextmanager
def _numpy_bool_alias():
    """Blender 3.4's glTF importer still writes `np.bool`, which NumPy 1.24 removed
    (Debian pairs the two). The old alias is lent for the import and taken back."""
    try:
        import numpy
    except ImportError:
        yield
        return
    lent = "bool" not in numpy.__dict__
    if lent:
        numpy.bool = bool
    try:
        yield
    finally:
        if lent:
            del numpy.bool


def _snapshot():
    return {kind: set(getattr(bpy.data, kind)) for kind in _TRACKED}


def _remove_added(before):
    """Removes whatever appeared in bpy.data since `before`, objects first."""
    for kind in _TRACKED:
        store = getattr(bpy.data, kind)
        for block in [b for b in store if b not in before[kind]]:
            try:
                store.remove(block)
            except (ReferenceError, RuntimeError):
                pass


def remove_take(cg):
    """Removes an imported take: its body node, everything below it and their data."""
    doomed = [cg] + list(cg.children_recursive)
    actions = {o.animation_data.action for o in doomed
               if o.animation_data and o.animation_data.action}
    meshes = {o.data for o in doomed if o.type == 'MESH'}
    for obj in doomed:
        bpy.data.objects.remove(obj)
    for action in actions:
        if action.users == 0:
            bpy.data.actions.remove(action)
    for mesh in meshes:
        if mesh.users == 0:
            bpy.data.meshes.remove(mesh)


def _find_cg(new_objects, stem):
    wanted = stem + ".CG"
    for obj in new_objects:
        if obj.name == wanted or obj.name.startswith(wanted + "."):
            return obj
    roots = [o for o in new_objects if o.parent is None and o.children]
    return roots[0] if len(roots) == 1 else None


def convert_args(kvm_path, glb_path, project_path=None):
    """The tool's glTF conversion: the take alone, or (with a project) the whole
    scene of terrain, scenery and objects with the take in it."""
    if project_path:
        return ["convert", "gltf", "--project", project_path, "--take", kvm_path, "-o", glb_path]
    return ["convert", "gltf", kvm_path, "-o", glb_path]


def import_take(context, cli, kvm_path, project_path=None):
    """Imports the take; returns its body-node object. Sets the scene's frame
    rate and range to the take's. Raises CliError, leaving the scene untouched.

    `project_path` brings the project's whole scene in with the take; it needs
    a tool whose `convert gltf` takes `--project`."""
    if not os.path.isfile(kvm_path):
        raise kvcli.CliError("The take %s does not exist." % kvm_path)
    info = kvcli.motion_info(cli, kvm_path)
    frames = int(info["frames"])
    duration = float(info.get("duration", 0.0))
    stem = os.path.splitext(os.path.basename(kvm_path))[0]
    scene = context.scene
    saved = (scene.render.fps, scene.render.fps_base, scene.frame_start, scene.frame_end,
             scene.frame_current)
    fps = int(round(frames / duration)) if duration > 0 else scene.render.fps
    fps = max(1, fps)

    folder = tempfile.mkdtemp(prefix="kestrovane-")
    glb = os.path.join(folder, stem + ".glb")
    kvcli.run(cli, convert_args(kvm_path, glb, project_path))

    before = _snapshot()
    try:
        # The importer keys frame = time x scene rate: set the take's rate first.
        scene.render.fps, scene.render.fps_base = fps, 1.0
        try:
            with _numpy_bool_alias():
                result = bpy.ops.import_scene.gltf(filepath=glb)
        except RuntimeError as err:
            raise kvcli.CliError("Blender's glTF importer could not read the take: %s" % err) from err
        if 'FINISHED' not in result:
            raise kvcli.CliError("Blender's glTF importer could not read the take.")
        new_objects = [o for o in bpy.data.objects if o not in before["objects"]]
        cg = _find_cg(new_objects, stem)
        if cg is None:
            raise kvcli.CliError("The take %s has no body node (%s.CG)." % (kvm_path, stem))
        cg["kestrovane_take"] = kvm_path
        # Which effectors roll on the ground, so a bake gives the wheels those.
        tires = [e.get("name", "") for e in info.get("effectors", []) if e.get("kind") == "tire"]
        cg["kestrovane_tires"] = ",".join(stem + "." + t for t in tires if t)
        action = cg.animation_data.action if cg.animation_data else None
        if action is not None:
            first, last = action.frame_range
            scene.frame_start, scene.frame_end = int(round(first)), int(round(last))
        else:
            scene.frame_start, scene.frame_end = 1, frames
        scene.frame_set(scene.frame_start)
        return cg
    except BaseException:
        _remove_added(before)
        scene.render.fps, scene.render.fps_base = saved[0], saved[1]
        scene.frame_start, scene.frame_end = saved[2], saved[3]
        scene.frame_set(saved[4])
        raise
