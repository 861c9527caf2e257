#!/usr/bin/python3
"""Startup time, memory and resize time of Plumalin, beside three yardsticks built with it: an
empty Qt window, a main window with the program's three menus and nothing else, and the same
main window without the picture files of Qt's standard icons (which, like Plumalin, loads no
image-format plugin: Qt's icon for the menu bar's overflow button is one, and reading it loads
all ten).

  /usr/bin/python3 bench/bench_startup/bench_startup.py BUILD_DIR [--runs 9] [--before PROGRAM]

BUILD_DIR is a Release build holding bin/plumalin and the yardsticks in bench/bench_startup/
(cmake --build BUILD_DIR --target plumalin bench_startup_empty_window bench_startup_menus_window
bench_startup_menus_no_pictures).

Everything runs on Xvfb with openbox, in one run: the programs take turns (in a rotating
order), and the median of the runs is given for each figure.
- Launch: from starting the process to the X server's MapNotify of its window's frame, and to
  the first paint of its client area (the first damage of the screen as large as most of it).
- Memory at start: resident size (VmRSS) once the window is drawn and nothing moves on the screen.
- Resize: from asking the window manager for 1920 x 1050 to the last damage of the screen
  (nothing more for half a second); Plumalin's window shows the exercise.
- Peak memory (VmHWM) of a session that opens every window of the program (the exercise with
  its greeting played, the settings dialog, the file dialog of "Charger exercice", the journal,
  the editor, the summary, the About box), against the empty window's, with the resident
  memory after each window opened, which tells what each one costs.
"""
import argparse
import os
import select
import shutil
import statistics
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "tests", "smoke"))
from Xlib import X  # noqa: E402
from Xlib.ext import damage  # noqa: E402
from xsession import XSession, stop  # noqa: E402

MAIN_TITLE = "Plumalin pour Ecole Primaire"
QUIET = 0.5          # seconds without any damage: the screen is settled
RESIZED = (1920, 1050)


class Screen:
    """Every change of the screen's pixels and every window mapped, with the time it was read."""

    def __init__(self, session):
        self.session = session
        d = session.display
        if not d.has_extension("DAMAGE"):
            sys.exit("Xvfb sans l'extension DAMAGE")
        d.damage_query_version()
        self.damage = session.root.damage_create(damage.DamageReportRawRectangles)
        session.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        d.sync()
        self.drain()

    def drain(self):
        d = self.session.display
        d.sync()
        while d.pending_events():
            d.next_event()

    def record(self, started, until_mapped=False, timeout=30.0):
        """(seconds since started, 'map' or (w, h)) until the screen has been quiet for QUIET
        (after a map when until_mapped)."""
        d = self.session.display
        events = []
        mapped = not until_mapped
        last = time.perf_counter()
        deadline = started + timeout
        while True:
            while d.pending_events():
                event = d.next_event()
                now = time.perf_counter()
                if event.type == X.MapNotify and not event.override:
                    events.append((now - started, "map"))
                    mapped = True
                    last = now
                elif event.type == d.extension_event.DamageNotify:
                    events.append((now - started, (event.area.width, event.area.height)))
                    last = now
            now = time.perf_counter()
            if mapped and now - last >= QUIET:
                return events
            if now > deadline:
                raise RuntimeError("l'écran ne se stabilise pas en 30 s")
            select.select([d.fileno()], [], [], min(QUIET, max(0.0, deadline - now)))


def resident_kb(pid, field="VmRSS"):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    return 0


def one_run(session, screen, name, program, title, config_home):
    """Launch, memory at start and resize of one program; a dict of figures in ms and KiB."""
    env = dict(session.env, XDG_CONFIG_HOME=config_home, HOME=os.path.join(config_home, "home"))
    screen.record(time.perf_counter())  # the previous program's window is gone from the screen
    started = time.perf_counter()
    process = session.spawn([program], env=env)
    try:
        events = screen.record(started, until_mapped=True)
        window = session.find_window(title)
        if window is None:
            raise RuntimeError(f"{name} : pas de fenêtre « {title} »")
        _, _, width, height = session.geometry(window)
        mapped = next(t for t, what in events if what == "map")
        figures = {"map": mapped * 1000}
        painted = [t for t, what in events if what != "map" and t >= mapped
                   and what[0] * what[1] >= 0.8 * width * height]
        figures["paint"] = painted[0] * 1000 if painted else float("nan")
        figures["rss"] = resident_kb(process.pid)

        if title == MAIN_TITLE:
            session.activate(window)
            session.keys("ctrl+s")          # the exercise, at the main window's size
            screen.record(time.perf_counter())
        screen.drain()
        started = time.perf_counter()
        window.configure(width=RESIZED[0], height=RESIZED[1])
        session.display.flush()
        events = screen.record(started)
        damaged = [t for t, what in events if what != "map"]
        figures["resize"] = damaged[-1] * 1000 if damaged else float("nan")
        _, _, width, height = session.geometry(window)
        if (width, height) != RESIZED:
            print(f"  ({name} : {width} x {height} après le redimensionnement)")
        return figures
    finally:
        stop(process)


def write_sound_on(config_home):
    folder = os.path.join(config_home, "plumalin")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "Plumalin.ini"), "w") as f:
        f.write("[D%E9marrage]\nSon=1\n")


def memory_session(program, empty, config_home):
    """Peak resident memory (VmHWM) of the empty window, and of the program once every window
    is open and a cue played, with the resident memory after each step (MiB) in the order
    taken: (program_kb, empty_kb, [(step, kb), ...])."""
    session = XSession(800, 600)
    try:
        base = session.spawn([empty])
        session.wait_window("bench_startup_empty_window")
        time.sleep(0.5)
        empty_kb = resident_kb(base.pid, "VmHWM")
        stop(base)

        write_sound_on(config_home)
        env = dict(session.env, XDG_CONFIG_HOME=config_home,
                   HOME=os.path.join(config_home, "home"))
        process = session.spawn([program], env=env)
        steps = []

        def step(name):
            steps.append((name, resident_kb(process.pid)))

        main = session.wait_window(MAIN_TITLE)
        time.sleep(0.5)
        step("fenêtre principale")
        session.activate(main)
        session.keys("ctrl+s")          # the exercise, which greets the pupil
        time.sleep(3)                   # the greeting plays
        step("exercice et son salut")
        session.activate(main)
        session.keys("alt+r", "p")      # Paramètres
        time.sleep(0.5)
        step("Paramètres")
        session.activate(main)
        session.keys("alt+r", "Down", "Return")  # Charger exercice: the file dialog
        dialog = session.wait_window("Sélection de la photographie")
        time.sleep(0.3)
        step("fenêtre de fichiers")
        session.activate(dialog)
        session.keys("Escape")
        session.wait_gone("Sélection de la photographie")
        session.activate(main)
        session.keys("alt+r", "Down", "Down", "Return")  # Progression
        session.wait_window("Progression de l'exercice ...")
        time.sleep(0.3)
        step("Progression")
        session.activate(main)
        session.keys("alt+r", "b")      # Bilan des élèves
        session.wait_window("Bilan des élèves")
        time.sleep(0.3)
        step("Bilan des élèves")
        session.activate(main)
        session.keys("alt+e", "Return")  # Editer les phrases
        session.wait_window("Boîte de dialogue")
        time.sleep(0.3)
        step("éditeur")
        session.activate(main)
        session.keys("alt+question", "a")  # A propos de ...
        session.wait_window("Ecole Primaire - Plumalin")
        time.sleep(0.5)
        step("A propos")
        program_kb = resident_kb(process.pid, "VmHWM")
        stop(process)
        return program_kb, empty_kb, steps
    finally:
        session.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build", help="Release build folder")
    parser.add_argument("--runs", type=int, default=9)
    parser.add_argument("--before", metavar="PROGRAM",
                        help="another build of plumalin, measured in the same turns")
    args = parser.parse_args()
    here = os.path.join(args.build, "bench", "bench_startup")
    programs = {
        "fenêtre vide": (os.path.join(here, "bench_startup_empty_window"),
                         "bench_startup_empty_window"),
        "mêmes menus": (os.path.join(here, "bench_startup_menus_window"),
                        "bench_startup_menus_window"),
        "menus sans images": (os.path.join(here, "bench_startup_menus_no_pictures"),
                              "bench_startup_menus_no_pictures"),
        "plumalin": (os.path.join(args.build, "bin", "plumalin"), MAIN_TITLE),
    }
    if args.before:
        programs["plumalin avant"] = (args.before, MAIN_TITLE)
    for path, _ in programs.values():
        if not os.access(path, os.X_OK):
            sys.exit(f"introuvable : {path}")

    config_home = tempfile.mkdtemp(prefix="plumalin-bench-")
    names = list(programs)
    results = {name: [] for name in names}
    try:
        # Room for the resized window and its frame.
        session = XSession(RESIZED[0], RESIZED[1] + 150)
        try:
            screen = Screen(session)
            for name in names:  # warms the file cache for every program
                one_run(session, screen, name, *programs[name], config_home)
            for run in range(args.runs):
                turn = names[run % len(names):] + names[:run % len(names)]
                for name in turn:
                    results[name].append(one_run(session, screen, name, *programs[name],
                                                 config_home))
        finally:
            session.close()
        peaks = {}
        steps = {}
        for name in (name for name in names if name.startswith("plumalin")):
            peaks[name], empty_peak_kb, steps[name] = memory_session(
                programs[name][0], programs["fenêtre vide"][0], config_home)
    finally:
        shutil.rmtree(config_home, ignore_errors=True)

    def median(name, key):
        return statistics.median(r[key] for r in results[name])

    floors = ("fenêtre vide", "mêmes menus", "menus sans images")
    rows = (("map", "Lancement jusqu'à la fenêtre placée (MapNotify)", "ms", 1),
            ("paint", "Lancement jusqu'au premier dessin de la fenêtre", "ms", 1),
            ("rss", "Mémoire résidente au démarrage", "MiB", 1 / 1024),
            ("resize", f"Agrandissement à {RESIZED[0]} x {RESIZED[1]} jusqu'au dernier dessin",
             "ms", 1))
    print(f"Médianes de {args.runs} lancements de chacun, à tour de rôle, sur Xvfb avec openbox")
    for key, label, unit, scale in rows:
        print(label + " :")
        for name in names:
            values = ", ".join(f"{r[key] * scale:.0f}" for r in results[name])
            line = f"  {name:17s} {median(name, key) * scale:7.1f} {unit:3s}  ({values})"
            if name.startswith("plumalin"):
                line += "  soit " + ", ".join(
                    f"{median(name, key) / median(floor, key):.2f} × {floor}" for floor in floors)
            print(line)
    print("Buts : lancement ≤ 1,1 × mêmes menus et ≤ 1,5 × fenêtre vide ; mémoire au démarrage"
          " ≤ 1,2 × fenêtre vide ; agrandissement ≤ 1,2 × fenêtre vide")
    print("Mémoire résidente maximale :")
    print(f"  fenêtre vide : {empty_peak_kb / 1024:6.1f} MiB")
    for name, peak_kb in peaks.items():
        print(f"  {name}, toutes les fenêtres ouvertes et un son joué : {peak_kb / 1024:6.1f} MiB"
              f" = {peak_kb * 1024 / 1e6:.1f} Mo (but : moins de 50 Mo)")
        print("    mémoire résidente après chaque fenêtre ouverte : " + ", ".join(
            f"{step} {kb / 1024:.1f}" for step, kb in steps[name]) + " MiB")


if __name__ == "__main__":
    main()
