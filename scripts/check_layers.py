#!/usr/bin/python3
"""Checks the include edges of the source tree against the layer rules.

The base (toolkit/core, toolkit/dialogs, toolkit/graphics and their public
headers) never reaches a plug-in (editor, grid, hardcopy); plug-ins never
reach each other; the public headers in include/korvanthide never reach into
toolkit/; and no file that builds in the native tree reaches a Windows
header. Every forbidden edge is printed as "file:line: reason" and makes the
check fail.

Usage: check_layers.py [ROOT] [NATIVE_COMPILE_COMMANDS]
Without a compile database the native tree is configured in a temporary
folder to learn which sources build without Windows.
"""
import fnmatch
import json
import os
import re
import subprocess
import sys
import tempfile

PLUGINS = ("editor", "grid", "hardcopy")
BASE = ("core", "dialogs", "graphics")

# Public headers belong to the layer that implements them; the base's are the
# rest. Patterns are matched against the file name in include/korvanthide.
PUBLIC_HEADER_LAYERS = (
    ("editor*.h", "editor"),
    ("grid*.h", "grid"),
    ("hardcopy*.h", "hardcopy"),
    ("printer.h", "hardcopy"),
)

WINDOWS_HEADERS = {
    "windows.h", "windowsx.h", "commctrl.h", "commdlg.h", "cderr.h",
    "richedit.h", "winspool.h", "shellapi.h", "shlobj.h", "mmsystem.h",
    "mapi.h", "winuser.h", "wingdi.h", "winbase.h",
}

INCLUDE_RE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc", ".c", ".inc")


def layer_of(rel):
    """The layer a repository path belongs to, or None when unconstrained."""
    parts = rel.split("/")
    if parts[0] == "toolkit" and len(parts) > 2:
        if parts[1] in BASE:
            return "base"
        if parts[1] in PLUGINS:
            return parts[1]
        return None  # e.g. the install file, which sees every layer
    if parts[0] == "include" and len(parts) == 3 and parts[1] == "korvanthide":
        for pattern, layer in PUBLIC_HEADER_LAYERS:
            if fnmatch.fnmatch(parts[2], pattern):
                return layer
        return "base"
    return None


def forbidden(from_rel, to_rel):
    """Why the edge from_rel -> to_rel breaks a rule, or None."""
    if from_rel.startswith("include/korvanthide/") and to_rel.startswith("toolkit/"):
        return "public header includes a toolkit source header"
    src, dst = layer_of(from_rel), layer_of(to_rel)
    if src is None or dst is None or src == dst:
        return None
    if src == "base" and dst in PLUGINS:
        return f"base includes the {dst} plug-in"
    if src in PLUGINS and dst in PLUGINS:
        return f"plug-in {src} includes plug-in {dst}"
    return None


class Tree:
    def __init__(self, root):
        self.root = root
        self.files = []
        for top in ("include", "toolkit", "app", "bench"):
            for folder, _, names in os.walk(os.path.join(root, top)):
                for name in names:
                    if name.endswith(SOURCE_SUFFIXES):
                        path = os.path.join(folder, name)
                        self.files.append(os.path.relpath(path, root))
        self.files.sort()
        self.search = [root, os.path.join(root, "include"), os.path.join(root, "toolkit")]
        self._includes = {}

    def resolve(self, from_rel, name, extra_dirs=()):
        """The repository path a quoted or angled include names, or None."""
        here = os.path.dirname(os.path.join(self.root, from_rel))
        for base in (here, *extra_dirs, *self.search):
            path = os.path.normpath(os.path.join(base, name))
            if os.path.isfile(path) and path.startswith(self.root + os.sep):
                return os.path.relpath(path, self.root)
        return None

    def includes(self, rel):
        """(line number, delimiter, name) of every include in a file."""
        if rel not in self._includes:
            found = []
            with open(os.path.join(self.root, rel), encoding="latin-1") as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE_RE.match(line)
                    if m:
                        found.append((number, m.group(1), m.group(2)))
            self._includes[rel] = found
        return self._includes[rel]


def check_edges(tree):
    problems = []
    for rel in tree.files:
        for number, _, name in tree.includes(rel):
            target = tree.resolve(rel, name)
            if target is None:
                continue
            why = forbidden(rel, target)
            if why:
                problems.append(f"{rel}:{number}: {why} ({name})")
    return problems


def native_sources(root, database):
    """Repository paths and include directories of every native compilation."""
    with open(database) as f:
        entries = json.load(f)
    result = {}
    for entry in entries:
        path = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
        if not path.startswith(root + os.sep):
            continue
        rel = os.path.relpath(path, root)
        if rel.startswith("build/") or "googletest" in rel:
            continue
        args = entry.get("arguments") or entry["command"].split()
        dirs = []
        for i, arg in enumerate(args):
            if arg.startswith("-I") and len(arg) > 2:
                dirs.append(arg[2:])
            elif arg in ("-I", "-isystem") and i + 1 < len(args):
                dirs.append(args[i + 1])
        result[rel] = [os.path.normpath(os.path.join(entry["directory"], d)) for d in dirs]
    return result


def check_windows_reach(tree, sources):
    """A native source must not reach a Windows header through any chain."""
    problems = []
    for rel, dirs in sorted(sources.items()):
        seen = set()
        stack = [(rel, [])]
        while stack:
            current, chain = stack.pop()
            if current in seen:
                continue
            seen.add(current)
            for number, delim, name in tree.includes(current):
                if delim == "<" and name.lower() in WINDOWS_HEADERS:
                    via = "".join(f" <- {c}" for c in reversed(chain))
                    problems.append(f"{current}:{number}: {name} reached from a native source{via}")
                    continue
                target = tree.resolve(current, name, dirs)
                if target is not None:
                    stack.append((target, chain + [f"{current}:{number}"]))
    return sorted(set(problems))


def configure_native(root):
    work = tempfile.mkdtemp(prefix="korv-layers-")
    subprocess.run(["cmake", "-S", root, "-B", work, "-DCMAKE_EXPORT_COMPILE_COMMANDS=ON",
                    "-DKORV_SANITIZE=OFF"], check=True, stdout=subprocess.DEVNULL)
    return os.path.join(work, "compile_commands.json")


def main(argv):
    root = os.path.abspath(argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    database = argv[2] if len(argv) > 2 else configure_native(root)
    tree = Tree(root)
    problems = check_edges(tree) + check_windows_reach(tree, native_sources(root, database))
    for problem in problems:
        print(problem)
    if problems:
        print(f"check_layers: {len(problems)} forbidden include edge(s)")
        return 1
    print(f"check_layers: {len(tree.files)} files, no forbidden include edge")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
