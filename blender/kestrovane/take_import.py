"""A take (.kvm) into the scene: `kestrovane-cli convert gltf` writes it as
glTF and Blender's own importer reads it. On any failure the scene is left as
it was: every datablock the import added is removed again."""

import contextlib
import os
import re
import shutil
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


def _find_cg(new_objects, prefix, fallback=True):
    """The body node "<prefix>.CG" among the imported objects (Blender adds
    ".001" when the name is taken); without one, a take's lone root."""
    wanted = prefix + ".CG"
    for obj in new_objects:
        if obj.name == wanted or obj.name.startswith(wanted + "."):
            return obj
    if not fallback:
        return None
    roots = [o for o in new_objects if o.parent is None and o.children]
    return roots[0] if len(roots) == 1 else None


def convert_args(kvm_path, glb_path, project_path=None, camera_path=None):
    """The tool's glTF conversion: the take alone, or (with a project) the whole
    scene of terrain, scenery and objects with the take and camera in it."""
    if project_path:
        args = ["convert", "gltf", "--project", project_path]
        if kvm_path:
            args += ["--take", kvm_path]
        if camera_path:
            args += ["--camera", camera_path]
        return args + ["-o", glb_path]
    return ["convert", "gltf", kvm_path, "-o", glb_path]


def _rate(info, fallback):
    """Frames per second of a motion described by `kestrovane-cli info`."""
    frames = int(info.get("frames", 0))
    duration = float(info.get("duration", 0.0))
    return max(1, int(round(frames / duration))) if frames > 0 and duration > 0 else fallback


def _import_glb(context, cli, args, glb, fps, find_body, what):
    """Runs the conversion and Blender's importer at `fps`; returns (body node,
    imported objects). `find_body` picks the body node from the new objects.
    On any failure everything the import added is removed and the scene's rate,
    range, current frame and camera are put back."""
    scene = context.scene
    saved = (scene.render.fps, scene.render.fps_base, scene.frame_start, scene.frame_end,
             scene.frame_current, scene.camera)
    try:
        kvcli.run(cli, args)
        return _import_converted(scene, glb, fps, find_body, what, saved)
    finally:
        # The glTF file is read into the scene; a whole terrain need not stay on disk.
        shutil.rmtree(os.path.dirname(glb), ignore_errors=True)


def _import_converted(scene, glb, fps, find_body, what, saved):
    before = _snapshot()
    try:
        # The importer keys frame = time x scene rate: set the take's rate first.
        scene.render.fps, scene.render.fps_base = fps, 1.0
        try:
            with _numpy_bool_alias():
                result = bpy.ops.import_scene.gltf(filepath=glb)
        except RuntimeError as err:
            raise kvcli.CliError("Blender's glTF importer could not read the %s: %s"
                                 % (what, err)) from err
        if 'FINISHED' not in result:
            raise kvcli.CliError("Blender's glTF importer could not read the %s." % what)
        new_objects = [o for o in bpy.data.objects if o not in before["objects"]]
        return find_body(new_objects), new_objects
    except BaseException:
        _remove_added(before)
        scene.render.fps, scene.render.fps_base = saved[0], saved[1]
        scene.frame_start, scene.frame_end = saved[2], saved[3]
        scene.frame_set(saved[4])
        scene.camera = saved[5]
        raise


def _frame_range(objects):
    """(first, last) frame over the actions of `objects`, or None without keys."""
    ranges = [o.animation_data.action.frame_range for o in objects
              if o.animation_data and o.animation_data.action]
    if not ranges:
        return None
    return int(round(min(r[0] for r in ranges))), int(round(max(r[1] for r in ranges)))


def _mark_body(cg, take_path, prefix, info):
    cg["kestrovane_take"] = take_path
    # Which effectors roll on the ground, so a bake gives the wheels those.
    tires = [e.get("name", "") for e in info.get("effectors", []) if e.get("kind") == "tire"]
    cg["kestrovane_tires"] = ",".join(prefix + "." + t for t in tires if t)


def import_take(context, cli, kvm_path, project_path=None):
    """Imports the take; returns its body-node object. Sets the scene's frame
    rate and range to the take's. Raises CliError, leaving the scene untouched.

    `project_path` brings the project's whole scene in with the take."""
    if project_path:
        return import_project(context, cli, project_path, kvm_path)
    if not os.path.isfile(kvm_path):
        raise kvcli.CliError("The take %s does not exist." % kvm_path)
    info = kvcli.motion_info(cli, kvm_path)
    frames = int(info["frames"])
    stem = os.path.splitext(os.path.basename(kvm_path))[0]
    scene = context.scene
    glb = os.path.join(tempfile.mkdtemp(prefix="kestrovane-"), stem + ".glb")

    def body(new_objects):
        cg = _find_cg(new_objects, stem)
        if cg is None:
            raise kvcli.CliError("The take %s has no body node (%s.CG)." % (kvm_path, stem))
        return cg

    cg, _ = _import_glb(context, cli, convert_args(kvm_path, glb), glb,
                        _rate(info, scene.render.fps), body, "take")
    _mark_body(cg, kvm_path, stem, info)
    span = _frame_range([cg])
    scene.frame_start, scene.frame_end = span if span else (1, frames)
    scene.frame_set(scene.frame_start)
    return cg


def project_body_name(project_info):
    """The node prefix of the project's simulated object in a whole-scene file:
    its name as the project holds it (the first object, named first)."""
    objects = project_info.get("objects") or []
    if not objects:
        return None
    return objects[0].get("name") or "Object"


def import_project(context, cli, kvp_path, kvm_path="", camera_path=""):
    """Imports a project's whole scene (terrain, scenery, every object and the
    camera), with `kvm_path` as the simulated object's take when given, and
    returns the simulated object's body node. With a take the scene's rate and
    range are the take's; without one, those of the project's stored motion.
    Raises CliError, leaving the scene untouched."""
    if not os.path.isfile(kvp_path):
        raise kvcli.CliError("The project %s does not exist." % kvp_path)
    for label, path in (("take", kvm_path), ("camera", camera_path)):
        if path and not os.path.isfile(path):
            raise kvcli.CliError("The %s %s does not exist." % (label, path))
    project = kvcli.project_info(cli, kvp_path)
    prefix = project_body_name(project)
    if prefix is None:
        raise kvcli.CliError("The project %s holds no objects." % kvp_path)
    scene = context.scene
    if kvm_path:
        info = kvcli.motion_info(cli, kvm_path)
        fps = _rate(info, scene.render.fps)
    else:
        info = project["objects"][0]
        moving = [o for o in project["objects"] if int(o.get("frames", 0)) > 1]
        fps = _rate(moving[0], scene.render.fps) if moving else scene.render.fps
    stem = os.path.splitext(os.path.basename(kvp_path))[0]
    glb = os.path.join(tempfile.mkdtemp(prefix="kestrovane-"), safe_take_name(stem) + ".glb")

    def body(new_objects):
        cg = _find_cg(new_objects, prefix, fallback=False)
        if cg is None:
            raise kvcli.CliError("The scene of %s has no body node for \"%s\" (%s.CG)."
                                 % (kvp_path, prefix, prefix))
        return cg

    cg, new_objects = _import_glb(context, cli,
                                  convert_args(kvm_path, glb, kvp_path, camera_path), glb, fps,
                                  body, "project's scene")
    _mark_body(cg, kvm_path, prefix, info)
    span = _frame_range([cg] if kvm_path else new_objects)
    if span is not None:
        scene.frame_start, scene.frame_end = span
    cameras = [o for o in new_objects if o.type == 'CAMERA']
    if cameras:
        scene.camera = cameras[0]
    scene.frame_set(scene.frame_start)
    return cg
