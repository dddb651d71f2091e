#!/usr/bin/env python3
"""Checks that the documentation points only at things that are there, and
that the product's includes keep to the layers.

    check-docs.py [--root DIR]   check the tree at DIR (default: this file's tree)
    check-docs.py --selftest     run the checker on a small tree of its own

The pages are README.md, CODING_GUIDELINES.md and docs/*.md. In each:
  - a relative link or picture must point to a file or folder of the tree,
    and a #anchor to a heading of the page it points into;
  - a path quoted in backticks that starts with a top-level folder of the
    tree (or names a top-level file) must exist; a path without an
    extension may name a file with one (`core/ConversionCache` for
    ConversionCache.h), and paths with placeholders (`*`, `...`, `NAME`, an
    all-capitals part such as `DIR`) are skipped.
Code blocks (fenced, or indented by four spaces) are commands and output,
not references, and are not checked.

The layers, from the bottom: system, core, dbase, run, ui/forms, the two
window backends ui/qt and ui/win32, and cli beside them at the top. A header
or source file of a layer may include only its own layer's headers and the
layers listed for it in ALLOWED; tests/, fuzz/, bench/ and tools/ are exempt.
Linking does not catch a breach through a header-only include, so this does.

Exit status 0 when all is sound, 1 naming every fault, one a line.
"""

import argparse
import os
import re
import sys
import tempfile

PAGES_FIXED = ["README.md", "CODING_GUIDELINES.md"]
TOP_FOLDERS = ["core", "system", "dbase", "run", "ui", "cli", "tools", "dist", "tests",
               "fuzz", "bench", "cmake", "docs", ".ci"]
TOP_FILES = ["CMakeLists.txt", "CMakePresets.json", "dev", "README.md", "CODING_GUIDELINES.md",
             ".clang-format", ".editorconfig", ".gitignore", ".gitattributes"]

# What each layer of the product may include besides itself. dbase is the
# table engine: it knows the platform services but no dates.
ALLOWED = {
    "system": [],
    "core": ["system"],
    "dbase": ["core", "system"],
    "run": ["dbase", "core", "system"],
    "ui/forms": ["run", "dbase", "core", "system"],
    "ui/qt": ["ui/forms", "run", "dbase", "core", "system"],
    "ui/win32": ["ui/forms", "run", "dbase", "core", "system"],
    "cli": ["run", "dbase", "core", "system"],
}
# Folders that are no layer of the product and whose headers a layer never includes.
OTHER_FOLDERS = ["tests", "fuzz", "bench", "tools", "ui/art", "dist"]
SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc")

LINK = re.compile(r"!?\[(?:[^\]\\]|\\.)*\]\(\s*<?([^)\s>]*)>?(?:\s+\"[^\"]*\")?\s*\)")
CODE_SPAN = re.compile(r"(`+)(.+?)\1")
HEADING = re.compile(r"^(#{1,6})\s+(.*?)\s*#*\s*$")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
PLACEHOLDER_PART = re.compile(r"^[A-Z][A-Z0-9_]*$")


def pages(root):
    found = [p for p in PAGES_FIXED if os.path.isfile(os.path.join(root, p))]
    docs = os.path.join(root, "docs")
    if os.path.isdir(docs):
        found += sorted("docs/" + name for name in os.listdir(docs) if name.endswith(".md"))
    return found


def prose_lines(text):
    """(line number, line) of every line outside code blocks."""
    fence = None
    previous_blank = True
    in_indented = False
    for number, line in enumerate(text.split("\n"), 1):
        stripped = line.lstrip()
        if fence:
            if stripped.startswith(fence):
                fence = None
            previous_blank = False
            continue
        if stripped.startswith("```") or stripped.startswith("~~~"):
            fence = stripped[:3]
            continue
        indented = line.startswith("    ") or line.startswith("\t")
        if indented and (previous_blank or in_indented) and not in_list_item(line):
            in_indented = True
            previous_blank = False
            continue
        if line.strip():
            in_indented = False
        previous_blank = not line.strip()
        yield number, line


def in_list_item(line):
    # A continuation of a list item indented by four is prose, not code.
    return bool(re.match(r"^ {4}(?:[-*+] |\d+\. )", line))


def slug(heading):
    """The anchor GitHub gives a heading."""
    text = re.sub(r"`", "", heading)
    text = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", text)
    text = text.strip().lower()
    text = re.sub(r"[^\w\- ]", "", text)
    return text.replace(" ", "-")


def anchors(path, cache):
    if path not in cache:
        seen = {}
        result = set()
        with open(path, encoding="utf-8") as f:
            for _, line in prose_lines(f.read()):
                m = HEADING.match(line)
                if not m:
                    continue
                base = slug(m.group(2))
                n = seen.get(base, 0)
                seen[base] = n + 1
                result.add(base if n == 0 else f"{base}-{n}")
        cache[path] = result
    return cache[path]


def is_placeholder(path):
    if any(s in path for s in ("*", "...", "NAME", "<", ">", "{", "}", "$", "[", "]", "%")):
        return True
    return any(PLACEHOLDER_PART.match(part) for part in path.strip("/").split("/"))


def looks_like_tree_path(text):
    if not text or any(c.isspace() for c in text) or "://" in text:
        return False
    if text in TOP_FILES:
        return True
    first = text.split("/", 1)[0]
    return "/" in text and first in TOP_FOLDERS


def path_exists(root, path):
    full = os.path.join(root, path)
    if os.path.exists(full):
        return True
    # A file named without its extension: `ui/forms/KeyboardRules`.
    folder, name = os.path.split(full.rstrip("/"))
    if name and "." not in name and os.path.isdir(folder):
        return any(entry.startswith(name + ".") for entry in os.listdir(folder))
    return False


def check_pages(root):
    faults = []
    cache = {}
    for page in pages(root):
        page_path = os.path.join(root, page)
        page_dir = os.path.dirname(page_path)
        with open(page_path, encoding="utf-8") as f:
            text = f.read()
        for number, line in prose_lines(text):
            where = f"{page}:{number}"
            for m in LINK.finditer(line):
                target = m.group(1)
                if not target or re.match(r"^[a-z][a-z0-9+.-]*:", target):
                    continue  # a web address, mail address or the like
                file_part, _, anchor = target.partition("#")
                linked = os.path.normpath(os.path.join(page_dir, file_part)) if file_part else page_path
                if file_part and not os.path.exists(linked):
                    faults.append(f"{where}: link to a missing file: {target}")
                    continue
                if anchor and linked.endswith(".md") and os.path.isfile(linked):
                    if anchor not in anchors(linked, cache):
                        faults.append(f"{where}: link to a missing heading: {target}")
            for m in CODE_SPAN.finditer(LINK.sub("", line)):
                quoted = m.group(2).strip()
                if not looks_like_tree_path(quoted) or is_placeholder(quoted):
                    continue
                if not path_exists(root, quoted):
                    faults.append(f"{where}: path not in the tree: {quoted}")
    return faults


def layer_of(path):
    """The layer (or other folder) a path of the tree is in, or None."""
    for folder in sorted(list(ALLOWED) + OTHER_FOLDERS, key=len, reverse=True):
        if path == folder or path.startswith(folder + "/"):
            return folder
    return None


def check_layers(root):
    faults = []
    for layer, lower in ALLOWED.items():
        top = os.path.join(root, layer)
        if not os.path.isdir(top):
            continue
        for folder, dirs, files in os.walk(top):
            dirs.sort()
            for name in sorted(files):
                if not name.endswith(SOURCE_SUFFIXES):
                    continue
                path = os.path.join(folder, name)
                relative = os.path.relpath(path, root).replace(os.sep, "/")
                if layer_of(relative) != layer:
                    continue  # a deeper layer's file, checked as that layer
                with open(path, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m:
                            continue
                        included = m.group(1)
                        where = f"{relative}:{number}"
                        if included.startswith("../") or "/../" in included:
                            faults.append(f"{where}: include not rooted at the tree: {included}")
                            continue
                        target = layer_of(included)
                        if target is None or target == layer or target in lower:
                            continue
                        faults.append(f"{where}: {layer} may not include {included} "
                                      f"(it may include {', '.join(lower) or 'only its own headers'})")
    return faults


def check(root):
    return check_pages(root) + check_layers(root)


# The self-test: a tree with one sound and one broken reference of each kind.
SELFTEST_FILES = {
    "README.md": "\n".join([
        "# Title",
        "## A heading: `with code`",
        "[sound link](docs/page.md) and ![sound picture](docs/shot.png)",
        "[broken link](docs/missing.md)",
        "[sound anchor](docs/page.md#second-part) [sound own anchor](#a-heading-with-code)",
        "[broken anchor](docs/page.md#no-such-part)",
        "`core/Real.h` `core/Real` `tests/` `CMakeLists.txt` `core/NAME.h` `core/*.cpp`",
        "`core/Missing.h` `core/Absent` `docs/gone/`",
        "`cmake --build build` `build/bin/qrx2` [web](https://example.org/x)",
        "",
        "    core/InCodeBlock.h [not a link](nowhere.md)",
        "",
    ]),
    "docs/page.md": "# Page\n\n## Second part\n\n[back](../README.md)\n",
    "docs/shot.png": "",
    "CMakeLists.txt": "",
    "tests/keep": "",
    "core/Real.h": '#include "system/Failure.h"\n#include "dbase/Table.h"\n',
    "system/Failure.h": "",
    "dbase/Table.h": '#include "system/Failure.h"\n#include "core/Real.h"\n#include "run/Run.h"\n',
    "run/Run.cpp": '#include "dbase/Table.h"\n#include "../ui/forms/Form.h"\n',
    "ui/forms/Form.h": '#include "run/Run.h"\n#include "ui/qt/Widget.h"\n',
    "ui/qt/Widget.h": '#include "ui/forms/Form.h"\n#include "ui/win32/Window.h"\n',
    "cli/Main.cpp": '#include "run/Run.h"\n#include "ui/forms/Form.h"\n#include "tests/support/X.h"\n',
    "tests/Test.cpp": '#include "ui/qt/Widget.h"\n',
}
SELFTEST_FAULTS = [
    "README.md:4: link to a missing file: docs/missing.md",
    "README.md:6: link to a missing heading: docs/page.md#no-such-part",
    "README.md:8: path not in the tree: core/Missing.h",
    "README.md:8: path not in the tree: core/Absent",
    "README.md:8: path not in the tree: docs/gone/",
    "core/Real.h:2: core may not include dbase/Table.h (it may include system)",
    "dbase/Table.h:3: dbase may not include run/Run.h (it may include core, system)",
    "run/Run.cpp:2: include not rooted at the tree: ../ui/forms/Form.h",
    "ui/forms/Form.h:2: ui/forms may not include ui/qt/Widget.h "
    "(it may include run, dbase, core, system)",
    "ui/qt/Widget.h:2: ui/qt may not include ui/win32/Window.h "
    "(it may include ui/forms, run, dbase, core, system)",
    "cli/Main.cpp:2: cli may not include ui/forms/Form.h (it may include run, dbase, core, system)",
    "cli/Main.cpp:3: cli may not include tests/support/X.h "
    "(it may include run, dbase, core, system)",
]


def selftest():
    with tempfile.TemporaryDirectory() as root:
        for name, content in SELFTEST_FILES.items():
            path = os.path.join(root, name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w", encoding="utf-8") as f:
                f.write(content)
        found = check(root)
    missed = [f for f in SELFTEST_FAULTS if f not in found]
    extra = [f for f in found if f not in SELFTEST_FAULTS]
    for f in missed:
        print(f"check-docs self-test: not reported: {f}", file=sys.stderr)
    for f in extra:
        print(f"check-docs self-test: reported, but sound: {f}", file=sys.stderr)
    return 1 if missed or extra else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--root", default=os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    parser.add_argument("--selftest", action="store_true")
    args = parser.parse_args()
    if args.selftest:
        return selftest()
    faults = check(args.root)
    for fault in faults:
        print(fault, file=sys.stderr)
    if faults:
        print(f"check-docs: {len(faults)} fault(s)", file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
