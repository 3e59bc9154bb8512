#!/usr/bin/env python3
"""Fails when a source file includes a header of its own layer's neighbour or of a higher
layer. Every include of the program must point down:

    app                                        the application and its main window
    settings  register  curing  remind  version  strength   the subsystems' pages, dialogs, controllers
    ui  chart                                  widgets the subsystems share; the curve chart module
    model                                      what the program knows and computes (no widgets)
    db  net                                    storage, network
    core                                       what everything uses

A folder may include its own headers. tools/ may use every layer except app; tests are
free to include what they test.
"""
import pathlib
import re
import sys

LAYERS = {
    "core": 0,
    "db": 1, "net": 1,
    "model": 2,
    "ui": 3, "chart": 3,
    "settings": 4, "register": 4, "curing": 4, "remind": 4, "version": 4, "strength": 4,
    "app": 5,
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/[^"]+"', re.MULTILINE)


def check_file(path, folder, allowed):
    problems = []
    for match in INCLUDE.finditer(path.read_text(encoding="utf-8")):
        target = match.group(1)
        if target == folder or target not in LAYERS:
            continue
        if not allowed(target):
            line = path.read_text(encoding="utf-8").count("\n", 0, match.start()) + 1
            problems.append(f"{path}:{line}: {folder} may not include {match.group(0).strip()}")
    return problems


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)
    problems = []
    unknown = []
    for path in sorted((root / "src").rglob("*")):
        if path.suffix not in (".h", ".cpp") or path.parent == root / "src":
            continue
        folder = path.relative_to(root / "src").parts[0]
        if folder not in LAYERS:
            unknown.append(str(path))
            continue
        rank = LAYERS[folder]
        problems += check_file(path, folder, lambda target: LAYERS[target] < rank)
    for path in sorted((root / "tools").rglob("*")):
        if path.suffix in (".h", ".cpp"):
            problems += check_file(path, "tools", lambda target: target != "app")
    main_cpp = root / "src" / "main.cpp"
    problems += check_file(main_cpp, "main", lambda target: target == "app")
    for path in unknown:
        problems.append(f"{path}: folder without a layer (add it to {pathlib.Path(__file__).name})")
    for problem in problems:
        print(problem)
    if problems:
        print(f"layer check: {len(problems)} include(s) point up or sideways")
        return 1
    print("layer check: every include points down")
    return 0


if __name__ == "__main__":
    sys.exit(main())
