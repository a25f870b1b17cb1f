"""The add-on's zip installs and enables in a fresh Blender, with every
operator and panel registered and the import menu entry present."""

import os

import addon_utils
import bpy

from kv_blender_test import Checks, arguments

args = arguments()
checks = Checks()
checks.expect(os.path.isfile(args.zip), "no zip at %s" % args.zip)
checks.expect("kestrovane" not in bpy.context.preferences.addons, "the add-on is already enabled")
bpy.ops.preferences.addon_install(filepath=args.zip, overwrite=True)
addon_utils.modules_refresh()
bpy.ops.preferences.addon_enable(module="kestrovane")
checks.expect("kestrovane" in bpy.context.preferences.addons, "the add-on did not enable")
mod = next((m for m in addon_utils.modules() if m.__name__ == "kestrovane"), None)
checks.expect(mod is not None and mod.__file__.startswith(os.environ.get("BLENDER_USER_SCRIPTS", "~")),
              "the enabled add-on is not the installed one: %r" % (mod.__file__ if mod else None))
info = addon_utils.module_bl_info(mod) if mod else {}
checks.expect(info.get("name") == "Kestrovane", "bl_info name %r" % info.get("name"))
for op in ("drive_along_curve", "import_take", "import_project", "propose_wheels",
           "bake"):
    checks.expect(hasattr(bpy.types, "KESTROVANE_OT_" + op), "operator kestrovane.%s not registered" % op)
for panel in ("KESTROVANE_PT_drive", "KESTROVANE_PT_bake"):
    cls = getattr(bpy.types, panel, None)
    checks.expect(cls is not None and cls.bl_category == "Kestrovane", "panel %s missing" % panel)
checks.expect(hasattr(bpy.context.scene, "kestrovane"), "scene settings not registered")
prefs = bpy.context.preferences.addons["kestrovane"].preferences
checks.expect(hasattr(prefs, "cli_path"), "no CLI path preference")
checks.finish()
