#!/usr/bin/python3
"""Starts the real program on a virtual 800 x 600 screen with a fresh settings folder and uses
it from outside, as a person would: the main window's size and place, "Paramètres" from the
keyboard, Ctrl+Q answered "Non", the close box; then a second start on a 640 x 480 screen.

Run with Debian's /usr/bin/python3 (python3-xlib). --shots keeps a screenshot of each step;
--tour also takes the README's pictures of the editor and the journal.
"""
import argparse
import configparser
import os
import re
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xsession import Failure, XSession, stop, wait_for  # noqa: E402

MAIN_TITLE = "Plumalin pour Ecole Primaire"


def unescape(name):
    """Section and key names as written: the settings file escapes accented letters."""
    return re.sub(r"%U([0-9A-Fa-f]{4})|%([0-9A-Fa-f]{2})",
                  lambda m: chr(int(m.group(1) or m.group(2), 16)), name)


def read_settings(config_home):
    """The settings the program wrote, as {(section, key): text}."""
    path = os.path.join(config_home, "plumalin", "Plumalin.ini")
    parser = configparser.RawConfigParser()
    parser.optionxform = str
    try:
        with open(path, encoding="utf-8") as f:
            parser.read_file(f)
    except FileNotFoundError:
        return {}
    return {(unescape(s), unescape(k)): v for s in parser.sections() for k, v in parser.items(s)}


def setting(settings, section, key):
    return settings.get((section, key))


class Run:
    def __init__(self, program, shots):
        self.program = program
        self.shots = shots
        self.log = None

    def shot(self, session, name):
        if self.shots:
            session.screenshot(os.path.join(self.shots, name + ".png"))

    def start(self, session, config_home):
        env = dict(session.env, XDG_CONFIG_HOME=config_home,
                   HOME=os.path.join(config_home, "home"))
        started = time.monotonic()
        # What the program says on its error output is shown when a check fails.
        self.log = tempfile.TemporaryFile()
        process = session.spawn([self.program], env=env, stderr=self.log)
        window = session.wait_window(MAIN_TITLE)
        print(f"fenêtre principale affichée en {time.monotonic() - started:.2f} s")
        return process, window

    def expect(self, condition, message):
        if not condition:
            self.log.seek(0)
            output = self.log.read().decode("utf-8", "replace")
            raise Failure(message + ("\n" + output if output else ""))
        print("ok :", message)


def first_start(run, config_home):
    session = XSession(800, 600)
    try:
        process, main = run.start(session, config_home)
        # The whole window, frame included, is 640 x 480 and centred: the program fits itself
        # to its frame once the window manager has framed it.
        centred = (80, 60, 640, 480)

        def near(measured):
            return all(abs(a - b) <= 1 for a, b in zip(measured, centred))

        try:
            wait_for("le cadre de 640 x 480",
                     lambda: session.frame_extents(main) and near(session.frame_geometry(main))
                     and near(session.outer_geometry(main)))
        except Failure:
            pass  # the checks below tell what was measured
        frame = session.frame_geometry(main)
        outer = session.outer_geometry(main)
        client = session.geometry(main)
        print(f"cadre {frame}, fenêtre du gestionnaire {outer}, intérieur {client}, "
              f"bords {session.frame_extents(main)}")
        run.expect(near(frame), f"cadre de 640 x 480 en 80, 60 (mesuré {frame})")
        run.expect(outer == frame, f"la fenêtre du gestionnaire a ce cadre (mesurée {outer})")
        run.expect("_NET_WM_STATE_MAXIMIZED_VERT" not in session.states(main), "pas agrandie")
        run.shot(session, "main")

        # "&Paramètres" from the keyboard: Alt+R opens "&Rubriques", P chooses it.
        session.activate(main)
        session.keys("alt+r", "p")
        keys = ["Durée_Phrase", "Durée_Mot", "NbPhrases", "Son"]
        settings = wait_for("les quatre réglages écrits par « Paramètres »",
                            lambda: (lambda s: s if all(setting(s, "Démarrage", k) for k in keys) else None)(
                                read_settings(config_home)))
        values = [setting(settings, "Démarrage", k) for k in keys]
        run.expect(values == ["4", "4", "0", "0"], f"réglages écrits : {values}")
        time.sleep(0.3)  # let the dialog paint before the picture (not a wait for a state)
        run.shot(session, "parametres")

        # Ctrl+Q: the journal holds a line beyond its first, so the question comes.
        session.activate(main)
        session.keys("ctrl+q")
        question = session.wait_window("Quitter ...")
        time.sleep(0.3)
        run.shot(session, "quitter")
        session.activate(question)
        session.keys("n")  # "&Non"
        session.wait_gone("Quitter ...")
        run.expect(process.poll() is None and session.find_window(MAIN_TITLE) is not None,
                   "« Non » : le programme continue")
        run.expect(setting(read_settings(config_home), "Position", "MainLeft") is None,
                   "aucune position écrite avant la fermeture")

        # The close box, as the window manager asks for it.
        frame = session.frame_geometry(main)
        session.request_close(main)
        wait_for("la fin du programme", lambda: process.poll() is not None)
        run.expect(process.returncode == 0, f"fin normale (code {process.returncode})")
        # The journal's lines are in the records folder below the user's documents, which the
        # program looked up at the first of them.
        records = os.path.join(config_home, "home", "Documents", "Plumalin", "Journaux")
        journals = [f for f in (os.listdir(records) if os.path.isdir(records) else [])
                    if f.startswith("journal-") and f.endswith(".csv")]
        run.expect(len(journals) == 1, f"un journal du jour dans {records} : {journals}")
        settings = read_settings(config_home)
        position = [setting(settings, "Position", k)
                    for k in ("MainLeft", "MainTop", "MainWidth", "MainHeight")]
        expected = [str(v * 15) for v in frame]
        run.expect(position == expected,
                   f"position écrite en twips : {position} (cadre {expected})")
        run.expect(near([int(v) / 15 for v in position]),
                   f"soit 9600 x 7200 en 1200, 900 ({position})")
    finally:
        session.close()


def second_start(run, config_home):
    session = XSession(640, 480)
    try:
        process, main = run.start(session, config_home)
        wait_for("la fenêtre agrandie", lambda: {"_NET_WM_STATE_MAXIMIZED_VERT",
                                                 "_NET_WM_STATE_MAXIMIZED_HORZ"}
                 <= session.states(main))
        run.expect(True, "écran de 640 x 480 : fenêtre agrandie")
        x, y, w, h = session.frame_geometry(main)
        run.expect(w == 640, f"elle occupe la largeur de l'écran ({w})")
        time.sleep(0.3)
        run.shot(session, "main-640x480")
        session.request_close(main)
        wait_for("la fin du programme", lambda: process.poll() is not None)
        width = setting(read_settings(config_home), "Position", "MainWidth")
        run.expect(width == "9600", f"agrandie, elle écrit sa largeur agrandie ({width})")
        stop(process)
    finally:
        session.close()


def centred_on(inner, outer):
    """Whether the frame `inner` overhangs or leaves `outer` equally on each side (1 pixel)."""
    ix, iy, iw, ih = inner
    ox, oy, ow, oh = outer
    return (abs((ix - ox) - (ox + ow - ix - iw)) <= 1
            and abs((iy - oy) - (oy + oh - iy - ih)) <= 1)


def teacher_windows(run, config_home):
    """The About box centred by its framed size; "Progression" bringing back a minimised
    journal; with "premier plan" ticked, the program's own question above the journal."""
    session = XSession(800, 600)
    try:
        process, main = run.start(session, config_home)
        wait_for("le cadre de la fenêtre principale", lambda: session.frame_extents(main))
        session.activate(main)
        session.keys("alt+question", "Return")  # "&?", "&A propos de ..."
        about = session.wait_window("Ecole Primaire - Plumalin")
        wait_for("le cadre de la boîte « A propos »", lambda: session.frame_extents(about))
        main_frame = session.frame_geometry(main)
        try:
            wait_for("la boîte centrée", lambda: centred_on(session.frame_geometry(about),
                                                            main_frame), timeout=3)
        except Failure:
            pass
        about_frame = session.frame_geometry(about)
        run.expect(centred_on(about_frame, main_frame),
                   f"« A propos » centrée sur la fenêtre principale par son cadre "
                   f"({about_frame} sur {main_frame})")
        run.shot(session, "apropos")
        session.activate(about)
        session.keys("Escape")
        session.wait_gone("Ecole Primaire - Plumalin")

        def progression():
            session.activate(main)
            session.keys("alt+r", "Down", "Down", "Return")
            return session.wait_window("Progression de l'exercice ...")

        journal = progression()
        session.minimize(journal)
        wait_for("le journal réduit", lambda: "_NET_WM_STATE_HIDDEN" in session.states(journal))
        journal = progression()
        try:
            wait_for("le journal rendu",
                     lambda: "_NET_WM_STATE_HIDDEN" not in session.states(journal), timeout=5)
        except Failure:
            pass  # the check below tells what was seen
        run.expect("_NET_WM_STATE_HIDDEN" not in session.states(journal),
                   "« Progression » ramène le journal réduit")

        # "Fenêtre de progression en premier plan", at the journal's bottom left.
        session.activate(journal)
        time.sleep(0.5)  # let the restored window take its events (not a wait for a state)
        session.click(journal, 20, 228)
        journal = wait_for("le journal au premier plan",
                           lambda: (lambda w: w if w and "_NET_WM_STATE_ABOVE" in session.states(w)
                                    else None)(session.find_window("Progression de l'exercice ...")))
        # Full screen keeps the journal kept on top above it.
        session.activate(main)
        session.keys("F11")
        wait_for("le plein écran",
                 lambda: "_NET_WM_STATE_FULLSCREEN" in session.states(main))

        def journal_above():
            stack = session.stacking()
            return (main.id in stack and journal.id in stack
                    and stack.index(journal.id) > stack.index(main.id))

        try:
            wait_for("le journal au-dessus du plein écran", journal_above, timeout=5)
        except Failure:
            pass  # the check below tells what was seen
        run.shot(session, "journal-above-full-screen")
        run.expect(journal_above(), "le journal au premier plan reste au-dessus du plein écran")
        session.activate(main)
        session.keys("F11")
        wait_for("la sortie du plein écran",
                 lambda: "_NET_WM_STATE_FULLSCREEN" not in session.states(main))

        session.activate(main)
        session.keys("ctrl+q")
        question = session.wait_window("Quitter ...")

        def question_above():
            stack = session.stacking()
            return (question.id in stack and journal.id in stack
                    and stack.index(question.id) > stack.index(journal.id))

        try:
            # openbox restacks after it has mapped the box.
            wait_for("la question au-dessus du journal", question_above, timeout=5)
        except Failure:
            pass  # the check below tells what was seen
        run.shot(session, "question-above-journal")
        run.expect(question_above(),
                   "la question « Quitter ... » s'ouvre au-dessus du journal au premier plan")
        session.activate(question)
        session.keys("n")
        session.wait_gone("Quitter ...")
        stop(process)
    finally:
        session.close()


def tour(run, config_home, program_folder):
    """The README's pictures: the sentence editor with the default file, and the journal."""
    session = XSession(800, 600)
    try:
        process, main = run.start(session, config_home)
        session.activate(main)
        # "&Editer", then its only entry.
        session.keys("alt+e", "Return")
        editor = session.wait_window("Boîte de dialogue")
        session.activate(editor)
        session.keys("alt+f", "c")  # "&Fichier", "&Charger"
        dialog = session.wait_window("Sélection de la photographie")
        session.activate(dialog)
        session.type_text(os.path.join(program_folder, "plumalin.txt"))
        session.keys("Return")
        session.wait_gone("Sélection de la photographie")
        time.sleep(0.5)
        run.shot(session, "editor")
        session.request_close(editor)
        session.wait_gone("Boîte de dialogue")
        session.activate(main)
        session.keys("ctrl+s")
        time.sleep(1.5)
        run.shot(session, "exercise-in-main")
        # "Progression": the fourth entry that can be chosen in "&Rubriques".
        session.activate(main)
        session.keys("alt+r", "Down", "Down", "Return")
        journal = session.wait_window("Progression de l'exercice ...")
        session.activate(journal)
        time.sleep(0.5)
        if run.shots:
            session.screenshot(os.path.join(run.shots, "journal.png"), window=journal)
        stop(process)
    finally:
        session.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--program", required=True)
    parser.add_argument("--shots", help="folder for the screenshots")
    parser.add_argument("--tour", action="store_true", help="also the editor and the journal")
    args = parser.parse_args()

    run = Run(os.path.abspath(args.program), args.shots)
    with tempfile.TemporaryDirectory(prefix="plumalin-smoke-") as config_home:
        try:
            first_start(run, config_home)
            second_start(run, config_home)
            teacher_windows(run, config_home)
            if args.tour:
                tour(run, config_home, os.path.dirname(run.program))
        except Failure as failure:
            print("ÉCHEC :", failure, file=sys.stderr)
            return 1
    print("tout est bon")
    return 0


if __name__ == "__main__":
    sys.exit(main())
