#!/usr/bin/env python3
"""Times rxt9-update-cli --download -y on a terminal that is read, and on one stopped as Ctrl-S
stops it, from the start to the restart command reaching the simulated printer.

Usage: bench/stopped-terminal.py [PROGRAM]   (default: build-release/bin/rxt9-update-cli)
"""
import os
import pty
import select
import subprocess
import sys
import tempfile
import termios
import time

RESTART = "1B 66 72 00"


def run(program, stopped):
    with tempfile.TemporaryDirectory() as directory:
        trace = os.path.join(directory, "trace")
        environment = dict(os.environ, RXT9_SIM_STATE=os.path.join(directory, "state"),
                           RXT9_SIM_TRACE=trace, RXT9_LOCK_DIR=directory)
        master, terminal = pty.openpty()
        if stopped:
            termios.tcflow(terminal, termios.TCOOFF)
        start = time.monotonic()
        cli = subprocess.Popen([program, "--download", "-y"], stdin=subprocess.DEVNULL,
                               stdout=terminal, stderr=terminal, env=environment)
        while cli.poll() is None:
            ready, _, _ = select.select([master], [], [], 0.02)
            if ready and not stopped:
                os.read(master, 65536)
            if os.path.exists(trace) and RESTART in open(trace).read():
                break
        restarted = time.monotonic() - start
        termios.tcflow(terminal, termios.TCOON)
        while cli.poll() is None:
            ready, _, _ = select.select([master], [], [], 0.1)
            if ready:
                os.read(master, 65536)
        return restarted, cli.wait()


def main():
    program = sys.argv[1] if len(sys.argv) > 1 else "build-release/bin/rxt9-update-cli"
    for stopped in (False, True):
        seconds, status = run(program, stopped)
        name = "stopped terminal" if stopped else "terminal read"
        print(f"{name:16}  start to restart {seconds:6.2f} s  exit status {status}")


if __name__ == "__main__":
    main()
