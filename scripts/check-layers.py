#!/usr/bin/env python3
"""The dependency rules of the source tree, checked from its #include lines.

A unit is a header with its source file (players.h + players.cpp). Two rules:
  - no cycle between units: when a.cpp includes b.h, nothing of b may
    include a (directly or through other units);
  - folders depend downwards only: programs/ -> setup/, admin/ -> the libraries
    (report/, season/, preparse/, seasonsite/, tagsift/) -> analyser/; a
    library never includes another library of its own level.

    scripts/check-layers.py [SOURCE_DIR]

Prints every violation and exits 1 when there is one.
"""
import collections
import os
import re
import sys

LEVELS = {
    'analyser': 1,
    'report': 2, 'season': 2, 'preparse': 2, 'seasonsite': 2, 'tagsift': 2,
    'setup': 3, 'admin': 3,
    'programs': 4,
}


def source_files(top):
    """Every source file, and the headers by name (a quoted include names one)."""
    sources, headers = [], {}
    for folder in LEVELS:
        for name in sorted(os.listdir(os.path.join(top, folder))):
            if not name.endswith(('.h', '.cpp')):
                continue
            sources.append(f'{folder}/{name}')
            if name.endswith('.h'):
                if name in headers:
                    raise SystemExit(f'two headers named {name}: {headers[name]} and {folder}/{name}')
                headers[name] = f'{folder}/{name}'
    return sources, headers


def includes(top, sources, headers):
    edges = collections.defaultdict(set)
    for path in sources:
        with open(os.path.join(top, path), encoding='utf-8') as source:
            for line in source:
                match = re.match(r'\s*#\s*include\s+"([^"]+)"', line)
                if match and os.path.basename(match.group(1)) in headers:
                    edges[path].add(headers[os.path.basename(match.group(1))])
    return edges


def unit(path):
    return path.rsplit('.', 1)[0]


def find_cycles(edges):
    graph = collections.defaultdict(set)
    for source, targets in edges.items():
        for target in targets:
            if unit(source) != unit(target):
                graph[unit(source)].add(unit(target))
    cycles, state = [], {}

    def visit(node, path):
        state[node] = 'open'
        path.append(node)
        for nxt in sorted(graph[node]):
            if state.get(nxt) == 'open':
                cycles.append(path[path.index(nxt):] + [nxt])
            elif nxt not in state:
                visit(nxt, path)
        path.pop()
        state[node] = 'done'

    for node in sorted(graph):
        if node not in state:
            visit(node, [])
    return cycles


def main():
    top = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..')
    sys.setrecursionlimit(10000)
    edges = includes(top, *source_files(top))
    problems = [f'include cycle: {" -> ".join(cycle)}' for cycle in find_cycles(edges)]
    for source, targets in sorted(edges.items()):
        for target in sorted(targets):
            a, b = source.split('/')[0], target.split('/')[0]
            if LEVELS[b] > LEVELS[a] or (LEVELS[b] == LEVELS[a] and a != b):
                problems.append(f'{source} includes {target}: {b}/ is not below {a}/')
    for problem in problems:
        print(problem)
    print(f'layers: {len(problems)} problem(s) in {len(edges)} files')
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
