"""Finding and running kestrovane-cli. Every bit of physics and file reading
happens in the tool; this module only starts it and reads its answers."""

import json
import os
import re
import shutil
import subprocess

TOOL = "kestrovane-cli"


class CliError(Exception):
    """A failure the user can act on; the text is shown in Blender's report area."""


def find_cli(configured_path=""):
    """The tool's path: the one set in the preferences, else the one on PATH."""
    if configured_path:
        path = os.path.abspath(os.path.expanduser(configured_path))
        if not os.path.isfile(path) or not os.access(path, os.X_OK):
            raise CliError(
                "%s was not found at %s. Set its path in the add-on's preferences "
                "(Edit > Preferences > Add-ons > Kestrovane)." % (TOOL, path))
        return path
    found = shutil.which(TOOL)
    if not found:
        raise CliError(
            "%s was not found on PATH. Install Kestrovane or set the tool's path in "
            "the add-on's preferences (Edit > Preferences > Add-ons > Kestrovane)." % TOOL)
    return found


def run(cli, args, timeout=900):
    """Runs the tool; returns its stdout. Raises CliError with the tool's own message."""
    return run_with_messages(cli, args, timeout)[0]


def run_with_messages(cli, args, timeout=900):
    """Runs the tool; returns (stdout, stderr): a run that succeeds may still say
    something the user must read. Raises CliError with the tool's own message."""
    try:
        done = subprocess.run([cli] + list(args), capture_output=True, text=True,
                              timeout=timeout, check=False)
    except OSError as err:
        raise CliError("%s could not be started: %s" % (TOOL, err)) from err
    except subprocess.TimeoutExpired as err:
        raise CliError("%s did not finish within %d s." % (TOOL, timeout)) from err
    if done.returncode != 0:
        message = done.stderr.strip() or done.stdout.strip()
        if not message:
            message = "%s %s failed with exit status %d." % (TOOL, args[0] if args else "",
                                                              done.returncode)
        raise CliError(message)
    return done.stdout, done.stderr


def motion_info(cli, kvm_path):
    """The tool's description of a motion file: frame count, duration, effectors."""
    try:
        text = run(cli, ["info", kvm_path])
    except CliError as err:
        raise CliError("The take %s could not be read: %s" % (kvm_path, err)) from err
    try:
        info = json.loads(text)
    except ValueError as err:
        raise CliError("%s info gave no readable answer for %s." % (TOOL, kvm_path)) from err
    if info.get("kind") != "motion":
        raise CliError("%s is not a motion file." % kvm_path)
    if int(info.get("frames", 0)) < 1:
        raise CliError("The take %s has no frames." % kvm_path)
    return info


def project_info(cli, kvp_path):
    """The tool's description of a project file: its objects (the simulated one
    first, with its name and effectors), scenery and terrain."""
    try:
        text = run(cli, ["info", kvp_path])
    except CliError as err:
        raise CliError("The project %s could not be read: %s" % (kvp_path, err)) from err
    try:
        info = json.loads(text)
    except ValueError as err:
        raise CliError("%s info gave no readable answer for %s." % (TOOL, kvp_path)) from err
    if info.get("kind") != "project":
        raise CliError("%s is not a project file." % kvp_path)
    return info


_CROSS_TRACK = re.compile(r"cross-track error \(m\): rms ([0-9.]+), worst ([0-9.]+)")
_END_OF_PATH = re.compile(r"^end of path: (.*)$", re.MULTILINE)


def follow_figures(stdout):
    """(rms, worst) cross-track error in metres from `simulate --follow`, or None."""
    match = _CROSS_TRACK.search(stdout)
    if not match:
        return None
    return float(match.group(1)), float(match.group(2))


def end_of_path(stdout):
    """How `simulate --follow` says the run ended at the path's end ("reached, ...",
    "passed, ...", "given up, ..."), or an empty text."""
    match = _END_OF_PATH.search(stdout)
    return match.group(1).strip() if match else ""
