#!/usr/bin/env python3
"""Runs the end-to-end tests: every function test_* of every tests/e2e/test_*.py.

    python3 tests/e2e/run_e2e.py [-k SUBSTRING] [--list]

A test function that takes one parameter is given a fresh harness.Session named after the
test (its files go to build/e2e/runs/<name>/, its screenshots to build/e2e/screenshots/<name>/)
and the session is closed after it, pass or fail. A test that takes no parameter manages its
own sessions. Every test runs, whatever happened to the ones before; the last line reads
"N passed, M failed" and the exit code is 0 only when nothing failed and something ran.
"""

import argparse
import collections
import importlib.util
import inspect
import signal
import sys
import time
import traceback
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))

import harness  # noqa: E402

# A test that hangs is stopped here and counted as failed; tests wait with their own,
# much shorter deadlines.
TEST_TIME_LIMIT = 300


class TestTimeLimit(Exception):
    pass


def _on_alarm(signum, frame):
    raise TestTimeLimit(f"the test ran longer than {TEST_TIME_LIMIT} s")


def discover(pattern):
    tests = []
    for path in sorted(HERE.glob("test_*.py")):
        module_spec = importlib.util.spec_from_file_location(path.stem, path)
        module = importlib.util.module_from_spec(module_spec)
        try:
            module_spec.loader.exec_module(module)
        except Exception:
            tests.append((path.stem, None, traceback.format_exc()))
            continue
        functions = [f for name, f in vars(module).items()
                     if name.startswith("test_") and inspect.isfunction(f) and f.__module__ == module.__name__]
        for function in sorted(functions, key=lambda f: f.__code__.co_firstlineno):
            name = f"{path.stem[len('test_'):]}.{function.__name__[len('test_'):]}"
            if pattern is None or pattern in name:
                tests.append((name, function, None))
    return tests


def run_one(name, function, again):
    """Runs one test; adds what its session did again (harness.Session.again) to `again`."""
    signal.signal(signal.SIGALRM, _on_alarm)
    signal.alarm(TEST_TIME_LIMIT)
    try:
        if len(inspect.signature(function).parameters) == 1:
            session = harness.Session(name)
            try:
                with session:
                    function(session)
            finally:
                again.update(session.again)
        else:
            function()
    finally:
        signal.alarm(0)


def describe(again):
    return ", ".join(f"{what} {count}" for what, count in sorted(again.items()))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("-k", dest="pattern", help="run only tests whose name contains this")
    parser.add_argument("--list", action="store_true", help="list the tests and exit")
    args = parser.parse_args()

    tests = discover(args.pattern)
    if args.list:
        for name, _, _ in tests:
            print(name)
        return 0

    passed = failed = 0
    started = time.monotonic()
    again_total = collections.Counter()
    for name, function, load_error in tests:
        began = time.monotonic()
        if load_error:
            failed += 1
            print(f"FAIL {name} (could not be loaded)\n{load_error}", flush=True)
            continue
        again = collections.Counter()
        try:
            run_one(name, function, again)
        except BaseException as error:  # a failing test must not stop the others
            if isinstance(error, KeyboardInterrupt):
                raise
            failed += 1
            print(f"FAIL {name} ({time.monotonic() - began:.1f} s{'; again: ' + describe(again) if again else ''}): "
                  f"{error}", flush=True)
            print("".join(traceback.format_exception(type(error), error, error.__traceback__)).rstrip(),
                  flush=True)
            print(f"     files: {harness.RUNS_DIR / name}", flush=True)
        else:
            passed += 1
            print(f"PASS {name} ({time.monotonic() - began:.1f} s{'; again: ' + describe(again) if again else ''})",
                  flush=True)
        again_total.update(again)

    print(f"e2e: {len(tests)} tests in {time.monotonic() - started:.0f} s; "
          f"screenshots in {harness.SCREENSHOTS_DIR}")
    print(f"e2e: done again as a person would: {describe(again_total) or 'nothing'}")
    if not tests:
        print("e2e: no test found" + (f" matching {args.pattern!r}" if args.pattern else ""))
    print(f"{passed} passed, {failed} failed")
    return 0 if failed == 0 and tests else 1


if __name__ == "__main__":
    sys.exit(main())
