"""A progress line on a terminal: records done, failed and remaining, the rate and an estimate of
the time left. Silent when stderr is not a terminal or when asked to be quiet."""

import sys
import time


def _duration(seconds):
    seconds = int(round(seconds))
    if seconds < 120:
        return f"{seconds} s"
    if seconds < 7200:
        return f"{seconds // 60} min"
    return f"{seconds / 3600:.1f} h"


class Progress:
    """Counts the records of a run and redraws one line on stderr at most every ``interval``
    seconds (and at the end)."""

    def __init__(self, total, quiet=False, stream=None, interval=0.5):
        self.total = total
        self.done = self.failed = 0
        self._stream = stream or sys.stderr
        self._show = not quiet and self._stream.isatty()
        self._start = self._last = time.monotonic()
        self._interval = interval
        self._shown = False

    @property
    def remaining(self):
        return self.total - self.done - self.failed

    def record(self, ok):
        """One record finished: done when ``ok``, failed otherwise."""
        if ok:
            self.done += 1
        else:
            self.failed += 1
        now = time.monotonic()
        if self._show and (now - self._last >= self._interval or self.remaining == 0):
            self._last = now
            self._draw(now)

    def line(self, now=None):
        elapsed = (now or time.monotonic()) - self._start
        finished = self.done + self.failed
        text = f"{self.done} done, {self.failed} failed, {self.remaining} remaining"
        if finished and elapsed > 0:
            rate = finished / elapsed
            text += f", {rate:.3g} records/s"
            if self.remaining:
                text += f", about {_duration(self.remaining / rate)} left"
        return text

    def _draw(self, now):
        self._stream.write(f"\r\033[Ksdofspectra-db: {self.line(now)}")
        self._stream.flush()
        self._shown = True

    def close(self):
        if self._shown:
            self._stream.write("\n")
            self._stream.flush()
