# SPDX-FileCopyrightText: 2026 The Zelvaro developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Children that never outlive the run that started them, and waits with deadlines."""

import ctypes
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

# Run by a helper process of its own: it learns the process groups to end ("+ID"
# when one starts, "-ID" when it has been ended) and, when its input closes
# because the run is over however it ended (even by SIGKILL), ends what is left
# and removes the run's directory (its argument).
_JANITOR = """
import os, shutil, signal, sys, time
signal.signal(signal.SIGINT, signal.SIG_IGN)
signal.signal(signal.SIGHUP, signal.SIG_IGN)
groups = set()
for line in sys.stdin:
    (groups.add if line[0] == "+" else groups.discard)(int(line[1:]))
for sig, grace in ((signal.SIGTERM, 3), (signal.SIGKILL, 0)):
    for group in list(groups):
        try:
            os.killpg(group, sig)
        except OSError:
            groups.discard(group)
    time.sleep(grace if groups else 0)
shutil.rmtree(sys.argv[1], ignore_errors=True)
"""


def wait_for(predicate, timeout=10.0, what="condition", interval=0.05):
    """Polls predicate() until it returns something true, and returns that.

    An exception inside predicate() counts as a false answer (the window system may
    change under a query). At the deadline an AssertionError names what was awaited
    and the last answer seen."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            last = predicate()
        except Exception as error:
            last = error
        else:
            if last:
                return last
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout:g} s waiting for {what}; got {last!r}")
        time.sleep(interval)


def wait_equal(get, wanted, timeout=10.0, what=None):
    """Waits until get() returns wanted; at the deadline the AssertionError names
    what was awaited (default: wanted) and the last value get() returned."""
    seen = []

    def same():
        seen[:] = [get()]
        return seen[0] == wanted

    try:
        wait_for(same, timeout, what or repr(wanted))
    except AssertionError as error:
        raise AssertionError(f"{error}; the last value: {seen[0] if seen else None!r}") from None


def hold(predicate, seconds, what, interval=0.05):
    """Checks that predicate() stays true for a span of seconds, looking again and
    again; the first false answer fails with an AssertionError naming what should
    have held. For what must not happen: it cannot fail on a slow machine, only see
    less there. An exception inside predicate() is no answer, but the span needs
    at least one true answer."""
    deadline = time.monotonic() + seconds
    answered = False
    while True:
        try:
            answer = predicate()
        except Exception:
            pass
        else:
            if not answer:
                raise AssertionError(f"{what} did not hold; got {answer!r}")
            answered = True
        if answered and time.monotonic() > deadline:
            return
        if time.monotonic() > deadline + 10:
            raise AssertionError(f"no answer in 10 s whether {what} held")
        time.sleep(interval)


def read_line(fd, process, timeout, what):
    """The first line a child writes to the pipe fd (whose writing end only the
    child holds), without its newline; fails when the pipe closes first or the
    deadline passes."""
    data = b""
    deadline = time.monotonic() + timeout
    while not data.endswith(b"\n"):
        left = deadline - time.monotonic()
        chunk = os.read(fd, 256) if left > 0 and select.select([fd], [], [], left)[0] else None
        if not chunk:
            raise RuntimeError(f"{what}: no answer (exit status {process.poll()}) after {data!r}")
        data += chunk
    return data.decode().strip()


def _end_by_exception(signum, frame):
    raise SystemExit(128 + signum)


def end_on_signals():
    """Makes SIGTERM and SIGHUP raise SystemExit in this process, as Ctrl-C raises
    KeyboardInterrupt, so that every `with` block cleans up; and asks for SIGTERM
    when this process's parent dies. Leaves handlers that someone else set alone."""
    if threading.current_thread() is not threading.main_thread():
        return
    for sig in (signal.SIGTERM, signal.SIGHUP):
        if signal.getsignal(sig) == signal.SIG_DFL:
            signal.signal(sig, _end_by_exception)
    ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


class Processes:
    """The children of one run, each the leader of a process group of its own, with
    their output in log files of a private directory (self.dir, mode 0700).

    close() ends every group, last started first, with SIGTERM and, 3 s later,
    SIGKILL, and removes the directory; a helper process does the same should this
    process die without closing. A context manager: leaving the block closes."""

    def __init__(self, prefix="zelvaro-"):
        end_on_signals()
        self.dir = tempfile.mkdtemp(prefix=prefix)
        self._running = []  # Popen objects, in the order started
        self._logs = []  # (name, path)
        self._janitor = subprocess.Popen(
            [sys.executable, "-c", _JANITOR, self.dir],
            stdin=subprocess.PIPE,
            start_new_session=True,
            text=True,
        )

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def start(self, name, argv, env, stdout=None, pass_fds=()):
        """Starts argv with exactly the environment env in a new process group and
        returns its Popen. Its output goes to the log file named after name unless
        stdout is given (subprocess.PIPE, for one)."""
        log = None
        if stdout is None:
            path = os.path.join(self.dir, f"{name}.log")
            self._logs.append((name, path))
            stdout = log = open(path, "ab")
        try:
            process = subprocess.Popen(
                argv,
                stdin=subprocess.DEVNULL,
                stdout=stdout,
                stderr=subprocess.STDOUT if log else None,
                env=env,
                start_new_session=True,
                pass_fds=pass_fds,
            )
        finally:
            if log:
                log.close()
        self._running.append(process)
        self._tell_janitor(f"+{process.pid}")
        return process

    def stop(self, process, grace=3.0):
        """Ends the process's group: SIGTERM, then SIGKILL after grace seconds, and
        returns the leader's exit status."""
        for sig in (signal.SIGTERM, signal.SIGKILL):
            try:
                os.killpg(process.pid, sig)
            except ProcessLookupError:
                break
            try:
                process.wait(grace)
                if sig == signal.SIGTERM:
                    os.killpg(process.pid, signal.SIGKILL)  # what the leader left behind
                break
            except subprocess.TimeoutExpired:
                continue
            except ProcessLookupError:
                break
        status = process.wait()
        if process in self._running:
            self._running.remove(process)
            self._tell_janitor(f"-{process.pid}")
        return status

    def close(self):
        """Ends every group this run started and removes the private directory with
        the logs; no signal interrupts it."""
        if self._janitor is None:
            return
        blocked = {signal.SIGINT, signal.SIGTERM, signal.SIGHUP}
        old = signal.pthread_sigmask(signal.SIG_BLOCK, blocked)
        try:
            while self._running:
                self.stop(self._running[-1])
            self._janitor.stdin.close()
            self._janitor.wait()
            self._janitor = None
            shutil.rmtree(self.dir, ignore_errors=True)
        finally:
            signal.pthread_sigmask(signal.SIG_SETMASK, old)

    def logs(self):
        """Every child's output so far, each under a heading with its name."""
        text = []
        for name, path in self._logs:
            with open(path, errors="replace") as f:
                output = f.read().strip()
            if output:
                text.append(f"--- output of {name} ---\n{output}")
        return "\n".join(text)

    def _tell_janitor(self, line):
        try:
            self._janitor.stdin.write(line + "\n")
            self._janitor.stdin.flush()
        except (BrokenPipeError, AttributeError):
            pass
