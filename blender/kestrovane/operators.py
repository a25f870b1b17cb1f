"""The operators: Drive Along Curve, Import Take, Import Project, Propose Wheels, Bake
onto My Vehicle."""

import os

import bpy
from bpy_extras.io_utils import ImportHelper

from . import bake as kvbake
from . import cli as kvcli
from .drive import drive_along_curve, RMS_WARNING_M, WORST_WARNING_M
from .preferences import configured_cli
from .properties import wheels
from .take_import import import_project, import_take, remove_take


class KESTROVANE_OT_drive_along_curve(bpy.types.Operator):
    """Drive the chosen vehicle along the selected curve and import the take"""
    bl_idname = "kestrovane.drive_along_curve"
    bl_label = "Drive Along Curve"
    bl_options = {'REGISTER', 'UNDO'}

    def execute(self, context):
        settings = context.scene.kestrovane
        curve = context.active_object
        if curve is None or curve.type != 'CURVE' or not curve.select_get():
            self.report({'ERROR'}, "Select a curve object to drive along.")
            return {'CANCELLED'}
        try:
            cli = configured_cli(context)
            object_path = bpy.path.abspath(settings.object_path) \
                if settings.vehicle == 'object' else ""
            if settings.vehicle == 'object' and not settings.object_path:
                raise kvcli.CliError("Choose the vehicle's object file (.kvo).")
            result = drive_along_curve(context, cli, curve, settings.vehicle,
                                       object_path, settings.speed)
        except kvcli.CliError as err:
            self.report({'ERROR'}, str(err))
            return {'CANCELLED'}
        cg = result.take
        settings.take = cg
        settings.take_path = result.kvm_path
        settings.has_figures = result.figures is not None
        settings.followed_closely = result.close
        if result.figures is not None:
            settings.rms, settings.worst = result.figures
        if result.close:
            self.report({'INFO'}, "Take %s imported: cross-track error rms %.2f m, worst %.2f m."
                        % (cg.name, settings.rms, settings.worst))
            return {'FINISHED'}
        if result.figures is None:
            text = "Take %s imported, but kestrovane-cli gave no cross-track figures." % cg.name
        else:
            text = ("The vehicle did not follow the curve closely: cross-track error rms %.2f m, "
                    "worst %.2f m (warning above %.1f m rms or %.1f m)" %
                    (settings.rms, settings.worst, RMS_WARNING_M, WORST_WARNING_M))
            if result.ending:
                text += "; end of path: " + result.ending
            text += ". Try a lower speed or gentler bends."
        if result.messages:
            text += " " + result.messages.replace("\n", " ")
        self.report({'WARNING'}, text)
        return {'FINISHED'}


class KESTROVANE_OT_import_take(bpy.types.Operator, ImportHelper):
    """Import a Kestrovane take (.kvm) through kestrovane-cli and Blender's glTF importer"""
    bl_idname = "kestrovane.import_take"
    bl_label = "Import Kestrovane Take"
    bl_options = {'REGISTER', 'UNDO'}

    filename_ext = ".kvm"
    filter_glob: bpy.props.StringProperty(default="*.kvm", options={'HIDDEN'})

    def execute(self, context):
        path = bpy.path.abspath(self.filepath)
        try:
            cli = configured_cli(context)
            cg = import_take(context, cli, path)
        except kvcli.CliError as err:
            self.report({'ERROR'}, str(err))
            return {'CANCELLED'}
        settings = context.scene.kestrovane
        settings.take = cg
        settings.take_path = path
        settings.has_figures = False
        self.report({'INFO'}, "Take %s imported, frames %d to %d at %d fps." % (
            os.path.basename(path), context.scene.frame_start, context.scene.frame_end,
            context.scene.render.fps))
        return {'FINISHED'}


class KESTROVANE_OT_import_project(bpy.types.Operator, ImportHelper):
    """Import a Kestrovane project's whole scene (.kvp): terrain, scenery, every object
    and the camera, with a take of its simulated object"""
    bl_idname = "kestrovane.import_project"
    bl_label = "Import Kestrovane Project"
    bl_options = {'REGISTER', 'UNDO'}

    filename_ext = ".kvp"
    filter_glob: bpy.props.StringProperty(default="*.kvp", options={'HIDDEN'})
    take_path: bpy.props.StringProperty(
        name="Take", subtype='FILE_PATH',
        description="A take (.kvm) of the project's simulated object; empty: the object "
                    "stands at its initial conditions")
    camera_path: bpy.props.StringProperty(
        name="Camera", subtype='FILE_PATH',
        description="The camera's motion (.kvm, written with simulate --camera-out); optional")

    def execute(self, context):
        path = bpy.path.abspath(self.filepath)
        take = bpy.path.abspath(self.take_path) if self.take_path else ""
        camera = bpy.path.abspath(self.camera_path) if self.camera_path else ""
        try:
            cli = configured_cli(context)
            cg = import_project(context, cli, path, take, camera)
        except kvcli.CliError as err:
            self.report({'ERROR'}, str(err))
            return {'CANCELLED'}
        settings = context.scene.kestrovane
        settings.take = cg
        settings.take_path = take
        settings.has_figures = False
        self.report({'INFO'}, "Project %s imported, frames %d to %d at %d fps." % (
            os.path.basename(path), context.scene.frame_start, context.scene.frame_end,
            context.scene.render.fps))
        return {'FINISHED'}


class KESTROVANE_OT_propose_wheels(bpy.types.Operator):
    """Fill the wheel slots from objects named wheel, tire or tyre, by their positions"""
    bl_idname = "kestrovane.propose_wheels"
    bl_label = "Propose Wheels"
    bl_options = {'REGISTER', 'UNDO'}

    def execute(self, context):
        settings = context.scene.kestrovane
        if settings.body is None:
            self.report({'ERROR'}, "Choose the body object of your vehicle.")
            return {'CANCELLED'}
        exclude = set()
        if settings.take is not None:
            exclude = {settings.take} | set(settings.take.children_recursive)
        found = kvbake.propose_wheels(context, settings.body, exclude)
        for i in range(kvbake.MAX_WHEELS):
            setattr(settings, "wheel_%d" % (i + 1), found[i] if i < len(found) else None)
        if not found:
            self.report({'WARNING'}, "No wheels found: name them wheel, tire or tyre, or "
                        "parent them to the body.")
        else:
            self.report({'INFO'}, "Proposed %d wheels." % len(found))
        return {'FINISHED'}


class KESTROVANE_OT_bake(bpy.types.Operator):
    """Key your body and wheels on every frame of the take"""
    bl_idname = "kestrovane.bake"
    bl_label = "Bake onto My Vehicle"
    bl_options = {'REGISTER', 'UNDO'}

    def execute(self, context):
        settings = context.scene.kestrovane
        try:
            first, last = kvbake.bake(context, settings.take, settings.body, wheels(settings))
        except kvcli.CliError as err:
            self.report({'ERROR'}, str(err))
            return {'CANCELLED'}
        if settings.remove_import:
            remove_take(settings.take)
            settings.take = None
        self.report({'INFO'}, "Baked frames %d to %d." % (first, last))
        return {'FINISHED'}


def menu_import(self, _context):
    self.layout.operator(KESTROVANE_OT_import_take.bl_idname, text="Kestrovane Take (.kvm)")
    self.layout.operator(KESTROVANE_OT_import_project.bl_idname, text="Kestrovane Project (.kvp)")


CLASSES = (KESTROVANE_OT_drive_along_curve, KESTROVANE_OT_import_take, KESTROVANE_OT_import_project,
           KESTROVANE_OT_propose_wheels, KESTROVANE_OT_bake)
