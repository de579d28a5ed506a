"""A questveto-sandbox running beside a test: its console on a pipe, its output gathered line by
line as it comes, so that the test can wait for a line before it goes on."""
import queue
import re
import subprocess
import sys
import threading

TIMEOUT = 60


class SandboxProcess:
    """Runs `command` (the program, after its loader if any, and its options) with `environment`
    (None: this process's), standard error joined to standard output."""

    def __init__(self, command, name="the sandbox", environment=None):
        self.name = name
        self.process = subprocess.Popen(command, env=environment, stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                        text=True)
        self.lines = queue.Queue()
        self.output = []
        threading.Thread(target=self._pump, daemon=True).start()

    def _pump(self):
        for line in self.process.stdout:
            self.lines.put(line.rstrip("\n"))
        self.lines.put(None)

    def wait_for(self, pattern):
        """The match of the first line from here on that matches `pattern` (a regular expression);
        the test fails, showing the output so far, when none comes in TIMEOUT seconds or the
        program ends first."""
        while True:
            try:
                line = self.lines.get(timeout=TIMEOUT)
            except queue.Empty:
                sys.exit(f"FAIL: {self.name} printed no line matching {pattern!r}:\n" +
                         "\n".join(self.output))
            if line is None:
                sys.exit(f"FAIL: {self.name} ended before {pattern!r}:\n" + "\n".join(self.output))
            self.output.append(line)
            found = re.search(pattern, line)
            if found:
                return found

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
