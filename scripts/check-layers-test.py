#!/usr/bin/env python3
"""scripts/check-layers.py over small made-up source trees."""
import importlib.util
import os
import tempfile
import unittest

_spec = importlib.util.spec_from_file_location(
    'check_layers', os.path.join(os.path.dirname(os.path.abspath(__file__)), 'check-layers.py'))
layers = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(layers)


class Tree:
    """A scratch source tree: {path: [included names]}."""

    def __init__(self, files):
        self.dir = tempfile.TemporaryDirectory()
        for path, names in files.items():
            os.makedirs(os.path.dirname(os.path.join(self.dir.name, path)), exist_ok=True)
            with open(os.path.join(self.dir.name, path), 'w', encoding='utf-8') as out:
                out.write('#pragma once\n#include <string>\n')
                out.writelines(f'#include "{name}"\n' for name in names)

    def problems(self):
        with self.dir:
            return layers.check(self.dir.name)[0]


# A tree that follows every rule.
GOOD = {
    'analyser/text.h': [],
    'analyser/game.h': ['text.h'],
    'analyser/game.cpp': ['game.h'],
    'analyser/tests/fixture.h': ['game.h', 'program_runner.h'],
    'report/page.h': ['game.h'],
    'report/tests/page_test.cpp': ['page.h', 'fixture.h', 'program_runner.h'],
    'programs/main.cpp': ['page.h'],
    'tests/support/program_runner.h': [],
    'servercfg/core/platform.h': [],
    'servercfg/core/settings.h': ['platform.h'],
    'servercfg/gui/dialog.h': ['settings.h'],
    'servercfg/headless/front.h': ['settings.h'],
    'servercfg/program/main.cpp': ['dialog.h', 'front.h'],
    'servercfg/tests/dialog_test.cpp': ['dialog.h', 'program_runner.h'],
}


def problems_with(changes):
    """The problems of GOOD with some files added or changed."""
    return Tree({**GOOD, **changes}).problems()


class Rules(unittest.TestCase):
    def test_a_tree_that_follows_the_rules_passes(self):
        self.assertEqual(Tree(GOOD).problems(), [])

    def test_an_include_upwards_or_sideways_is_reported(self):
        self.assertEqual(problems_with({'analyser/lone.cpp': ['page.h']}),
                         ['analyser/lone.cpp:3 includes report/page.h: report/ is not below analyser/'])
        self.assertEqual(problems_with({'servercfg/headless/front.cpp': ['front.h', 'dialog.h']}),
                         ['servercfg/headless/front.cpp:4 includes servercfg/gui/dialog.h: '
                          'servercfg/gui/ is not below servercfg/headless/'])

    def test_a_test_folder_includes_nothing_above_its_folder(self):
        self.assertEqual(problems_with({'analyser/tests/fixture.h': ['game.h', 'page.h']}),
                         ['analyser/tests/fixture.h:4 includes report/page.h: '
                          'report/ is not below analyser/tests/'])

    def test_test_code_is_included_by_tests_only(self):
        self.assertIn('test code', problems_with({'programs/main.cpp': ['program_runner.h']})[0])
        self.assertIn('test code', problems_with({'report/page.h': ['fixture.h']})[0])

    def test_a_cycle_through_a_source_file_is_reported(self):
        self.assertEqual(problems_with({'analyser/text.cpp': ['text.h', 'game.h']}),
                         ['include cycle: analyser/game -> analyser/text -> analyser/game'])

    def test_a_folder_in_no_table_is_reported(self):
        self.assertEqual(problems_with({'extra/x.cpp': []}),
                         ['extra/ holds sources but is in no table of check-layers.py'])


class Names(unittest.TestCase):
    def test_each_program_resolves_a_name_among_its_own_headers(self):
        # analyser/settings.h beside servercfg/core/settings.h.
        self.assertEqual(problems_with({'analyser/settings.h': [], 'report/page.h': ['game.h', 'settings.h']}),
                         [])

    def test_the_includers_own_folder_comes_first(self):
        self.assertEqual(problems_with({'report/text.h': [], 'report/page.h': ['text.h']}), [])

    def test_a_header_above_the_includer_does_not_compete(self):
        self.assertEqual(problems_with({'programs/text.h': [], 'report/page.h': ['game.h', 'text.h']}), [])

    def test_two_headers_the_includer_may_both_mean_are_reported(self):
        self.assertEqual(problems_with({'report/text.h': [], 'programs/main.cpp': ['text.h']}),
                         ['programs/main.cpp:3: text.h may be any of analyser/text.h, report/text.h'])


if __name__ == '__main__':
    unittest.main()
