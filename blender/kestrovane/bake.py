"""Bake onto My Vehicle: the user's body follows the take's body node and each
wheel its effector, relative to the body, keeping the wheel's own rest pose.
Keys are written straight into new F-curves on every frame of the take, so the
result needs neither this add-on nor Blender's bake operators to play back."""

import math

import bpy
from mathutils import Matrix

from .cli import CliError

WHEEL_WORDS = ("wheel", "tire", "tyre")
MAX_WHEELS = 6


def take_effectors(cg):
    """The take's nodes that wheels follow: its tire effectors when the import
    named them, else every effector (the empties directly below the body node)."""
    effectors = [c for c in cg.children if c.type == 'EMPTY']
    tires = set(filter(None, str(cg.get("kestrovane_tires", "")).split(",")))
    rolling = [e for e in effectors if e.name in tires or e.name.rsplit(".", 1)[0] in tires]
    return rolling or effectors


def _side_and_end(offset):
    """(left?, front?) of a point in the vehicle's frame (front is -Y, left is +X)."""
    return offset.x > 0.0, offset.y < 0.0


def propose_wheels(context, body, exclude=()):
    """Objects that look like the body's wheels, front-left, front-right, rear-left,
    rear-right first: by name (wheel, tire, tyre), else the body's children."""
    skip = set(exclude) | {body}
    named = [o for o in context.scene.objects if o not in skip and o.type in ('MESH', 'EMPTY')
             and any(w in o.name.lower() for w in WHEEL_WORDS)]
    candidates = named or [o for o in body.children if o.type == 'MESH']
    origin = body.matrix_world.translation

    def rank(obj):
        offset = obj.matrix_world.translation - origin
        left, front = _side_and_end(offset)
        return (0 if front else 1, 0 if left else 1, offset.y, -offset.x)

    return sorted(candidates, key=rank)[:MAX_WHEELS]


def _match_effectors(wheel_offsets, effector_offsets):
    """Index of the effector for each wheel: same side and end first, then nearest."""
    matches = []
    for w in wheel_offsets:
        best, best_key = None, None
        for i, e in enumerate(effector_offsets):
            same = _side_and_end(w) == _side_and_end(e)
            key = (0 if same else 1, (w - e).length)
            if best_key is None or key < best_key:
                best, best_key = i, key
        matches.append(best)
    return matches


def _rot_scale(m):
    out = m.copy()
    out.translation = (0.0, 0.0, 0.0)
    return out


# Largest rotation error (rad) an Euler key may carry before the object is keyed
# in quaternions instead: near gimbal lock (a wheel turned 90 degrees about Y,
# the usual way to stand a cylinder up) single-precision Eulers lose too much.
EULER_TOLERANCE = 1e-5


class _Keys:
    """Location, rotation and scale keys of one object, written at the end in one go."""

    def __init__(self, obj):
        self.obj = obj
        self.frames, self.loc, self.quat, self.scale = [], [], [], []

    def add(self, frame, basis):
        loc, rot, scale = basis.decompose()
        if self.quat:
            rot.make_compatible(self.quat[-1])
        self.frames.append(frame)
        self.loc.append(loc)
        self.quat.append(rot)
        self.scale.append(scale)

    def _rotation_keys(self):
        """(data path, values): the object's own Euler order when it holds the
        rotations exactly, else quaternions (and the object switched to them)."""
        mode = self.obj.rotation_mode
        if mode not in ('QUATERNION', 'AXIS_ANGLE'):
            eulers, previous = [], None
            for q in self.quat:
                e = q.to_euler(mode, previous) if previous is not None else q.to_euler(mode)
                eulers.append(e)
                previous = e
            if all(e.to_quaternion().rotation_difference(q).angle <= EULER_TOLERANCE or
                   2.0 * math.pi - e.to_quaternion().rotation_difference(q).angle <= EULER_TOLERANCE
                   for e, q in zip(eulers, self.quat)):
                return "rotation_euler", eulers
        self.obj.rotation_mode = 'QUATERNION'
        return "rotation_quaternion", self.quat

    def write(self, action_name):
        obj = self.obj
        rot_path, rotations = self._rotation_keys()
        curves = _new_action_curves(obj, action_name)
        for path, values, size in (("location", self.loc, 3), (rot_path, rotations, len(rotations[0])),
                                   ("scale", self.scale, 3)):
            for index in range(size):
                curve = curves.new(path, index=index, action_group=obj.name)
                curve.keyframe_points.add(len(self.frames))
                coords = []
                for frame, value in zip(self.frames, values):
                    coords += (float(frame), float(value[index]))
                curve.keyframe_points.foreach_set("co", coords)
                curve.keyframe_points.foreach_set("interpolation", [1] * len(self.frames))
                curve.update()


def _new_action_curves(obj, action_name):
    """A new action assigned to the object; returns the collection its F-curves
    are made in: the action's own up to Blender 4.5 (from 4.4 a compatibility
    view of the first slot), a slot's channel bag in the layered actions of 5.0,
    which no longer offer Action.fcurves. Only the first path is tested here."""
    anim = obj.animation_data or obj.animation_data_create()
    action = bpy.data.actions.new(action_name)
    if hasattr(action, "fcurves"):
        anim.action = action
        return action.fcurves
    slot = action.slots.new(id_type='OBJECT', name=obj.name)
    strip = action.layers.new("Layer").strips.new(type='KEYFRAME')
    anim.action = action
    anim.action_slot = slot
    return strip.channelbag(slot, ensure=True).fcurves


def _basis(obj, world, known_worlds):
    """The object's local matrix that puts it at `world`, under its parent's pose this frame."""
    if obj.parent is None:
        return world
    parent_world = known_worlds.get(obj.parent, obj.parent.matrix_world)
    return (parent_world @ obj.matrix_parent_inverse).inverted() @ world


# Custom property that keeps an object's world matrix from before its first bake
# (16 floats, row by row), so baking again starts from the same rest pose and
# not from wherever the earlier bake left the object.
REST_PROPERTY = "kestrovane_rest"


def rest_pose(obj):
    """The object's world matrix at rest: as stored by an earlier bake while it
    still plays that bake's action, else where it is now."""
    stored = obj.get(REST_PROPERTY)
    action = obj.animation_data.action if obj.animation_data else None
    if stored is not None and len(stored) == 16 and action is not None and \
            action.name.startswith(obj.name + ".Kestrovane"):
        return Matrix([stored[0:4], stored[4:8], stored[8:12], stored[12:16]])
    return obj.matrix_world.copy()


def bake(context, cg, body, wheels):
    """Keys the body and wheels on every frame of the take. Returns the frame range."""
    if cg is None or cg.name not in context.scene.objects:
        raise CliError("Import a take first (Drive Along Curve or File > Import > Kestrovane Take).")
    if body is None:
        raise CliError("Choose the body object of your vehicle.")
    wheels = [w for w in wheels if w is not None]
    take_objects = {cg} | set(cg.children_recursive)
    if body in take_objects or any(w in take_objects for w in wheels):
        raise CliError("Choose your own vehicle's objects, not the imported take's.")
    if body in wheels or len(set(wheels)) != len(wheels):
        raise CliError("Each wheel must be a different object from the body and the other wheels.")
    effectors = take_effectors(cg)
    if wheels and not effectors:
        raise CliError("The take has no wheel effectors to drive the wheels with.")
    action = cg.animation_data.action if cg.animation_data else None
    if action is None:
        raise CliError("The take's body node has no animation.")
    scene = context.scene
    first, last = (int(round(f)) for f in action.frame_range)
    saved_frame = scene.frame_current

    # Rest poses, read before anything moves.
    body_rest = rest_pose(body)
    vehicle_rest = Matrix.Translation(body_rest.translation)
    body_shape = _rot_scale(body_rest)
    wheel_rest = [vehicle_rest.inverted() @ rest_pose(w) for w in wheels]

    scene.frame_set(first)
    cg_first_inv = cg.matrix_world.inverted()
    effector_first = [cg_first_inv @ e.matrix_world for e in effectors]
    matches = _match_effectors([w.translation for w in wheel_rest],
                               [e.translation for e in effector_first])

    keys = [_Keys(body)] + [_Keys(w) for w in wheels]
    for frame in range(first, last + 1):
        scene.frame_set(frame)
        cg_world = cg.matrix_world.copy()
        cg_inv = cg_world.inverted()
        worlds = {body: cg_world @ body_shape}
        for wheel, rest, index in zip(wheels, wheel_rest, matches):
            now = cg_inv @ effectors[index].matrix_world
            start = effector_first[index]
            turn = (now.to_quaternion() @ start.to_quaternion().inverted()).to_matrix().to_4x4()
            travel = now.translation - start.translation
            worlds[wheel] = cg_world @ Matrix.Translation(rest.translation + travel) @ turn \
                @ _rot_scale(rest)
        keys[0].add(frame, _basis(body, worlds[body], worlds))
        for k, wheel in zip(keys[1:], wheels):
            k.add(frame, _basis(wheel, worlds[wheel], worlds))
    for k, rest in zip(keys, [body_rest] + [vehicle_rest @ r for r in wheel_rest]):
        k.obj[REST_PROPERTY] = [v for row in rest for v in row]
        k.write(k.obj.name + ".Kestrovane")
    scene.frame_set(saved_frame)
    return first, last
