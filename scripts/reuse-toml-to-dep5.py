#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Pentaro developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Writes the annotations of REUSE.toml as a .reuse/dep5 file for a reuse tool older than 3.0,
# which reads only that format (Debian 12 ships 1.1). Reads REUSE.toml from the current folder
# and the project's file names, NUL-separated, from standard input; each annotation's globs are
# expanded here, because REUSE.toml's "*" stops at "/" and dep5's does not. With --covered it
# writes only the names that REUSE.toml covers, NUL-separated (scripts/annotate-licence.sh).
import re
import sys
import tomllib


def glob_regex(pattern):
    parts = re.split(r"(\*\*|\*)", pattern)
    table = {"**": ".*", "*": "[^/]*"}
    return re.compile("".join(table.get(part) or re.escape(part) for part in parts))


def as_list(value):
    return value if isinstance(value, list) else [value]


with open("REUSE.toml", "rb") as source:
    config = tomllib.load(source)
if config.get("version") != 1:
    sys.exit("REUSE.toml: only version 1 is understood here")
files = [name for name in sys.stdin.read().split("\0") if name]
covered_only = sys.argv[1:] == ["--covered"]

if not covered_only:
    print("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/")
    print(f"Upstream-Name: {config.get('SPDX-PackageName', '')}")
for annotation in config.get("annotations", []):
    patterns = [glob_regex(pattern) for pattern in as_list(annotation["path"])]
    matched = [name for name in files if any(p.fullmatch(name) for p in patterns)]
    if covered_only:
        sys.stdout.write("".join(name + "\0" for name in matched))
    if covered_only or not matched:
        continue
    print()
    print("Files: " + "\n ".join(matched))
    print("Copyright: " + "\n ".join(as_list(annotation["SPDX-FileCopyrightText"])))
    print("License: " + " AND ".join(as_list(annotation["SPDX-License-Identifier"])))
