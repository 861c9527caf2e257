#!/usr/bin/python3
"""Startup time and peak memory of Plumalin, beside an empty Qt 6 window.

  /usr/bin/python3 bench/bench_startup/bench_startup.py BUILD_DIR [--runs 5]

BUILD_DIR is a Release build holding bin/plumalin and
bench/bench_startup/bench_startup_empty_window
(cmake --build BUILD_DIR --target plumalin bench_startup_empty_window).

Time: from launching the process to the X server's MapNotify of its first window, on Xvfb
without a window manager; the two programs take turns, and the median of the runs is given.
Memory: peak resident size (VmHWM) of a session on Xvfb with openbox that opens every window
of the program (the exercise with its greeting played, the settings dialog, the file dialog of
"Charger exercice", the journal, the editor, the About box), against the empty window's.
"""
import argparse
import os
import select
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "tests", "smoke"))
from Xlib import X  # noqa: E402
from xsession import XSession, stop, wait_for  # noqa: E402

MAIN_TITLE = "Plumalin pour Ecole Primaire"


def time_to_map(session, program, config_home):
    """Seconds from launch to the first MapNotify of an ordinary window."""
    d = session.display
    session.root.change_attributes(event_mask=X.SubstructureNotifyMask)
    d.sync()
    while d.pending_events():
        d.next_event()
    env = dict(session.env, XDG_CONFIG_HOME=config_home)
    started = time.perf_counter()
    process = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        deadline = started + 30
        while True:
            while d.pending_events():
                event = d.next_event()
                if event.type == X.MapNotify and not event.override:
                    return time.perf_counter() - started
            left = deadline - time.perf_counter()
            if left <= 0:
                raise RuntimeError(f"{program}: aucune fenêtre en 30 s")
            select.select([d.fileno()], [], [], left)
    finally:
        stop(process)
        session.root.change_attributes(event_mask=X.NoEventMask)
        d.sync()


def peak_memory_kb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def write_sound_on(config_home):
    folder = os.path.join(config_home, "plumalin")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "Plumalin.ini"), "w") as f:
        f.write("[D%E9marrage]\nSon=1\n")


def memory_session(program, empty, config_home):
    session = XSession(800, 600)
    try:
        base = session.spawn([empty])
        session.wait_window("bench_startup_empty_window")
        empty_kb = peak_memory_kb(base.pid)
        stop(base)

        write_sound_on(config_home)
        env = dict(session.env, XDG_CONFIG_HOME=config_home)
        process = session.spawn([program], env=env)
        main = session.wait_window(MAIN_TITLE)
        session.activate(main)
        session.keys("ctrl+s")          # the exercise, which greets the pupil
        time.sleep(3)                   # the greeting plays
        session.activate(main)
        session.keys("alt+r", "p")      # Paramètres
        time.sleep(0.5)
        session.activate(main)
        session.keys("alt+r", "Down", "Return")  # Charger exercice: the file dialog
        dialog = session.wait_window("Sélection de la photographie")
        session.activate(dialog)
        session.keys("Escape")
        session.wait_gone("Sélection de la photographie")
        session.activate(main)
        session.keys("alt+r", "Down", "Down", "Return")  # Progression
        session.wait_window("Progression de l'exercice ...")
        session.activate(main)
        session.keys("alt+e", "Return")  # Editer les phrases
        session.wait_window("Boîte de dialogue")
        session.activate(main)
        session.keys("alt+question", "a")  # A propos de ...
        session.wait_window("Ecole Primaire - Plumalin")
        time.sleep(0.5)
        program_kb = peak_memory_kb(process.pid)
        stop(process)
        return program_kb, empty_kb
    finally:
        session.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build", help="Release build folder")
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    program = os.path.join(args.build, "bin", "plumalin")
    empty = os.path.join(args.build, "bench", "bench_startup", "bench_startup_empty_window")
    for path in (program, empty):
        if not os.access(path, os.X_OK):
            sys.exit(f"introuvable : {path}")

    config_home = tempfile.mkdtemp(prefix="plumalin-bench-")
    try:
        session = XSession(800, 600, window_manager=False)
        try:
            time_to_map(session, empty, config_home)  # warms the file cache for both
            time_to_map(session, program, config_home)
            times = {program: [], empty: []}
            for _ in range(args.runs):
                for path in (empty, program):
                    times[path].append(time_to_map(session, path, config_home))
        finally:
            session.close()
        program_kb, empty_kb = memory_session(program, empty, config_home)
    finally:
        shutil.rmtree(config_home, ignore_errors=True)

    p_ms = statistics.median(times[program]) * 1000
    e_ms = statistics.median(times[empty]) * 1000
    print(f"Lancement jusqu'à l'affichage (médiane de {args.runs}) :")
    print(f"  fenêtre Qt vide : {e_ms:6.1f} ms   "
          f"({', '.join(f'{t * 1000:.0f}' for t in times[empty])})")
    print(f"  Plumalin        : {p_ms:6.1f} ms   "
          f"({', '.join(f'{t * 1000:.0f}' for t in times[program])})   "
          f"soit {p_ms / e_ms:.2f} fois (but : au plus 2)")
    print("Mémoire résidente maximale :")
    print(f"  fenêtre Qt vide : {empty_kb / 1024:6.1f} Mo")
    print(f"  Plumalin, toutes les fenêtres ouvertes et un son joué : {program_kb / 1024:6.1f} Mo"
          f" (but : moins de 70)")


if __name__ == "__main__":
    main()
