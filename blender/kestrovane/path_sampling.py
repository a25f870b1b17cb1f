"""A Blender curve as a path for `simulate --follow`: world-space points along
its first spline, with the object transform applied."""

import math

from mathutils import Vector
from mathutils.geometry import interpolate_bezier

from .axes import blender_to_neu
from .cli import CliError

# Largest distance between two samples of a Bezier segment (metres).
SAMPLE_SPACING = 0.5
# Points closer than this (metres) are one point to the path reader.
MERGE_DISTANCE = 0.001


def _spline_point_count(spline):
    return len(spline.bezier_points) if spline.type == 'BEZIER' else len(spline.points)


def _bezier_points(spline):
    pts = list(spline.bezier_points)
    pairs = list(zip(pts, pts[1:]))
    if spline.use_cyclic_u:
        pairs.append((pts[-1], pts[0]))
    out = [pts[0].co.copy()]
    for a, b in pairs:
        chord = (b.co - a.co).length + (a.handle_right - a.co).length + (b.handle_left - b.co).length
        steps = max(4, int(math.ceil(chord / SAMPLE_SPACING)))
        seg = interpolate_bezier(a.co, a.handle_right, b.handle_left, b.co, steps + 1)
        out.extend(seg[1:])
    return out


def _poly_points(spline):
    out = [Vector(p.co[:3]) for p in spline.points]
    if spline.use_cyclic_u:
        out.append(out[0].copy())
    return out


def _evaluated_points(obj, depsgraph):
    """NURBS: the evaluated curve as Blender draws it, walked along its edges."""
    evaluated = obj.evaluated_get(depsgraph)
    mesh = evaluated.to_mesh()
    try:
        if len(mesh.polygons):
            raise CliError("Remove the curve's bevel and extrusion to drive along it.")
        neighbours = {i: [] for i in range(len(mesh.vertices))}
        for edge in mesh.edges:
            a, b = edge.vertices
            neighbours[a].append(b)
            neighbours[b].append(a)
        if not neighbours:
            return []
        ends = [i for i, n in neighbours.items() if len(n) == 1]
        start = ends[0] if ends else 0
        order, seen, current = [start], {start}, start
        while True:
            nxt = [n for n in neighbours[current] if n not in seen]
            if not nxt:
                break
            current = nxt[0]
            seen.add(current)
            order.append(current)
        pts = [mesh.vertices[i].co.copy() for i in order]
        if not ends and len(pts) > 2:
            pts.append(pts[0].copy())
        # The evaluated mesh is in object space already; to_mesh keeps it there.
        return pts
    finally:
        evaluated.to_mesh_clear()


def sample_curve(obj, depsgraph):
    """World-space points (Blender axes) along the curve's first spline."""
    if obj is None or obj.type != 'CURVE':
        raise CliError("Select a curve object to drive along.")
    splines = obj.data.splines
    if len(splines) == 0:
        raise CliError("The curve %s has no points to drive along." % obj.name)
    spline = splines[0]
    if _spline_point_count(spline) < 2:
        raise CliError("The curve %s has one point; a path needs at least two." % obj.name)
    if spline.type == 'BEZIER':
        local = _bezier_points(spline)
    elif spline.type == 'POLY':
        local = _poly_points(spline)
    else:
        local = _evaluated_points(obj, depsgraph)
    world = [obj.matrix_world @ p for p in local]
    points = []
    for p in world:
        if not points or (p - points[-1]).length > MERGE_DISTANCE:
            points.append(p)
    if len(points) < 2:
        raise CliError("The curve %s is a single point; a path needs some length." % obj.name)
    return points


def write_path_csv(points, path, with_up):
    """The path file for `simulate --follow --units m`: north,east[,up] per point."""
    with open(path, "w", encoding="utf-8") as out:
        out.write("north,east,up\n" if with_up else "north,east\n")
        for p in points:
            north, east, up = blender_to_neu(p)
            if with_up:
                out.write("%.4f,%.4f,%.4f\n" % (north, east, up))
            else:
                out.write("%.4f,%.4f\n" % (north, east))
