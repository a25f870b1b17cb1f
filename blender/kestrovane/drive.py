"""Drive Along Curve: the curve as a path file, `simulate --follow`, the take imported."""

import json
import math
import os
import tempfile

from . import cli as kvcli
from .axes import blender_to_neu, heading_deg, neu_to_blender
from .path_sampling import sample_curve, write_path_csv
from .take_import import import_take, safe_take_name

FT_PER_M = 3.2808
KMH_TO_FT_S = 1000.0 / 3600.0 * FT_PER_M

# A cross-track error above either figure (metres) means the take left the curve.
RMS_WARNING_M = 1.0
WORST_WARNING_M = 3.0
# The take's first body position must be this close (m) to the curve's start.
START_TOLERANCE_M = 1.5

VEHICLES = ("car", "motorcycle", "aircraft", "helicopter")


class FollowResult:
    """What one drive along a curve gave."""

    def __init__(self, take, figures, ending, messages, kvm_path, starts_on_curve=True):
        self.take = take            # body node of the imported take
        self.figures = figures      # (rms, worst) cross-track error, metres, or None
        self.ending = ending        # the tool's "end of path" text
        self.messages = messages    # what the tool said on stderr
        self.kvm_path = kvm_path    # the take file
        self.close = starts_on_curve and follow_is_close(figures, ending)


def _initial_conditions(points, vehicle, speed_kmh):
    """--initial at the curve's first point, heading along its first segment."""
    north, east, up = blender_to_neu(points[0])
    yaw = heading_deg(points[0], points[1])
    airborne = vehicle in ("aircraft", "helicopter")
    down_ft = -up * FT_PER_M if airborne else 0.0
    forward = speed_kmh * KMH_TO_FT_S if vehicle == "aircraft" else 0.0
    values = (north * FT_PER_M, east * FT_PER_M, down_ft, 0.0, 0.0, yaw,
              0.0, 0.0, 0.0, forward, 0.0, 0.0)
    return ",".join("%.4f" % v for v in values)


def start_offset(context, cg, start_neu):
    """Horizontal distance (m) between the take's body node at its first frame and
    the point the tool was told to start from (north, east, up), brought back into
    Blender's axes: the take must land where the curve is."""
    scene = context.scene
    saved = scene.frame_current
    scene.frame_set(scene.frame_start)
    position = cg.matrix_world.translation.copy()
    scene.frame_set(saved)
    x, y, _ = neu_to_blender(start_neu)
    return math.hypot(position.x - x, position.y - y)


def follow_is_close(figures, ending=""):
    """Whether the take kept to the curve: small cross-track figures and an end
    of the path reached (or, for an aircraft, passed), not given up."""
    if figures is None:
        return False
    rms, worst = figures
    finished = not ending or ending.startswith(("reached", "passed"))
    return rms <= RMS_WARNING_M and worst <= WORST_WARNING_M and finished


def drive_along_curve(context, cli, curve, vehicle, object_path, speed_kmh, out_folder=None):
    """Runs the vehicle along the curve and imports the take. Returns a FollowResult."""
    if object_path:
        if not os.path.isfile(object_path):
            raise kvcli.CliError("The object file %s does not exist." % object_path)
        vehicle_args = ["--object", object_path]
        try:
            kind = json.loads(kvcli.run(cli, ["info", object_path])).get("vehicleType", "car")
        except ValueError:
            kind = "car"
    else:
        if vehicle not in VEHICLES:
            raise kvcli.CliError("Unknown vehicle %s." % vehicle)
        vehicle_args = ["--vehicle", vehicle]
        kind = vehicle
    if speed_kmh <= 0.0:
        raise kvcli.CliError("Set a speed above zero to drive along the curve.")
    points = sample_curve(curve, context.evaluated_depsgraph_get())
    scene = context.scene
    fps = max(1, int(round(scene.render.fps / scene.render.fps_base)))

    folder = out_folder or tempfile.mkdtemp(prefix="kestrovane-")
    name = safe_take_name(curve.name)
    csv_path = os.path.join(folder, name + "-path.csv")
    kvm_path = os.path.join(folder, name + ".kvm")
    write_path_csv(points, csv_path, with_up=kind in ("aircraft", "helicopter"))
    args = ["simulate"] + vehicle_args + [
        "--follow", csv_path, "--speed", "%.3f" % speed_kmh, "--units", "m",
        "--fps", str(fps), "--initial", _initial_conditions(points, kind, speed_kmh),
        "-o", kvm_path]
    if kind in ("aircraft", "helicopter"):
        args.append("--trim")
    stdout, messages = kvcli.run_with_messages(cli, args)
    cg = import_take(context, cli, kvm_path)
    start = start_offset(context, cg, blender_to_neu(points[0]))
    if start > START_TOLERANCE_M:
        messages += "\nThe take starts %.1f m from the curve's first point." % start
    # Ground vehicles start at height 0 on purpose and the tool lifts them onto
    # the ground; its notice of that says nothing to the user here.
    said = [line for line in messages.splitlines()
            if line.strip() and not line.rstrip().endswith("was placed on it.")]
    return FollowResult(cg, kvcli.follow_figures(stdout), kvcli.end_of_path(stdout),
                        " ".join(said), kvm_path, start <= START_TOLERANCE_M)
