"""Drives the real Quillmark program like a person: a private X server (Xvfb) with a window
manager (openbox), the program started from a folder of its own with a settings file beside it,
keys typed and buttons clicked with xdotool, windows photographed with ImageMagick's import.

Used by the screenshot script and by the proof-on-paper test. Nothing outside the folders it
creates is touched; every process it starts is stopped by its own id."""

import os
import shutil
import signal
import subprocess
import tempfile
import time

# Client coordinates of the cheque entry window (pixels at 96 dpi), at the controls' centres,
# measured from the top left of the client area inside the skin's frame.
PRINT_BUTTON = (403, 450)  # the print picture button
AMOUNT_FIELD = (182, 429)  # Edit3
PURPOSE_FIELD = (174, 462)  # ComboBox1's edit
SETTINGS_BUTTON = (555, 450)  # the settings picture button, opens and closes the panel
SKIN1_BUTTON = (40 + 280 + 37, 8 + 21 + 12)  # "皮肤1" on the settings panel
SKIN2_BUTTON = (40 + 280 + 37, 8 + 57 + 12)  # "皮肤2"
# The preview's toolbar: 67 × 52 buttons inside a 2-pixel border, "打印" and "退出" on row 2.
PREVIEW_PRINT = (2 + 67 + 33, 2 + 52 + 26)
PREVIEW_EXIT = (2 + 2 * 67 + 33, 2 + 52 + 26)
ENTRY_TITLE = "^Quillmark V2015"
PREVIEW_TITLE = "^Report Preview : "
# Every skin of ours paints the window's frame inside the window itself: a 4-pixel left border
# and a 26-pixel title bar lie before the client area.
SKIN_FRAME = (4, 26)


class DesktopError(RuntimeError):
    pass


def _run(args, env=None, check=True, timeout=30):
    result = subprocess.run(args, env=env, capture_output=True, text=True, timeout=timeout)
    if check and result.returncode != 0:
        raise DesktopError(f"{' '.join(args)}: {result.stderr.strip() or result.returncode}")
    return result.stdout


def gbk_settings(sections):
    """The bytes of a settings file: sections is a list of (name, [(key, value), ...])."""
    lines = []
    for name, pairs in sections:
        lines.append(f"[{name}]")
        lines.extend(f"{k}={v}" for k, v in pairs)
    return ("\r\n".join(lines) + "\r\n").encode("gbk")


class Desktop:
    """An X display of its own with a window manager; close() stops both."""

    def __init__(self, width=1920, height=2160):
        self.folder = tempfile.mkdtemp(prefix="quillmark-desktop-")
        os.chmod(self.folder, 0o700)
        self.runtime = os.path.join(self.folder, "runtime")
        os.mkdir(self.runtime, 0o700)
        self._processes = []
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        self._processes.append(xvfb)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            self.close()
            raise DesktopError("Xvfb did not start")
        self.env = dict(os.environ)
        self.env.update({"DISPLAY": f":{number}", "XDG_RUNTIME_DIR": self.runtime})
        for key in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XAUTHORITY"):
            self.env.pop(key, None)
        self._processes.append(subprocess.Popen(
            ["openbox", "--sm-disable"], env=self.env, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL))
        # The window manager is up once it has announced itself on the root window.
        deadline = time.monotonic() + 10
        while "window id" not in _run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                      self.env, check=False):
            if time.monotonic() > deadline:
                self.close()
                raise DesktopError("openbox did not start")
            time.sleep(0.1)

    def start(self, program, argv=(), env=None):
        """Starts a process on this display; it is stopped by close() if still running."""
        full = dict(self.env)
        full.update(env or {})
        process = subprocess.Popen([program, *argv], env=full, stdout=subprocess.PIPE,
                                   stderr=subprocess.STDOUT)
        self._processes.append(process)
        return process

    def xdo(self, *args, check=True):
        return _run(["xdotool", *map(str, args)], self.env, check=check)

    def find_window(self, title_regex, timeout=20, gone=False):
        """The id of a visible window whose title matches; with gone, waits until none does."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            ids = self.xdo("search", "--onlyvisible", "--name", title_regex, check=False).split()
            if gone and not ids:
                return None
            if ids and not gone:
                return ids[-1]
            time.sleep(0.1)
        state = "still open" if gone else "did not appear"
        raise DesktopError(f"window {title_regex!r} {state} after {timeout} s")

    def activate(self, window):
        self.xdo("windowactivate", "--sync", window, check=False)
        self.xdo("windowfocus", "--sync", window, check=False)
        time.sleep(0.2)

    def click(self, window, x, y, clicks=1):
        """A left click at client coordinates of a window (inside the skin's frame)."""
        self.xdo("mousemove", "--window", window, "--sync", x + SKIN_FRAME[0], y + SKIN_FRAME[1])
        time.sleep(0.05)
        self.xdo("click", "--repeat", clicks, "--delay", 80, 1)

    def type(self, text):
        # xdotool types a character missing from the keymap by remapping a spare key first,
        # and restores the map when it exits: one call per text, slow enough for the program to
        # see each new map before its key (typed faster, a character is now and then lost).
        delay = 40 if text.isascii() else 150
        self.xdo("type", "--delay", delay, text)
        time.sleep(0.2)

    def key(self, *names):
        self.xdo("key", "--delay", 40, *names)

    def geometry(self, window):
        """(x, y, width, height) of a window on the screen."""
        out = self.xdo("getwindowgeometry", "--shell", window)
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def decorated(self, window):
        """Whether the window manager draws a frame around the window (a skinned window
        draws its own)."""
        out = _run(["xprop", "-id", str(window), "_NET_FRAME_EXTENTS"], self.env, check=False)
        extents = out.split("=", 1)[1] if "=" in out else ""
        return any(v.strip() not in ("", "0") for v in extents.split(","))

    def screenshot(self, window, path):
        _run(["import", "-window", window, path], self.env)

    def close(self):
        for process in reversed(self._processes):
            if process.poll() is None:
                process.send_signal(signal.SIGTERM)
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        self._processes.clear()
        shutil.rmtree(self.folder, ignore_errors=True)


class Quillmark:
    """The program copied into a folder of its own (it keeps its settings beside itself)."""

    def __init__(self, desktop, program, settings_bytes, env=None):
        self.desktop = desktop
        self.folder = tempfile.mkdtemp(prefix="quillmark-app-")
        self.program = os.path.join(self.folder, "quillmark")
        shutil.copy2(program, self.program)
        self.settings = os.path.join(self.folder, "myini.ini")
        with open(self.settings, "wb") as f:
            f.write(settings_bytes)
        self.process = desktop.start(self.program, env=env)
        self.window = desktop.find_window(ENTRY_TITLE)
        desktop.activate(self.window)

    def fill_in(self, amount, purpose, payee, short_name):
        """Types into the fields in the tab order, from the amount field, which has the focus
        at start: amount, purpose, payee, (date), short name. Leaving the amount reloads the
        offsets. Waits for two refreshes of the mock-up."""
        d = self.desktop
        for text in (amount, purpose, payee, None, short_name):
            if text:
                d.type(text)
            if text is not short_name:
                d.key("Tab")
                time.sleep(0.3)  # the next field takes the focus before the first key
        time.sleep(1.2)

    def replace_purpose(self, purpose):
        d = self.desktop
        d.click(self.window, *PURPOSE_FIELD)
        d.key("ctrl+a")
        d.type(purpose)
        time.sleep(1.2)

    def click_print(self):
        self.desktop.click(self.window, *PRINT_BUTTON)

    def close(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)
