"""A virtual X screen with a window manager, and the few things a person does on it.

Used by the smoke test and by the startup benchmark. Every wait polls with a bounded time;
every process started here is ended by close().
"""
import os
import select
import subprocess
import time

from Xlib import X, Xatom, display, error, protocol


class Failure(Exception):
    pass


def wait_for(what, predicate, timeout=20.0, interval=0.05):
    """Polls predicate until it gives something true, and returns it; fails after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"attente dépassée ({timeout:.0f} s) : {what}")
        time.sleep(interval)


def stop(process, timeout=5.0):
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait(timeout)


class XSession:
    def __init__(self, width, height, window_manager=True):
        self.width, self.height = width, height
        self.processes = []
        self.xvfb = None
        self.display = None
        try:
            self._start_server()
            if window_manager:
                self._start_window_manager()
        except BaseException:
            self.close()
            raise

    def _start_server(self):
        read_end, write_end = os.pipe()
        try:
            self.xvfb = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                 f"{self.width}x{self.height}x24", "-nolisten", "tcp", "-noreset"],
                pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            os.close(write_end)
            write_end = None
            number = b""
            deadline = time.monotonic() + 20
            while not number.endswith(b"\n"):
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([read_end], [], [], left)[0]:
                    raise Failure("Xvfb ne démarre pas")
                chunk = os.read(read_end, 16)
                if not chunk:
                    raise Failure("Xvfb s'est arrêté au démarrage")
                number += chunk
        finally:
            os.close(read_end)
            if write_end is not None:
                os.close(write_end)
        self.name = ":" + number.decode().strip()
        self.env = dict(os.environ, DISPLAY=self.name, QT_QPA_PLATFORM="xcb")
        self.env.pop("WAYLAND_DISPLAY", None)
        self.display = display.Display(self.name)
        self.root = self.display.screen().root

    def _start_window_manager(self):
        self.spawn(["openbox", "--sm-disable"])
        check = self.atom("_NET_SUPPORTING_WM_CHECK")
        wait_for("openbox", lambda: self.root.get_full_property(check, X.AnyPropertyType))
        # openbox announces itself before it manages what is shown: a window shown in between
        # is neither framed nor shown, ever. A probe window it has framed tells it is ready.
        def framed_probe():
            probe = self.root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
            try:
                probe.map()
                self.display.flush()
                return wait_for("", lambda: self.frame_extents(probe), timeout=2)
            except Failure:
                return False  # its map request came too early: another probe
            finally:
                probe.destroy()
                self.display.sync()

        wait_for("openbox prêt à gérer les fenêtres", framed_probe)

    def atom(self, name):
        return self.display.intern_atom(name)

    def spawn(self, command, env=None, **kwargs):
        process = subprocess.Popen(command, env=env or self.env, stdout=subprocess.DEVNULL,
                                   stderr=kwargs.pop("stderr", subprocess.DEVNULL), **kwargs)
        self.processes.append(process)
        return process

    def close(self):
        for process in reversed(self.processes):
            stop(process)
        if self.display is not None:
            try:
                self.display.close()
            except Exception:
                pass
        stop(self.xvfb)

    # Windows

    def window_name(self, window):
        try:
            name = window.get_full_property(self.atom("_NET_WM_NAME"), self.atom("UTF8_STRING"))
            if name:
                return name.value.decode("utf-8", "replace")
            name = window.get_wm_name()
            return name if isinstance(name, str) else (name or b"").decode("latin-1")
        except error.XError:
            return None

    def find_window(self, title):
        """The viewable client window with this title, or None."""
        pending = [self.root]
        while pending:
            window = pending.pop()
            try:
                children = window.query_tree().children
            except error.XError:
                continue
            for child in children:
                try:
                    viewable = child.get_attributes().map_state == X.IsViewable
                except error.XError:
                    continue
                if viewable and self.window_name(child) == title:
                    return child
                pending.append(child)
        return None

    def wait_window(self, title, timeout=20.0):
        return wait_for(f"la fenêtre « {title} »", lambda: self.find_window(title), timeout)

    def wait_gone(self, title, timeout=20.0):
        wait_for(f"la fermeture de « {title} »", lambda: self.find_window(title) is None, timeout)

    def geometry(self, window):
        """Client area on the screen: x, y, width, height."""
        g = window.get_geometry()
        origin = window.translate_coords(self.root, 0, 0)
        return -origin.x, -origin.y, g.width, g.height

    def frame_extents(self, window):
        """The decoration's left, right, top and bottom widths, None until the window manager
        has framed the window."""
        extents = window.get_full_property(self.atom("_NET_FRAME_EXTENTS"), Xatom.CARDINAL)
        return tuple(extents.value) if extents else None

    def frame_geometry(self, window):
        """The window with its decoration, as the window manager reports it."""
        x, y, w, h = self.geometry(window)
        left, right, top, bottom = self.frame_extents(window) or (0, 0, 0, 0)
        return x - left, y - top, w + left + right, h + top + bottom

    def outer_geometry(self, window):
        """The window manager's own window around this one (its frame), on the screen, border
        included: what a person sees of the window, whatever the window says of its frame."""
        outer = window
        while True:
            parent = outer.query_tree().parent
            if parent.id == self.root.id:
                break
            outer = parent
        g = outer.get_geometry()
        return g.x, g.y, g.width + 2 * g.border_width, g.height + 2 * g.border_width

    def states(self, window):
        value = window.get_full_property(self.atom("_NET_WM_STATE"), Xatom.ATOM)
        return {self.display.get_atom_name(a) for a in (value.value if value else [])}

    def stacking(self):
        """The client windows' ids from the bottom of the stack to its top."""
        value = self.root.get_full_property(self.atom("_NET_CLIENT_LIST_STACKING"), Xatom.WINDOW)
        return list(value.value) if value else []

    def minimize(self, window):
        subprocess.run(["xdotool", "windowminimize", "--sync", str(window.id)], env=self.env,
                       check=True, timeout=20, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def click(self, window, x, y):
        """A left click at a point of the window's client area."""
        left, top, _, _ = self.geometry(window)
        subprocess.run(["xdotool", "mousemove", "--sync", str(left + x), str(top + y)],
                       env=self.env, check=True, timeout=20)
        subprocess.run(["xdotool", "click", "1"], env=self.env, check=True, timeout=20)

    def request_close(self, window):
        """What a window manager sends when the close box is pressed."""
        message = protocol.event.ClientMessage(
            window=window, client_type=self.atom("WM_PROTOCOLS"),
            data=(32, [self.atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
        window.send_event(message, event_mask=X.NoEventMask)
        self.display.flush()

    # Keyboard and screen

    def activate(self, window):
        subprocess.run(["xdotool", "windowactivate", "--sync", str(window.id)], env=self.env,
                       check=True, timeout=20, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def keys(self, *keys):
        for key in keys:
            subprocess.run(["xdotool", "key", "--clearmodifiers", key], env=self.env, check=True,
                           timeout=20)

    def type_text(self, text):
        subprocess.run(["xdotool", "type", "--delay", "20", text], env=self.env, check=True,
                       timeout=60)

    def screenshot(self, path, window=None):
        """The whole screen, or one window with its decoration."""
        os.makedirs(os.path.dirname(path), exist_ok=True)
        which = ["-frame", "-window", str(window.id)] if window else ["-window", "root"]
        # No date chunks: the same screen gives the same file.
        subprocess.run(["import", *which, "-define", "png:exclude-chunks=date,time", path],
                       env=self.env, check=True, timeout=60)
