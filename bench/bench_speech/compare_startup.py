#!/usr/bin/python3
"""Start-up and peak memory of this build's Plumalin against another build's, in one run.

  /usr/bin/python3 bench/bench_speech/compare_startup.py BUILD_DIR OTHER_PROGRAM [--runs 9]

BUILD_DIR is a Release build holding bin/plumalin and the empty window of bench_startup;
OTHER_PROGRAM is the plumalin of another build (before the speech, for instance). Both start
with speech off ("Lecture à voix haute" = Non), taking turns; the medians and their ratio are
printed. Then each opens every window with a cue played (bench_startup's session) and its peak
resident memory is printed. The other program's sound files are those of its own folder.
"""
import argparse
import os
import shutil
import statistics
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "bench_startup"))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "tests", "smoke"))
from bench_startup import memory_session, time_to_map  # noqa: E402
from xsession import XSession  # noqa: E402


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("build")
    parser.add_argument("other")
    parser.add_argument("--runs", type=int, default=9)
    args = parser.parse_args()
    program = os.path.join(args.build, "bin", "plumalin")
    empty = os.path.join(args.build, "bench", "bench_startup", "bench_startup_empty_window")
    for path in (program, args.other, empty):
        if not os.access(path, os.X_OK):
            sys.exit(f"introuvable : {path}")

    config_home = tempfile.mkdtemp(prefix="plumalin-bench-")
    try:
        session = XSession(800, 600, window_manager=False)
        try:
            for path in (args.other, program):
                time_to_map(session, path, config_home)  # warms the file cache
            times = {program: [], args.other: []}
            for _ in range(args.runs):
                for path in (args.other, program):
                    times[path].append(time_to_map(session, path, config_home))
        finally:
            session.close()
        this_kb, _ = memory_session(program, empty, config_home)
        other_kb, _ = memory_session(args.other, empty, config_home)
    finally:
        shutil.rmtree(config_home, ignore_errors=True)

    this_ms = statistics.median(times[program]) * 1000
    other_ms = statistics.median(times[args.other]) * 1000
    print(f"Lancement jusqu'à l'affichage, lecture à voix haute coupée (médiane de {args.runs}) :")
    print(f"  autre programme : {other_ms:6.1f} ms")
    print(f"  ce programme    : {this_ms:6.1f} ms   soit {this_ms / other_ms:.3f} fois l'autre")
    print("Mémoire résidente maximale, toutes les fenêtres ouvertes et un son joué :")
    print(f"  autre programme : {other_kb / 1024:6.1f} Mo")
    print(f"  ce programme    : {this_kb / 1024:6.1f} Mo   soit {(other_kb - this_kb) / 1024:.1f} Mo de moins")


if __name__ == "__main__":
    main()
