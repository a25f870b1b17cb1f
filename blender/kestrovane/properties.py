"""Per-scene settings of the Kestrovane panel and the figures of the last drive."""

import bpy

from .bake import MAX_WHEELS


def _is_curve(_self, obj):
    return obj.type == 'CURVE'


class KestrovaneSceneSettings(bpy.types.PropertyGroup):
    vehicle: bpy.props.EnumProperty(
        name="Vehicle",
        items=(('car', "Car", "The built-in car"),
               ('motorcycle', "Motorcycle", "The built-in motorcycle"),
               ('aircraft', "Aircraft", "The built-in aircraft"),
               ('helicopter', "Helicopter", "The built-in helicopter"),
               ('object', "Object File", "A vehicle from a .kvo object file")),
        default='car')
    object_path: bpy.props.StringProperty(
        name="Object File", description="Vehicle object file (.kvo)", subtype='FILE_PATH')
    speed: bpy.props.FloatProperty(
        name="Speed (km/h)", description="Speed along the curve, km/h",
        default=30.0, min=0.1, soft_max=300.0)
    take: bpy.props.PointerProperty(
        name="Take", type=bpy.types.Object,
        description="Body node of the imported take (<name>.CG)")
    take_path: bpy.props.StringProperty(name="Take File", subtype='FILE_PATH')
    has_figures: bpy.props.BoolProperty(default=False)
    rms: bpy.props.FloatProperty(name="Cross-track RMS (m)", precision=2)
    worst: bpy.props.FloatProperty(name="Cross-track worst (m)", precision=2)
    followed_closely: bpy.props.BoolProperty(default=True)
    body: bpy.props.PointerProperty(name="Body", type=bpy.types.Object,
                                    description="Your vehicle's body object")
    remove_import: bpy.props.BoolProperty(
        name="Remove Imported Take", default=True,
        description="Remove the take's helper objects after baking")


for _i in range(1, MAX_WHEELS + 1):
    KestrovaneSceneSettings.__annotations__["wheel_%d" % _i] = bpy.props.PointerProperty(
        name="Wheel %d" % _i, type=bpy.types.Object, description="One of your vehicle's wheels")


def wheels(settings):
    return [getattr(settings, "wheel_%d" % i) for i in range(1, MAX_WHEELS + 1)]
