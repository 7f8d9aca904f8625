#!/usr/bin/env python3
"""Checks an installed tree (a staging prefix): only the programs and the desktop
files are installed, the menu entry and the AppStream metainfo pass their
validators, and the names that tie them together agree: the entry's Exec program,
icon and window class, the metainfo's launchable, binaries and newest release.

Exits 77 (skipped) when desktop-file-validate or appstreamcli is missing.
"""

import argparse
import configparser
import os
import shutil
import struct
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

SKIPPED = 77
PROGRAMS = {"venturon", "venturon-calc"}


def png_size(path):
    with open(path, "rb") as f:
        header = f.read(24)
    if header[:8] != b"\x89PNG\r\n\x1a\n" or header[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", header[16:24])


def validate(command, problems):
    done = subprocess.run(command, capture_output=True, text=True, timeout=120)
    output = (done.stdout + done.stderr).strip()
    print(f"$ {' '.join(command)}\n{output}" if output else f"$ {' '.join(command)}")
    if done.returncode != 0:
        problems.append(f"{command[0]} failed ({done.returncode})")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--app-id", required=True)
    parser.add_argument("--version", required=True, help="the project's version")
    args = parser.parse_args()

    missing = [t for t in ("desktop-file-validate", "appstreamcli") if not shutil.which(t)]
    if missing:
        print(f"Skipped: {', '.join(missing)} not found (scripts/setup installs them)")
        return SKIPPED

    prefix, app_id = args.prefix, args.app_id
    share = os.path.join(prefix, "share")
    desktop_path = os.path.join(share, "applications", f"{app_id}.desktop")
    metainfo_path = os.path.join(share, "metainfo", f"{app_id}.metainfo.xml")
    icons = os.path.join(share, "icons", "hicolor")
    problems = []

    # Nothing but the two programs and shared data: no libraries, headers or tests.
    installed = sorted(os.path.relpath(os.path.join(d, f), prefix)
                       for d, _, files in os.walk(prefix) for f in files)
    for path in installed:
        top = path.split(os.sep)[0]
        if top == "bin" and os.path.basename(path) in PROGRAMS:
            continue
        if top != "share" or path.endswith((".a", ".so", ".h", ".cmake")):
            problems.append(f"installed by mistake: {path}")
    for program in PROGRAMS:
        path = os.path.join(prefix, "bin", program)
        if not os.access(path, os.X_OK):
            problems.append(f"not installed as a program: bin/{program}")

    for path in (desktop_path, metainfo_path):
        if not os.path.isfile(path):
            problems.append(f"missing: {os.path.relpath(path, prefix)}")
    if problems:
        print("\n".join(problems))
        return 1

    validate(["desktop-file-validate", desktop_path], problems)
    validate(["appstreamcli", "validate", "--no-net", metainfo_path], problems)

    # The menu entry: its program, icon and window class.
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read(desktop_path, encoding="utf-8")
    entry = entry["Desktop Entry"]
    program = entry.get("Exec", "").split()[0] if entry.get("Exec", "").split() else ""
    if program != "venturon":
        problems.append(f"Exec starts {program!r}, not the installed program venturon")
    if entry.get("StartupWMClass") != program:
        problems.append(f"StartupWMClass {entry.get('StartupWMClass')!r} is not the program's "
                        f"window class {program!r}")
    if entry.get("Icon") != app_id:
        problems.append(f"Icon is {entry.get('Icon')!r}, expected {app_id}")
    if not os.path.isfile(os.path.join(icons, "scalable", "apps", f"{app_id}.svg")):
        problems.append("missing the scalable icon")
    for size in (48, 256):
        png = os.path.join(icons, f"{size}x{size}", "apps", f"{app_id}.png")
        if not os.path.isfile(png) or png_size(png) != (size, size):
            problems.append(f"missing or wrong {size}x{size} icon: {png}")

    # The metainfo: the same id, the entry as its launchable, the installed programs.
    root = ElementTree.parse(metainfo_path).getroot()
    if root.findtext("id") != app_id:
        problems.append(f"metainfo id is {root.findtext('id')!r}")
    if root.findtext("launchable") != f"{app_id}.desktop":
        problems.append(f"metainfo launchable is {root.findtext('launchable')!r}")
    binaries = {b.text for b in root.iterfind("provides/binary")}
    if binaries != PROGRAMS:
        problems.append(f"metainfo provides {sorted(binaries)}, installed {sorted(PROGRAMS)}")
    releases = [r.get("version") for r in root.iterfind("releases/release")]
    if not releases or releases[0] != args.version:
        problems.append(f"the newest release in the metainfo is {releases[:1]}, "
                        f"the project's version is {args.version}")

    if problems:
        print("\n".join(f"FAILED: {p}" for p in problems))
        return 1
    print(f"{len(installed)} files installed, all consistent")
    return 0


if __name__ == "__main__":
    sys.exit(main())
