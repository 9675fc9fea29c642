#!/usr/bin/env python3
"""What one run of zor2remap costs next to the alternatives.

Makes a synthetic program disk image and measures, side by side:
  - zor2remap patching it into a new file;
  - cp copying it to a new file: the floor, what reading and writing costs;
  - xdelta3 -d and bspatch applying the same eight-byte change, from patches
    made here with xdelta3 -e and bsdiff.

For each it reports the instructions of the whole process (valgrind's
callgrind: repeatable on a noisy machine) and the median wall time over many
runs (hyperfine, in interleaved rounds), both also as a ratio to cp. Every
tool's output is checked before anything is measured.

    bench/compare.py [--program PATH] [--quick] [--markdown FILE]

--quick makes few runs, for CI to see that the script keeps working; it
asserts nothing about times.
"""

import argparse
import json
import os
import platform
import random
import re
import shlex
import statistics
import subprocess
import sys
import tempfile

IMAGE_SIZE = 143360
# The bytes that zor2remap expects on its program disk, and what it makes of
# them: enough to build an image that it accepts.
PATCHED_BYTES = [
    (0x04129, 0x8D, 0x8B), (0x0413E, 0xAF, 0x8A), (0x04619, 0x8D, 0x8B), (0x0461D, 0xAF, 0x8A),
    (0x05285, 0x8D, 0x8B), (0x0528C, 0xAF, 0x8A), (0x20D96, 0x8D, 0x8B), (0x20DB6, 0xAF, 0x8A),
]
TARGETS = {"instructions": 0.3, "wall time": 0.8}
REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def fail(message):
    print(f"compare.py: {message}", file=sys.stderr)
    sys.exit(1)


def make_image(path):
    generator = random.Random(20261211)
    image = bytearray(generator.getrandbits(8) for _ in range(IMAGE_SIZE))
    for offset, before, _ in PATCHED_BYTES:
        image[offset] = before
    with open(path, "wb") as out:
        out.write(image)
    return bytes(image)


def run(command, cwd):
    result = subprocess.run(command, cwd=cwd, capture_output=True, text=True)
    if result.returncode != 0:
        fail(f"{' '.join(command)} failed with {result.returncode}: {result.stdout}{result.stderr}")
    return result


def read(path):
    with open(path, "rb") as file:
        return file.read()


def prepare(work, program):
    """The commands to compare, each with the file it writes and must get."""
    original = make_image(os.path.join(work, "prog.dsk"))
    run([program, "-d", "prog.dsk"], work)
    expected = read(os.path.join(work, "prog.NEW.dsk"))
    changed = [i for i in range(IMAGE_SIZE) if original[i] != expected[i]]
    if changed != [offset for offset, _, _ in PATCHED_BYTES]:
        fail(f"zor2remap changed the bytes at {changed}")
    run(["xdelta3", "-e", "-f", "-s", "prog.dsk", "prog.NEW.dsk", "patch.xd3"], work)
    run(["bsdiff", "prog.dsk", "prog.NEW.dsk", "patch.bsdiff"], work)
    os.remove(os.path.join(work, "prog.NEW.dsk"))
    return [
        ("zor2remap", [program, "-d", "prog.dsk"], "prog.NEW.dsk", expected),
        ("cp", ["cp", "prog.dsk", "copy.dsk"], "copy.dsk", original),
        ("xdelta3 -d", ["xdelta3", "-d", "-f", "-s", "prog.dsk", "patch.xd3", "xdelta3.dsk"],
         "xdelta3.dsk", expected),
        ("bspatch", ["bspatch", "prog.dsk", "bspatch.dsk", "patch.bsdiff"], "bspatch.dsk",
         expected),
    ]


def remove_outputs(work, commands):
    for _, _, output, _ in commands:
        path = os.path.join(work, output)
        if os.path.exists(path):
            os.remove(path)


def check_outputs(work, commands):
    remove_outputs(work, commands)
    for name, command, output, content in commands:
        run(command, work)
        if read(os.path.join(work, output)) != content:
            fail(f"{name} wrote something else than expected")
    remove_outputs(work, commands)


def count_instructions(work, commands):
    counts = {}
    for name, command, _, _ in commands:
        remove_outputs(work, commands)
        result = run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null"] + command,
                     work)
        match = re.search(r"Collected : (\d+)", result.stderr)
        if not match:
            fail(f"callgrind counted nothing for {name}")
        counts[name] = int(match.group(1))
    remove_outputs(work, commands)
    return counts


def time_runs(work, commands, rounds, runs, warmup):
    """Median seconds of each command over rounds that alternate between them."""
    times = {name: [] for name, _, _, _ in commands}
    cleanup = "rm -f " + " ".join(output for _, _, output, _ in commands)
    for round_number in range(rounds):
        export = os.path.join(work, f"round{round_number}.json")
        order = commands if round_number % 2 == 0 else list(reversed(commands))
        hyperfine = ["hyperfine", "--shell=none", "--style=none", "--warmup", str(warmup),
                     "--runs", str(runs), "--prepare", cleanup, "--export-json", export]
        hyperfine += [" ".join(shlex.quote(word) for word in command) for _, command, _, _ in order]
        run(hyperfine, work)
        with open(export) as file:
            results = json.load(file)["results"]
        for (name, _, _, _), result in zip(order, results):
            times[name].extend(result["times"])
    remove_outputs(work, commands)
    return {name: statistics.median(values) for name, values in times.items()}


def machine():
    model = platform.processor() or platform.machine()
    try:
        with open("/proc/cpuinfo") as cpuinfo:
            for line in cpuinfo:
                if line.startswith("model name"):
                    model = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    return f"{model}, {os.cpu_count()} cores, Linux {platform.release()}"


def versions():
    """The Debian versions of the programs compared, where dpkg knows them."""
    packages = ["coreutils", "xdelta3", "bsdiff"]
    result = subprocess.run(["dpkg-query", "-W", "-f", "${Package} ${Version}\\n"] + packages,
                            capture_output=True, text=True)
    return ", ".join(result.stdout.split("\n")[:-1]) if result.returncode == 0 else "unknown"


def table(counts, medians, runs_text):
    lines = [
        f"Measured on {machine()}; {runs_text}; packages: {versions()}.",
        "",
        "| command | instructions | × cp | median wall time | × cp |",
        "|---|---:|---:|---:|---:|",
    ]
    for name in counts:
        lines.append(f"| `{name}` | {counts[name]:,} | {counts[name] / counts['cp']:.2f} "
                     f"| {medians[name] * 1000:.2f} ms | {medians[name] / medians['cp']:.2f} |")
    return "\n".join(lines)


def targets(counts, medians):
    lines = []
    instructions = counts["zor2remap"] / counts["cp"]
    wall = medians["zor2remap"] / medians["cp"]
    below = all(counts["zor2remap"] < counts[name] for name in ("xdelta3 -d", "bspatch"))
    lines.append(f"instructions: {instructions:.2f} × cp (target at most "
                 f"{TARGETS['instructions']}): {'met' if instructions <= TARGETS['instructions'] else 'missed'}")
    lines.append(f"instructions below both patchers: {'met' if below else 'missed'}")
    lines.append(f"wall time: {wall:.2f} × cp (target at most {TARGETS['wall time']}): "
                 f"{'met' if wall <= TARGETS['wall time'] else 'missed'}")
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", default=os.path.join(REPO, "build/release/zor2remap/zor2remap"))
    parser.add_argument("--quick", action="store_true", help="few runs, for CI")
    parser.add_argument("--markdown", help="also write the table to this file")
    args = parser.parse_args()
    program = os.path.abspath(args.program)
    if not os.access(program, os.X_OK):
        fail(f"no program at {program}: build the release preset first")

    rounds, runs, warmup = (1, 3, 1) if args.quick else (10, 50, 10)
    with tempfile.TemporaryDirectory(prefix="zorremap-bench-") as work:
        commands = prepare(work, program)
        check_outputs(work, commands)
        counts = count_instructions(work, commands)
        medians = time_runs(work, commands, rounds, runs, warmup)
    runs_text = (f"wall time: median of {rounds * runs} runs each, in {rounds} interleaved "
                 f"rounds of hyperfine after {warmup} warm-up runs")
    report = table(counts, medians, runs_text)
    print(report)
    print()
    print(targets(counts, medians))
    if args.markdown:
        with open(args.markdown, "w") as file:
            file.write(report + "\n")


if __name__ == "__main__":
    main()
