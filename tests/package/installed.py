#!/usr/bin/python3
"""The installed program, used from outside as a teacher and a pupil would, on a virtual screen,
with a fresh home folder:

1. the exercise finds the default sentence file in the data folder, a tile of its sentence is
   dropped and judged, and the greeting sound is read from the data folder;
2. a list saved by the editor lands in the user's folder (where the file dialog opens), and the
   settings dialog lists it;
3. "Charger exercice" of a file from another folder copies it into the user's folder and the
   exercise then plays its sentence.

What the program did is read from its journal, saved as CSV through the journal window.
Run with Debian's /usr/bin/python3 (python3-xlib), as the ordinary user whose home it is given.
"""
import argparse
import csv
import os
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "smoke"))
from smoke import read_settings, setting  # noqa: E402
from xsession import Failure, XSession, stop, wait_for  # noqa: E402

MAIN_TITLE = "Plumalin pour Ecole Primaire"
FILE_DIALOG = "Sélection de la photographie"
JOURNAL = "Progression de l'exercice ..."
JOURNAL_SAVE = "Sauvegarder la progression"
EDITOR = "Boîte de dialogue"


def check(condition, message):
    if not condition:
        raise Failure(message)
    print("ok :", message)


def sentences(path):
    """The records of a sentence file (Windows-1252, one quoted sentence a line)."""
    with open(path, encoding="cp1252") as f:
        return [line.strip().strip('"') for line in f if line.strip()]


class Program:
    """One run of the program on its own virtual screen."""

    def __init__(self, program, home, shots):
        self.home = home
        self.config = os.path.join(home, ".config")
        self.shots = shots
        self.session = XSession(800, 600)
        # The sound player names each cue file it reads, in its own logging category.
        env = dict(self.session.env, HOME=home, QT_LOGGING_RULES="plumalin.sound.debug=true")
        for name in ("XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_DOCUMENTS_DIR"):
            env.pop(name, None)
        self.log = tempfile.TemporaryFile()
        self.process = self.session.spawn([program], env=env, stderr=self.log)
        self.main = self.session.wait_window(MAIN_TITLE)
        time.sleep(0.5)

    def shot(self, name):
        if self.shots:
            self.session.screenshot(os.path.join(self.shots, name + ".png"))

    def menu(self, *keys):
        self.session.activate(self.main)
        self.session.keys(*keys)

    def choose_file(self, title, path):
        """Types a path (or a bare name) into the file dialog and accepts it."""
        dialog = self.session.wait_window(title)
        time.sleep(0.5)
        self.session.activate(dialog)
        self.session.type_text(path)
        self.session.keys("Return")
        self.session.wait_gone(title)

    def charger_exercice(self, path):
        # "&Rubriques", then its second entry.
        self.menu("alt+r", "Down", "Return")
        self.choose_file(FILE_DIALOG, path)

    def drop_a_tile(self):
        """Starts (or brings back) the exercise and drops the first tile from the keyboard (Tab,
        then Enter)."""
        self.menu("ctrl+s")
        time.sleep(3.0)  # the greeting's wait; the drop is judged after it
        self.session.keys("Tab", "Return")
        time.sleep(1.5)
        self.shot("exercice")

    def played(self, wanted, csv_prefix):
        """Drops a tile until the journal shows a line that `wanted` accepts (keys sent while a
        loaded machine is still busy with the greeting can be lost); the lines it accepted."""
        for attempt in range(1, 4):
            self.drop_a_tile()
            lines = self.journal_lines(f"{csv_prefix}-{attempt}.csv")
            found = [cell for cell in lines if wanted(cell)]
            if found:
                return lines, found
        return lines, []

    def journal_lines(self, csv_path):
        """The journal's texts, saved through the journal window's "Sauvegarder"."""
        # "&Rubriques", then "Progression", the third entry that can be chosen.
        self.menu("alt+r", "Down", "Down", "Return")
        journal = self.session.wait_window(JOURNAL)
        self.session.activate(journal)
        self.session.keys("alt+s")
        self.choose_file(JOURNAL_SAVE, csv_path)
        wait_for("le journal enregistré", lambda: os.path.exists(csv_path))
        time.sleep(0.3)
        with open(csv_path, encoding="utf-8-sig", newline="") as f:
            return [cell for row in csv.reader(f, delimiter=";") for cell in row]

    def settings(self):
        return read_settings(self.config)

    def output(self):
        """What the program has written on its error output so far."""
        self.log.seek(0, os.SEEK_SET)
        text = self.log.read().decode("utf-8", "replace")
        self.log.seek(0, os.SEEK_END)
        return text

    def close(self):
        try:
            if self.process.poll() is None:
                self.session.request_close(self.main)
                wait_for("la fin du programme", lambda: self.process.poll() is not None)
        finally:
            stop(self.process)
            self.session.close()
        self.log.seek(0)
        output = self.log.read().decode("utf-8", "replace").strip()
        if output:
            print("(sortie d'erreur du programme)\n" + output)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--program", default="/usr/bin/plumalin")
    parser.add_argument("--data", default="/usr/share/plumalin",
                        help="the folder that must hold plumalin.txt and the sounds")
    parser.add_argument("--work", required=True,
                        help="a fresh folder of this user: home, other folder, journals")
    parser.add_argument("--shots", help="folder for the screenshots")
    args = parser.parse_args()

    home = os.path.join(args.work, "home")
    own = os.path.join(home, "Documents", "Plumalin")
    elsewhere = os.path.join(args.work, "autre dossier")
    os.makedirs(home)
    os.makedirs(elsewhere)
    # Sound on, as a teacher would set it, so that the greeting is played.
    os.makedirs(os.path.join(home, ".config", "plumalin"))
    with open(os.path.join(home, ".config", "plumalin", "Plumalin.ini"), "w") as f:
        f.write("[D%E9marrage]\nSon=1\n")
    words = {w for s in sentences(os.path.join(args.data, "plumalin.txt")) for w in s.split()}

    try:
        run = Program(args.program, home, args.shots)
        try:
            lines, dropped = run.played(lambda cell: cell in words,
                                        os.path.join(args.work, "journal-1"))
            # The user's folder: the editor's first save dialog opens there.
            run.menu("alt+e", "Return")
            editor = run.session.wait_window(EDITOR)
            run.session.activate(editor)
            run.session.keys("alt+f", "s")  # "&Fichier", "&Sauvegarder"
            run.choose_file(FILE_DIALOG, "vacances.txt")
            saved = os.path.join(own, "vacances.txt")
            wait_for("la liste enregistrée", lambda: os.path.exists(saved))
            check(True, f"l'éditeur enregistre dans le dossier de l'utilisateur ({saved})")
            run.session.request_close(editor)
            run.session.wait_gone(EDITOR)

            # Chosen for the exercise, then kept by the settings dialog, which lists it (a name
            # it did not list would be replaced by its first line, "plumalin.txt").
            run.charger_exercice(saved)
            wait_for("« Fichier » = vacances.txt",
                     lambda: setting(run.settings(), "Démarrage", "Fichier") == "vacances.txt")
            run.menu("alt+r", "p")
            wait_for("les réglages écrits par « Paramètres »",
                     lambda: setting(run.settings(), "Démarrage", "NbPhrases"))
            time.sleep(0.5)
            run.shot("parametres")
            fichier = setting(run.settings(), "Démarrage", "Fichier")
            check(fichier == "vacances.txt",
                  f"« Paramètres » liste vacances.txt du dossier de l'utilisateur ({fichier})")

            check("Debut de l'exercice." in lines, "l'exercice a commencé")
            check(dropped, f"une étiquette de plumalin.txt a été posée et jugée ({dropped})")
            greeting = os.path.join(args.data, "bonjour.mp3")
            played = greeting in run.output()
            check(played, f"le son d'accueil est lu dans le dossier des données ({greeting})")
        finally:
            run.close()

        # A list from another folder: copied into the user's folder, then played.
        foreign = os.path.join(elsewhere, "dictee.txt")
        with open(foreign, "wb") as f:
            f.write('"Zébulon"\r\n'.encode("cp1252"))
        run = Program(args.program, home, args.shots)
        try:
            run.charger_exercice(foreign)
            copy = os.path.join(own, "dictee.txt")
            wait_for("la copie dans le dossier de l'utilisateur", lambda: os.path.exists(copy))
            with open(copy, "rb") as a, open(foreign, "rb") as b:
                check(a.read() == b.read(), f"« Charger exercice » copie le fichier ({copy})")
            check(setting(run.settings(), "Démarrage", "Fichier") == "dictee.txt",
                  "« Fichier » = dictee.txt")
            lines, _ = run.played(lambda cell: cell == "Zébulon",
                                  os.path.join(args.work, "journal-2"))
            check("Zébulon" in lines, "l'exercice joue la phrase du fichier chargé (« Zébulon »)")
        finally:
            run.close()
    except Failure as failure:
        print("ÉCHEC :", failure, file=sys.stderr)
        return 1
    print("tout est bon")
    return 0


if __name__ == "__main__":
    sys.exit(main())
