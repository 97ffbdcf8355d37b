"""Bad files for real-files.py --damage: each real file cut short at two places and damaged
at random places in two copies (fixed seeds), laid under its pattern and identified by an
orlin-cli built with ASan and UBSan. No crash, no sanitizer report, no hang (a time limit
per run), and the exit codes of good runs: struct 0, identify 0 or 1."""
import os
import random
import subprocess
import sys
import tempfile

CLI, PATTERNS = sys.argv[1], sys.argv[2]
LIMIT_SECONDS = 20
MAX_BYTES = 1 << 20  # larger files are damaged in their first MiB, itself a cut copy
ENV = dict(os.environ, ASAN_OPTIONS="detect_leaks=1:exitcode=86",
           UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:exitcode=87")


def copies(data, seed):
    rng = random.Random(seed)
    size = len(data)
    for cut in sorted({size // 2, max(size - 1, 0)}):
        yield "cut at %d" % cut, data[:cut]
    for n in range(2):
        damaged = bytearray(data)
        # Mostly in the headers, where sizes and places are read; some anywhere.
        for _ in range(rng.randint(1, 24)):
            at = rng.randrange(min(size, 4096) if rng.random() < 0.8 else size)
            damaged[at] = rng.choice((0, 0xFF, 0x7F, 0x80, rng.randrange(256)))
        yield "damaged copy %d" % n, bytes(damaged)


def run(args):
    try:
        result = subprocess.run(args, capture_output=True, text=True, env=ENV,
                                timeout=LIMIT_SECONDS)
    except subprocess.TimeoutExpired:
        return None, "timed out"
    return result.returncode, result.stderr


def check(pattern, path, offset):
    with open(path, "rb") as f:
        data = f.read(MAX_BYTES)
    failures = []
    with tempfile.TemporaryDirectory() as d:
        bad_files = []
        for n, (what, content) in enumerate(copies(data, pattern)):
            bad = os.path.join(d, "bad%d%s" % (n, os.path.splitext(path)[1]))
            with open(bad, "wb") as f:
                f.write(content)
            bad_files.append(bad)
            args = [CLI, "struct", "--json", os.path.join(PATTERNS, pattern), bad]
            if offset is not None and offset < len(content):
                args += ["--offset", "%X" % offset]
            failures += verdict(pattern, what, args, {0})
        # One library scan for all copies.
        failures += verdict(pattern, "all copies", [CLI, "identify", "--patterns", PATTERNS]
                            + bad_files, {0, 1})
    return failures


def verdict(pattern, what, args, good):
    code, err = run(args)
    if code in good and "Sanitizer" not in err and "runtime error" not in err:
        return []
    return ["%s, %s, %s: exit %s %s" % (pattern, what, args[1], code, err[-400:])]
