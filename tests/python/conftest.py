"""What the Python module's tests share: the built program, the examples
and the independent Python model in scripts/."""
import json
import os
import subprocess
import sys
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parents[2]
EXAMPLES = ROOT / "examples"
sys.path.insert(0, str(ROOT / "scripts"))


class Report:
    """vantrel-report run as a child process."""

    def __init__(self, program):
        self.program = program

    def run(self, *arguments, cwd=None):
        done = subprocess.run([self.program, *arguments], capture_output=True, cwd=cwd,
                              env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
        return done.returncode, done.stdout, done.stderr.decode()

    def json(self, *arguments, cwd=None):
        status, out, err = self.run(*arguments, "--format", "json", cwd=cwd)
        return status, (json.loads(out) if out else None), err


@pytest.fixture(scope="session")
def report():
    program = os.environ.get("VANTREL_REPORT")
    if not program:
        pytest.skip("VANTREL_REPORT names no vantrel-report")
    return Report(program)


def problem(err):
    """The first line the program wrote to standard error, without its name."""
    line = err.splitlines()[0]
    prefix = "vantrel-report: "
    assert line.startswith(prefix), line
    return line[len(prefix):]
