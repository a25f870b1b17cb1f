"""The "Kestrovane" tab of the 3D viewport's sidebar."""

import bpy

from .bake import MAX_WHEELS


class KESTROVANE_PT_drive(bpy.types.Panel):
    bl_label = "Drive Along Curve"
    bl_idname = "KESTROVANE_PT_drive"
    bl_space_type = 'VIEW_3D'
    bl_region_type = 'UI'
    bl_category = "Kestrovane"

    def draw(self, context):
        layout = self.layout
        settings = context.scene.kestrovane
        layout.label(text="Vehicle:")
        layout.prop(settings, "vehicle", text="")
        if settings.vehicle == 'object':
            layout.prop(settings, "object_path")
        layout.prop(settings, "speed")
        rate = context.scene.render.fps / context.scene.render.fps_base
        layout.label(text="Frame rate: %g fps (the scene's)" % rate)
        curve = context.active_object
        row = layout.row()
        row.enabled = curve is not None and curve.type == 'CURVE'
        row.operator("kestrovane.drive_along_curve", icon='AUTO')
        if settings.has_figures:
            box = layout.box()
            box.label(text="Cross-track RMS: %.2f m" % settings.rms)
            box.label(text="Cross-track worst: %.2f m" % settings.worst)
            if not settings.followed_closely:
                box.label(text="The curve was not followed closely", icon='ERROR')


class KESTROVANE_PT_bake(bpy.types.Panel):
    bl_label = "Bake onto My Vehicle"
    bl_idname = "KESTROVANE_PT_bake"
    bl_space_type = 'VIEW_3D'
    bl_region_type = 'UI'
    bl_category = "Kestrovane"

    def draw(self, context):
        layout = self.layout
        settings = context.scene.kestrovane
        layout.prop(settings, "take")
        layout.prop(settings, "body")
        layout.operator("kestrovane.propose_wheels", icon='VIEWZOOM')
        layout.label(text="Wheels (front first, left first):")
        col = layout.column(align=True)
        for i in range(1, MAX_WHEELS + 1):
            col.prop(settings, "wheel_%d" % i, text="")
        layout.prop(settings, "remove_import")
        layout.operator("kestrovane.bake", icon='KEYINGSET')


CLASSES = (KESTROVANE_PT_drive, KESTROVANE_PT_bake)
