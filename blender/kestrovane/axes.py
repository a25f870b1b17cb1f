"""Blender's axes and Kestrovane's north/east/up, one function each way.

Our glTF files put x = -east, y = up, z = north; Blender's glTF importer turns
those into Blender x = -east, y = -north, z = up. Lengths are metres on both
sides (one Blender unit is taken as one metre). A vehicle at rest faces
Blender's -Y with its left side towards +X.
"""

import math


def blender_to_neu(point):
    """Blender (x, y, z) -> (north, east, up), metres."""
    x, y, z = point[0], point[1], point[2]
    return (-y, -x, z)


def neu_to_blender(neu):
    """(north, east, up) -> Blender (x, y, z), metres."""
    north, east, up = neu
    return (-east, -north, up)


def heading_deg(from_point, to_point):
    """Compass heading (degrees clockwise from north) from one Blender point to another."""
    n0, e0, _ = blender_to_neu(from_point)
    n1, e1, _ = blender_to_neu(to_point)
    return math.degrees(math.atan2(e1 - e0, n1 - n0))
