#!/usr/bin/env python3
"""The dependency rules of the source tree, checked from its #include lines.

The tree holds two projects, each a table of folders by level below:
  - the stats suite: programs/ and bench/ -> setup/, admin/ -> the libraries
    (report/, season/, preparse/, seasonsite/, tagsift/) -> analyser/;
  - Cvarsmith, servercfg/: program/ (its main), tools/ and tests/ -> the
    fronts headless/ and gui/ -> the adapters store/ and process/ -> core/.
fuzz/ (over fuzz/common/) sits on top of both. A folder's tests/ sits half a
level above the folder (servercfg/tests/, which tests the whole project, is
listed); the shared test helpers, tests/support/, below everything.

A unit is a header with its source file (players.h + players.cpp). The rules:
  - no cycle between units: when a.cpp includes b.h, nothing of b may
    include a (directly or through other units);
  - folders depend downwards only: a folder includes its own headers and
    those of lower levels of its project, never a folder of its own level
    (a library another library, headless/ gui/ or back) nor above
    (analyser/tests/ does not include report/ or programs/);
  - test code (any tests/ folder) is included by test code only;
  - every folder holding a .h or .cpp is in a table (build trees, those with
    a CMakeCache.txt, are not looked into).

A quoted include names a header by its file name. It is looked for in the
includer's project: in the includer's own folder, else in the folders it may
include, else anywhere in the project (and so reported as a violation). When
two headers are left, the include is reported: the compiler may take either.

    scripts/check-layers.py [SOURCE_DIR]

Prints every violation and exits 1 when there is one.
"""
import collections
import os
import re
import sys

# Folder -> level; a folder in both tables sees both projects' headers.
SUITE = {
    'tests/support': 0,
    'analyser': 1,
    'report': 2, 'season': 2, 'preparse': 2, 'seasonsite': 2, 'tagsift': 2,
    'setup': 3, 'admin': 3,
    'programs': 4, 'bench': 4,
    'fuzz/common': 5,
    'fuzz': 6,
}

# servercfg/ resolves its includes within itself: it is a program of its own.
CVARSMITH = {
    'tests/support': 0,
    'servercfg/core': 1,
    'servercfg/store': 2, 'servercfg/process': 2,
    'servercfg/headless': 3, 'servercfg/gui': 3,
    'servercfg/program': 4, 'servercfg/tools': 4, 'servercfg/tests': 4,
    'fuzz': 6,
}

PROJECTS = [SUITE, CVARSMITH]

# Folders of other people's code, not looked into.
SKIPPED = {'node_modules'}


def with_test_folders(top, levels):
    """The table with FOLDER/tests, where there is one, half a level above FOLDER."""
    levels = dict(levels)
    for folder, level in list(levels.items()):
        tests = f'{folder}/tests'
        if tests not in levels and os.path.isdir(os.path.join(top, tests)):
            levels[tests] = level + 0.5
    return levels


def is_test(folder):
    return 'tests' in folder.split('/')


def source_folders(top):
    """Every folder holding a .h or .cpp, build trees (a CMakeCache.txt) left out."""
    for path, dirs, files in os.walk(top):
        dirs[:] = sorted(d for d in dirs if not d.startswith('.') and d not in SKIPPED
                         and not os.path.exists(os.path.join(path, d, 'CMakeCache.txt')))
        if any(name.endswith(('.h', '.cpp')) for name in files):
            yield os.path.relpath(path, top).replace(os.sep, '/')


def source_files(top, folders):
    """Every source file, and the headers by file name (several may share one)."""
    sources, headers = [], collections.defaultdict(list)
    for folder in sorted(folders):
        for name in sorted(os.listdir(os.path.join(top, folder))):
            if name.endswith(('.h', '.cpp')):
                sources.append(f'{folder}/{name}')
                if name.endswith('.h'):
                    headers[name].append(folder)
    return sources, headers


def folder_of(path):
    return path.rsplit('/', 1)[0]


def below(levels, a, b):
    """Whether folder a may include folder b: its own, or lower in a project of both."""
    if a == b:
        return True
    return any(a in table and b in table and table[b] < table[a] for table in levels)


def resolve(name, includer, headers, levels):
    """The folders an include of `name` from folder `includer` may mean."""
    seen = [f for f in headers.get(name, []) if any(includer in t and f in t for t in levels)]
    if includer in seen:
        return [includer]
    return [f for f in seen if below(levels, includer, f)] or seen


def includes(top, sources, headers, levels):
    """Each source's included headers, with the line that includes them."""
    edges, problems = collections.defaultdict(dict), []
    for path in sources:
        with open(os.path.join(top, path), encoding='utf-8') as source:
            for number, line in enumerate(source, 1):
                match = re.match(r'\s*#\s*include\s+"([^"]+)"', line)
                if not match:
                    continue
                name = os.path.basename(match.group(1))
                found = resolve(name, folder_of(path), headers, levels)
                if len(found) > 1:
                    problems.append(f'{path}:{number}: {name} may be any of '
                                    + ', '.join(f'{f}/{name}' for f in found))
                elif found:
                    edges[path].setdefault(f'{found[0]}/{name}', number)
    return edges, problems


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


def folder_problems(edges, levels):
    problems = []
    for source, targets in sorted(edges.items()):
        for target, number in sorted(targets.items()):
            a, b = folder_of(source), folder_of(target)
            if is_test(b) and not is_test(a):
                problems.append(f'{source}:{number} includes {target}: test code, and {a}/ is not a test folder')
            elif not below(levels, a, b):
                problems.append(f'{source}:{number} includes {target}: {b}/ is not below {a}/')
    return problems


def check(top):
    """Every violation in the tree at `top`, and the number of files read."""
    levels = [with_test_folders(top, table) for table in PROJECTS]
    listed = set().union(*levels)
    folders = list(source_folders(top))
    problems = [f'{folder}/ holds sources but is in no table of check-layers.py'
                for folder in folders if folder not in listed]
    sources, headers = source_files(top, [f for f in folders if f in listed])
    edges, ambiguous = includes(top, sources, headers, levels)
    problems += ambiguous
    problems += [f'include cycle: {" -> ".join(cycle)}' for cycle in find_cycles(edges)]
    problems += folder_problems(edges, levels)
    return problems, len(sources)


def main():
    top = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..')
    sys.setrecursionlimit(10000)
    problems, files = check(top)
    for problem in problems:
        print(problem)
    print(f'layers: {len(problems)} problem(s) in {files} files')
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
