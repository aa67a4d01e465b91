#!/usr/bin/env python3
"""Checks the include graph of the product folders against the layer order.

    res, framework  <  skin  <  settings  <  gpu, display, hwinfo, shortcuts, options, update
                    <  mainwindow  <  app

A folder may include its own files and those of lower layers; folders of one layer may include
each other as long as no cycle forms. A library under libs/ includes only itself, res/ and
framework/. tests/, sim/ and tools/ may include anything and are not checked. Prints every
offending include and every cycle; exits 1 when there is any.

    check_layers.py [ROOT]
"""

import os
import re
import sys

LAYERS = [
    ["res", "framework"],
    ["skin"],
    ["settings"],
    ["gpu", "display", "hwinfo", "shortcuts", "options", "update"],
    ["mainwindow"],
    ["app"],
]
LIBS = "libs"
SOURCES = (".cpp", ".h", ".rc")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def layer_of(folder):
    for rank, members in enumerate(LAYERS):
        if folder in members:
            return rank
    return None


def folder_of(root, path):
    """The product folder a repository path belongs to ("gpu", "libs/versync"), or None."""
    parts = os.path.relpath(path, root).split(os.sep)
    if parts[0] == LIBS and len(parts) > 2:
        return LIBS + "/" + parts[1]
    if layer_of(parts[0]) is not None:
        return parts[0]
    return None


def resolve(root, source, included):
    """The repository file an include names: beside the source first, then from the root."""
    for base in (os.path.dirname(source), root):
        candidate = os.path.normpath(os.path.join(base, included))
        if os.path.isfile(candidate):
            return candidate
    return None


def allowed(source_folder, target_folder):
    if source_folder == target_folder:
        return True
    if source_folder.startswith(LIBS + "/"):
        return target_folder in ("res", "framework")
    if target_folder.startswith(LIBS + "/"):
        # The program includes a library's public headers: libraries sit with res and framework.
        return True
    return layer_of(target_folder) <= layer_of(source_folder)


def find_cycles(edges):
    """Folder cycles (each as a list of folders) in a {folder: {folder: example}} graph."""
    cycles, state, stack = [], {}, []

    def visit(node):
        state[node] = "open"
        stack.append(node)
        for nxt in sorted(edges.get(node, {})):
            if state.get(nxt) == "open":
                cycles.append(stack[stack.index(nxt):] + [nxt])
            elif nxt not in state:
                visit(nxt)
        stack.pop()
        state[node] = "done"

    for node in sorted(edges):
        if node not in state:
            visit(node)
    return cycles


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                           os.path.join(os.path.dirname(__file__), "..", ".."))
    problems = []
    edges = {}
    for top in [f for layer in LAYERS for f in layer] + [LIBS]:
        for directory, _, files in os.walk(os.path.join(root, top)):
            for name in sorted(files):
                if not name.endswith(SOURCES):
                    continue
                source = os.path.join(directory, name)
                source_folder = folder_of(root, source)
                if source_folder is None:
                    continue
                with open(source, encoding="utf-8", errors="replace") as f:
                    text = f.read()
                for included in INCLUDE.findall(text):
                    target = resolve(root, source, included)
                    target_folder = folder_of(root, target) if target else None
                    if target_folder is None:
                        if target is not None:
                            problems.append("%s includes %s, outside the product folders"
                                            % (os.path.relpath(source, root), included))
                        continue
                    if not allowed(source_folder, target_folder):
                        problems.append("%s includes %s: %s may not include %s"
                                        % (os.path.relpath(source, root), included,
                                           source_folder, target_folder))
                    if source_folder != target_folder:
                        edges.setdefault(source_folder, {}).setdefault(
                            target_folder, os.path.relpath(source, root) + " -> " + included)
    for cycle in find_cycles(edges):
        links = ["%s (%s)" % (" -> ".join(pair), edges[pair[0]][pair[1]])
                 for pair in zip(cycle, cycle[1:])]
        problems.append("folder cycle: " + "; ".join(links))
    for problem in problems:
        print(problem)
    print("include layers: %d problem(s)" % len(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
