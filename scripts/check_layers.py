#!/usr/bin/python3
"""Checks the include edges of the source tree against the layer rules.

The base (toolkit/core, toolkit/dialogs, toolkit/graphics and their public
headers) never reaches a plug-in (editor, grid, hardcopy); plug-ins never
reach each other; the public headers in include/korvanthide never reach into
toolkit/; the programs (app/, bench/) include only the public headers and
their own; and no file that builds in the native tree, nor a fuzz target,
reaches a Windows header. A declaration in include/korvanthide that only
one subsystem uses belongs beside that subsystem's sources. Every fault is
printed as "file:line: reason" and makes the check fail.

Faults that are known and waiting for their mend are listed, without line
numbers, in check_layers_known.txt beside this script; a listed fault that
no longer occurs fails the check too, so that the list only shrinks.

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

sys.dont_write_bytecode = True  # nothing written into the tree it checks

from public_declarations import single_user_declarations

KNOWN_NAME = "check_layers_known.txt"

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
    if parts[0] in ("app", "bench"):
        return "program"
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
    if layer_of(from_rel) == "program" and to_rel.startswith("toolkit/"):
        return "a program includes a toolkit header instead of a korvanthide/ one"
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
        for top in ("include", "toolkit", "app", "bench", "fuzz"):
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
    """(known-list key, report line) of every forbidden include."""
    problems = []
    for rel in tree.files:
        for number, _, name in tree.includes(rel):
            target = tree.resolve(rel, name)
            if target is None:
                continue
            why = forbidden(rel, target)
            if why:
                problems.append((f"{rel}: {name}", f"{rel}:{number}: {why} ({name})"))
    return problems


def check_public_declarations(tree):
    """(known-list key, report line) of every include/ declaration that one
    subsystem or none uses."""
    problems = []
    for d, users in single_user_declarations(tree.root, tree.files):
        who = f"only {users[0]} uses it" if users else "no subsystem names it"
        problems.append((f"{d.header}: {d.label}",
                         f"{d.header}:{d.line}: {d.label}: {who}; declare it beside its sources"))
    return problems


def read_known(path):
    """The keys of check_layers_known.txt: one a line, '#' starts a comment."""
    if not os.path.exists(path):
        return set()
    with open(path) as f:
        return {line.split("#")[0].strip() for line in f} - {""}


def fuzz_sources(tree):
    """The fuzz targets, which build natively with the libraries' include directories."""
    dirs = [os.path.join(tree.root, "include"), os.path.join(tree.root, "toolkit")]
    return {rel: dirs for rel in tree.files if rel.startswith("fuzz/")}


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
    sources = {**native_sources(root, database), **fuzz_sources(tree)}
    known = read_known(os.path.join(os.path.dirname(os.path.abspath(__file__)), "check_layers_known.txt"))
    pending = check_edges(tree) + check_public_declarations(tree)
    problems = [line for key, line in pending if key not in known]
    found = {key for key, _ in pending}
    problems += [f"{KNOWN_NAME}: '{key}' no longer occurs; take it off the list"
                 for key in sorted(known - found)]
    problems += check_windows_reach(tree, sources)
    for problem in problems:
        print(problem)
    if problems:
        print(f"check_layers: {len(problems)} fault(s)")
        return 1
    waiting = f", {len(known)} known fault(s) listed in {KNOWN_NAME}" if known else ""
    print(f"check_layers: {len(tree.files)} files, no forbidden include edge{waiting}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
