#!/usr/bin/env python3
"""venturon-calc.exe under Wine against the Linux venturon-calc, on every example
command of the README (the `$ ./build/cli/venturon-calc ...` lines of its console
blocks): standard output and standard error must be the same bytes, and the exit
status the same. Each command runs in a folder of its own, so the graph files it
names are written there (the pictures themselves differ in their fonts).
"""

import argparse
import os
import re
import shlex
import shutil
import subprocess
import sys


def readme_commands(readme):
    commands = []
    lines = open(readme, encoding="utf-8").read().splitlines()
    i = 0
    while i < len(lines):
        line = lines[i]
        if line.startswith("$ ./build/cli/venturon-calc"):
            text = line[2:]
            while text.endswith("\\") and i + 1 < len(lines):
                i += 1
                text = text[:-1] + " " + lines[i].strip()
            commands.append(shlex.split(text)[1:])
        i += 1
    return commands


def run(command, cwd):
    done = subprocess.run(command, cwd=cwd, capture_output=True, timeout=120,
                          stdin=subprocess.DEVNULL)
    return done.returncode, done.stdout, done.stderr


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--readme", required=True)
    parser.add_argument("--linux", required=True, help="the Linux build's venturon-calc")
    parser.add_argument("--windows", required=True, help="venturon-calc.exe")
    parser.add_argument("--wine-run", required=True, help="the Windows build's wine-run")
    parser.add_argument("--work", required=True)
    args = parser.parse_args()

    commands = readme_commands(args.readme)
    if not commands:
        print(f"FAILED: no venturon-calc examples found in {args.readme}", file=sys.stderr)
        return 1
    shutil.rmtree(args.work, ignore_errors=True)
    failures = 0
    for number, arguments in enumerate(commands, 1):
        linux_dir = os.path.join(args.work, f"{number}-linux")
        windows_dir = os.path.join(args.work, f"{number}-windows")
        os.makedirs(linux_dir)
        os.makedirs(windows_dir)
        linux = run([os.path.abspath(args.linux), *arguments], linux_dir)
        windows = run([os.path.abspath(args.wine_run), "--raw", os.path.abspath(args.windows),
                       *arguments], windows_dir)
        shown = " ".join(arguments)
        same = linux == windows and sorted(os.listdir(linux_dir)) == sorted(os.listdir(windows_dir))
        if same:
            print(f"same bytes ({len(linux[1])} on standard output, status {linux[0]}): {shown}")
            continue
        failures += 1
        print(f"DIFFERENT: {shown}", file=sys.stderr)
        for name, index in (("status", 0), ("standard output", 1), ("standard error", 2)):
            if linux[index] != windows[index]:
                print(f"  {name}: Linux {linux[index]!r}\n  Windows {windows[index]!r}",
                      file=sys.stderr)
        print(f"  files: Linux {os.listdir(linux_dir)}, Windows {os.listdir(windows_dir)}",
              file=sys.stderr)
    print(f"{len(commands) - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
