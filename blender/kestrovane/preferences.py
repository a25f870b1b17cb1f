"""The add-on's preferences: where kestrovane-cli lives."""

import bpy

from . import cli as kvcli


class KESTROVANE_AP_preferences(bpy.types.AddonPreferences):
    bl_idname = __package__

    cli_path: bpy.props.StringProperty(
        name="kestrovane-cli",
        description="Path of the Kestrovane command-line tool; empty: the one on PATH",
        subtype='FILE_PATH', default="")

    def draw(self, _context):
        layout = self.layout
        layout.prop(self, "cli_path")
        try:
            layout.label(text="Using " + kvcli.find_cli(bpy.path.abspath(self.cli_path)))
        except kvcli.CliError as err:
            layout.label(text=str(err), icon='ERROR')


def configured_cli(context):
    """The tool's path, or CliError with what to do about it."""
    addon = context.preferences.addons.get(__package__)
    path = addon.preferences.cli_path if addon else ""
    return kvcli.find_cli(bpy.path.abspath(path) if path else "")
