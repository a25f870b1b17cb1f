"""Shared helpers of the Blender tests: arguments, enabling the add-on, scene checks.

Run by Blender: blender -b --factory-startup --python <test>.py -- --cli CLI --addon-dir DIR --work DIR
"""

import argparse
import os
import sys

import addon_utils
import bpy


def arguments():
    argv = sys.argv[sys.argv.index("--") + 1:] if "--" in sys.argv else []
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", required=True)
    parser.add_argument("--addon-dir", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--zip", default="")
    parser.add_argument("--make-project", default="")
    args = parser.parse_args(argv)
    os.makedirs(args.work, exist_ok=True)
    return args


def enable_addon(args):
    """Enables the add-on from the source tree and points it at the built CLI."""
    if args.addon_dir not in sys.path:
        sys.path.insert(0, args.addon_dir)
    mod = addon_utils.enable("kestrovane", default_set=True, handle_error=None)
    assert mod is not None, "the add-on did not enable"
    set_cli(args.cli)
    return mod


def set_cli(path):
    bpy.context.preferences.addons["kestrovane"].preferences.cli_path = path


def select_only(obj):
    for o in bpy.context.view_layer.objects:
        o.select_set(False)
    if obj is not None:
        obj.select_set(True)
    bpy.context.view_layer.objects.active = obj


def scene_state():
    """What an operator that fails must leave as it was."""
    scene = bpy.context.scene
    return {
        "objects": sorted(o.name for o in bpy.data.objects),
        "meshes": sorted(m.name for m in bpy.data.meshes),
        "actions": sorted(a.name for a in bpy.data.actions),
        "materials": sorted(m.name for m in bpy.data.materials),
        "cameras": sorted(c.name for c in bpy.data.cameras),
        "camera": scene.camera.name if scene.camera else None,
        "frames": (scene.frame_start, scene.frame_end, scene.render.fps, scene.render.fps_base),
    }


class Checks:
    """Collects failed expectations so one run reports all of them."""

    def __init__(self):
        self.failures = []

    def expect(self, condition, message):
        if not condition:
            self.failures.append(message)
            print("FAIL:", message)
        return condition

    def finish(self):
        if self.failures:
            print("%d expectation(s) failed" % len(self.failures))
            sys.stdout.flush()
            raise SystemExit(1)
        print("all expectations met")
