#!/usr/bin/env python3
"""Keeps the committed fuzz corpus (fuzz/corpus/<target>) minimal and on exact row keys.

  tools/fuzz_corpus.py merge BUILD_DIR [TARGET...]      minimise and replace the committed corpus
  tools/fuzz_corpus.py canonical BUILD_DIR TARGET DIR   rewrite the inputs in DIR to exact keys
  tools/fuzz_corpus.py check BUILD_DIR [TARGET...]      committed inputs keep their rows when rows
                                                        are added (exit 1 if one does not)

An input starts with a 4-byte key and runs the row with the nearest key at or above it (see
fuzz/fuzz_table.h). Inputs from mutation carry arbitrary keys, so every input is canonicalised
before it is committed: its key becomes the exact key of the row it runs, which no added, removed
or reordered row can take from it. The calls themselves do not change.

merge takes the committed corpus and the new inputs of a run (BUILD_DIR/corpus/<target>), keeps
those that reach an edge no smaller input reaches (libFuzzer -merge=1 -use_counters=0: inputs that
differ only in how often they pass an edge stay out; mutation finds such variants again),
canonicalises them and makes them the committed corpus.

check asks the target which row each committed input runs, with and without a dummy row just
below every key and at the top key (LUMEX_FUZZ_DUMMY_ROWS), and compares: an input without an
exact key would move to a dummy, one with an exact key cannot move.
"""
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ROW = re.compile(r"^([0-9a-f]{8}) (.*)$")


def binary(build, target):
    return os.path.join(build, "fuzz", "lumex_fuzz_" + target)


def targets(build, names):
    if names:
        return names
    prefix = "lumex_fuzz_"
    return sorted(n[len(prefix):] for n in os.listdir(os.path.join(build, "fuzz"))
                  if n.startswith(prefix) and os.access(os.path.join(build, "fuzz", n), os.X_OK))


def inputs(folder):
    return sorted(os.path.join(folder, n) for n in os.listdir(folder))


def rows(build, target, files, dummies=False):
    """The row (key and name) each file runs, asked of the target without calling it."""
    env = dict(os.environ, LUMEX_FUZZ_ROW="1")
    if dummies:
        env["LUMEX_FUZZ_DUMMY_ROWS"] = "1"
    found = {}
    for start in range(0, len(files), 2000):
        batch = files[start:start + 2000]
        out = subprocess.run([binary(build, target)] + batch, env=env, stdout=subprocess.DEVNULL,
                             stderr=subprocess.PIPE, text=True, check=True).stderr
        current = None
        for line in out.splitlines():
            if line.startswith("Running: "):
                current = line[len("Running: "):]
            elif current is not None and ROW.match(line):
                found[current] = ROW.match(line).groups()
                current = None
    missing = [f for f in files if f not in found]
    if missing:
        sys.exit("fuzz_corpus: no row reported for " + missing[0])
    return found


def canonical(build, target, folder):
    """Rewrites each input's key to its row's exact key; files are named by their contents."""
    files = inputs(folder)
    for path, (key, _) in rows(build, target, files).items():
        with open(path, "rb") as f:
            data = f.read()
        data = int(key, 16).to_bytes(4, "little") + data[4:]
        os.remove(path)
        with open(os.path.join(folder, hashlib.sha1(data).hexdigest()), "wb") as f:
            f.write(data)
    return len(files), len(inputs(folder))


def merge(build, names):
    for target in targets(build, names):
        committed = os.path.join(ROOT, "fuzz", "corpus", target)
        found = os.path.join(build, "corpus", target)
        os.makedirs(committed, exist_ok=True)
        fresh = tempfile.mkdtemp(prefix=target + "-", dir=build)
        subprocess.run([binary(build, target), "-merge=1", "-use_counters=0", "-timeout=5",
                        "-rss_limit_mb=2048", fresh, committed] + ([found] if os.path.isdir(found) else []),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        merged, kept = canonical(build, target, fresh)
        before = len(inputs(committed))
        shutil.rmtree(committed)
        shutil.move(fresh, committed)
        print(f"fuzz_corpus: {target}: {before} committed inputs, {merged} after the merge, "
              f"{kept} on exact keys")


def check(build, names):
    moved = 0
    for target in targets(build, names):
        files = inputs(os.path.join(ROOT, "fuzz", "corpus", target))
        plain = rows(build, target, files)
        dummy = rows(build, target, files, dummies=True)
        changed = [f for f in files if plain[f] != dummy[f]]
        for f in changed:
            print(f"fuzz_corpus: {f} moves from {' '.join(plain[f])} to {' '.join(dummy[f])}")
        print(f"fuzz_corpus: {target}: {len(files)} inputs, {len(changed)} change row when rows "
              f"are added")
        moved += len(changed)
    return 1 if moved else 0


def main(argv):
    if len(argv) >= 2 and argv[0] == "merge":
        return merge(argv[1], argv[2:])
    if len(argv) == 4 and argv[0] == "canonical":
        print("fuzz_corpus: %d inputs, %d on exact keys" % canonical(*argv[1:]))
        return 0
    if len(argv) >= 2 and argv[0] == "check":
        return check(argv[1], argv[2:])
    sys.exit(__doc__)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
