"""Kestrovane for Blender: drive a vehicle along a curve, import a take, and bake
it onto your own vehicle. The physics and the file reading live in
kestrovane-cli, which this add-on runs."""

bl_info = {
    "name": "Kestrovane",
    "author": "Kestrovane developers",
    "version": (1, 0, 0),
    "blender": (3, 4, 0),
    "location": "View3D > Sidebar > Kestrovane; File > Import > Kestrovane Take (.kvm) "
                "and Kestrovane Project (.kvp)",
    "description": "Vehicle motion with weight from kestrovane-cli: drive along a curve, "
                   "import a take, bake it onto your vehicle",
    "category": "Animation",
}

import bpy  # noqa: E402

from . import operators, panel, preferences, properties  # noqa: E402

_CLASSES = ((preferences.KESTROVANE_AP_preferences, properties.KestrovaneSceneSettings)
            + operators.CLASSES + panel.CLASSES)


def register():
    for cls in _CLASSES:
        bpy.utils.register_class(cls)
    bpy.types.Scene.kestrovane = bpy.props.PointerProperty(type=properties.KestrovaneSceneSettings)
    bpy.types.TOPBAR_MT_file_import.append(operators.menu_import)


def unregister():
    bpy.types.TOPBAR_MT_file_import.remove(operators.menu_import)
    del bpy.types.Scene.kestrovane
    for cls in reversed(_CLASSES):
        bpy.utils.unregister_class(cls)
