"""The declarations of include/korvanthide and the subsystems that use them.

include/korvanthide is what programs call: the public routines, the records
the subsystems share, and what more than one subsystem uses. A declaration
there that one subsystem alone uses belongs beside that subsystem's sources.

The reading is textual, which the headers' plain style allows: comments,
strings and preprocessor lines are dropped, and every statement at namespace
scope names one declaration (a function, a record, an alias, a constant).
The constants of a nested namespace (korv::event, korv::err, ...) count as
one declaration, used wherever "name::" appears. A subsystem uses a name
when any of its files, tests included, holds that word. A declaration that
another kept declaration names (a record in a signature, a member's type)
stays too.
"""
import os
import re

IDENT = re.compile(r"[A-Za-z_]\w*")

SUBSYSTEMS = ("core", "dialogs", "graphics", "editor", "grid", "hardcopy")

# What programs call by name: the public routines, the grid's back ends
# (korvanthide/grid.h offers them to programs) and the records the
# subsystems share.
PUBLIC_ROUTINE = re.compile(
    r"^(W[A-Z]|IGr|IPg|IOs|IFile|IString|IntegerToString|IRealToString|IDoubleToString|INext|grid_)")
SHARED_RECORDS = {
    "EventRecord", "EventEnableTable", "WindowTables", "WindowContentRecord", "ErrorState",
    "ToolkitSettings", "DialogTable", "DialogRecord", "FieldRecord", "DialogResultState",
    "ControlClassAtoms", "DialogExtrasBlock", "GraphicsState", "DeviceOperation",
    "DeviceParameters", "DeviceCapabilities", "PointBuffer", "ColourTable256", "BitmapSlots",
    "MetafileSlots", "HardcopyOptions", "PrinterPlotterSettings", "EditorBufferTable",
}


def user_of(rel):
    """The subsystem (or program) a repository path speaks for, or None."""
    parts = rel.split("/")
    if parts[0] == "toolkit" and len(parts) > 2 and parts[1] in SUBSYSTEMS:
        return parts[1]
    if parts[:2] == ["toolkit", "testing"]:
        return "testing"  # the support library every subsystem's tests share
    if parts[0] == "app":
        return "converter"
    if parts[0] == "bench":
        return "bench"
    return None


def strip_code(text):
    """The text without comments, string contents and preprocessor lines;
    line breaks are kept so that offsets still give line numbers."""
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            i = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i)
            j = n if j < 0 else j + 2
            out.append("\n" * text.count("\n", i, j))
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append(c + c)
            i = j + 1
        elif c == "#" and text[text.rfind("\n", 0, i) + 1:i].strip() == "":
            j = i
            while True:   # a directive, with its continued lines
                j = text.find("\n", j)
                if j < 0 or text[j - 1] != "\\":
                    break
                out.append("\n")
                j += 1
            i = n if j < 0 else j
        else:
            out.append(c)
            i += 1
    return "".join(out)


def declared_name(statement):
    """The name a namespace-scope statement declares, or None."""
    s = re.sub(r"\s+", " ", statement).strip()
    s = re.sub(r"^template ?<[^{;]*?> ?", "", s)
    s = re.sub(r"\[\[[^\]]*\]\] ?", "", s)
    m = re.match(r"(?:enum (?:class |struct )?|struct |class |union )(\w+)", s)
    if m:
        return m.group(1)
    m = re.match(r"using (\w+) ?=", s)
    if m:
        return m.group(1)
    if not s or s.startswith(("using ", "friend ", "static_assert")):
        return None
    depth = 0
    cut = len(s)
    for i, ch in enumerate(s):
        if ch == "<":
            depth += 1
        elif ch == ">":
            depth -= 1
        elif depth == 0 and ch in "(={[":
            cut = i
            break
    names = IDENT.findall(s[:cut])
    if not names or names[-1] == "operator":
        return None
    return names[-1]


class Declaration:
    def __init__(self, header, line, namespace, name, text):
        self.header, self.line, self.namespace, self.name = header, line, namespace, name
        self.texts = [text]
        # The enumerators of an unscoped enumeration are used by their own names.
        m = re.match(r"\s*enum (?!class |struct )\w+[^{]*\{([^}]*)\}", text)
        self.aliases = [e.split("=")[0].strip() for e in m.group(1).split(",")
                        if e.strip()] if m else []
        if self.namespace.count("::") >= 1:
            self.name = None

    @property
    def unit(self):
        """The constants of a nested namespace form one unit."""
        return (self.header, self.namespace, self.name)

    @property
    def label(self):
        if self.name is None:
            return self.namespace + "::*"
        return f"{self.namespace}::{self.name}" if self.namespace else self.name


def header_declarations(path, rel):
    """Every namespace-scope declaration of one header, with its line."""
    text = strip_code(open(path, encoding="latin-1").read())
    found = []
    spaces = []          # the open namespaces
    statement, start = "", None
    paren = 0
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if c in "()":
            paren += 1 if c == "(" else -1
        if c == "{" and paren == 0:
            head = statement.strip()
            m = re.match(r"^(?:inline )?namespace ([\w:]+)$", head)
            if m or re.match(r'^extern ""$', head):
                spaces.append(m.group(1) if m else "")
                statement, start = "", None
                i += 1
                continue
            # A body: a record's, a function's, or a braced initializer.
            depth, j = 1, i + 1
            while j < n and depth:
                depth += {"{": 1, "}": -1}.get(text[j], 0)
                j += 1
            body = text[i:j]
            name = declared_name(head)
            if name is not None and not re.search(r"\)\s*(const\s*)?(noexcept\s*)?$", head):
                # records, enumerations and initialised variables end at ';'
                k = text.find(";", j)
                j = n if k < 0 else k + 1
                body = text[i:j]
            if name is not None:
                found.append((start, list(spaces), name, head + body))
            statement, start = "", None
            i = j
            continue
        if c == "}" and paren == 0:
            if spaces:
                spaces.pop()
            statement, start = "", None
        elif c == ";" and paren == 0:
            name = declared_name(statement)
            if name is not None:
                found.append((start, list(spaces), name, statement))
            statement, start = "", None
        else:
            if start is None and not c.isspace():
                start = i
            statement += c
        i += 1
    result = []
    for offset, space_list, name, body in found:
        line = text.count("\n", 0, offset) + 1
        result.append(Declaration(rel, line, "::".join(s for s in space_list if s), name, body))
    return result


def public_declarations(root):
    """Declarations by unit, in header order."""
    units = {}
    folder = os.path.join(root, "include", "korvanthide")
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".h"):
            continue
        rel = f"include/korvanthide/{name}"
        for d in header_declarations(os.path.join(folder, name), rel):
            if d.name and d.name.endswith("__"):     # a forward-declared Windows handle type
                continue
            if d.unit in units:
                units[d.unit].texts += d.texts
            else:
                units[d.unit] = d
    return units


def word_users(root, files):
    """Which users hold each word, and each "name::" qualifier."""
    words, qualifiers = {}, {}
    for rel in files:
        user = user_of(rel)
        if user is None:
            continue
        text = strip_code(open(os.path.join(root, rel), encoding="latin-1").read())
        for word in set(IDENT.findall(text)):
            words.setdefault(word, set()).add(user)
        # A using-directive takes in every name of its namespace.
        for word in set(re.findall(r"\b(\w+)\s*::", text)) | set(
                re.findall(r"\busing\s+namespace\s+(?:\w+\s*::\s*)*(\w+)", text)):
            qualifiers.setdefault(word, set()).add(user)
    return words, qualifiers


def single_user_declarations(root, files):
    """(declaration, users) of every declaration that at most one subsystem uses."""
    units = public_declarations(root)
    words, qualifiers = word_users(root, files)

    def users(d):
        if d.name is None:
            return qualifiers.get(d.namespace.split("::")[-1], set())
        found = set(words.get(d.name, set()))
        for alias in d.aliases:
            found |= words.get(alias, set())
        return found

    kept = {key for key, d in units.items()
            if d.name is not None and (PUBLIC_ROUTINE.match(d.name) or d.name in SHARED_RECORDS)
            or len(users(d)) > 1}
    # What a kept declaration names stays with it.
    changed = True
    while changed:
        changed = False
        named = set()
        for key in kept:
            for text in units[key].texts:
                named.update(IDENT.findall(text))
        for key, d in units.items():
            if key not in kept and d.name is not None and d.name in named:
                kept.add(key)
                changed = True
    return [(d, sorted(users(d))) for key, d in units.items() if key not in kept]
