#!/usr/bin/env python3
"""Prints which folders of src/ include which, as two Mermaid graphs: the
front ends with the core as one box, then the core's own folders. A quoted
include names its layer from src/ ("core/store/table.h"), or a header beside
the file. Headers at the core's top (core/error.h) are left out. Run from the repository root; docs/architecture.md shows the output.
"""
import pathlib
import re
import sys

SRC = pathlib.Path("src")
INCLUDE = re.compile(r'^\s*#include\s+"([^"]+)"', re.M)


def folder_of(path: pathlib.Path) -> str:
    parts = path.relative_to(SRC).parts
    return "/".join(parts[:2]) if parts[0] in ("core", "gui") and len(parts) > 2 else parts[0]


def resolve(source: pathlib.Path, name: str):
    for candidate in (SRC / name, source.parent / name):
        if candidate.exists():
            return candidate
    return None


def print_graph(edges) -> None:
    print("```mermaid")
    print("graph TD")
    for a, b in sorted(edges):
        print(f'  {a.replace("/", "_")}["{a}"] --> {b.replace("/", "_")}["{b}"]')
    print("```")


def main() -> int:
    edges = set()
    for source in sorted(SRC.rglob("*")):
        if source.suffix not in (".h", ".cpp"):
            continue
        for name in INCLUDE.findall(source.read_text(encoding="utf-8")):
            target = resolve(source, name)
            if target is None:
                continue
            a, b = folder_of(source), folder_of(target)
            if a != b and b != "core":
                edges.add((a, b))
    in_core = lambda folder: folder.startswith("core")
    print_graph({(a, "core" if in_core(b) else b) for a, b in edges if not in_core(a)})
    print()
    print_graph({(a, b) for a, b in edges if in_core(a) and in_core(b)})
    return 0


if __name__ == "__main__":
    sys.exit(main())
