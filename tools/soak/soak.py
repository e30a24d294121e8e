#!/usr/bin/env python3
"""Soak run: plays the demo headless on the virtual clock with seeded random input and checks
that it survives: no crash, no hang, no failure in the log that the input did not cause, and
resident memory and pool use flat after the settling time.

The game can end on its own (an ending's END, a bad end, "ゲーム終了"): an orderly shutdown
before the input's end starts the game again, with the input of the next seed for the game
time still to play, until the hours are played. Game time and samples run on across the
restarts.

The game folder is copied to a scratch folder first (the play writes saves, the log and edited
files). noma is started with --headless --input <generated> --report <period>; its use lines
("noma use: clock ... rss ... pool ...") on standard error are the samples and the heartbeat:
a sample that does not come within the watchdog's wall time ends the run as hung.

Failures in the system's log: a line matching FAILURE_PATTERNS counts unless it also matches
INPUT_CAUSED (messages the random input provokes on purpose, such as a file name typed into
the editor that does not exist). Everything written to standard error other than the use lines
is a failure too (sanitizer reports, host errors).
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))

# Lines of the system's log that tell of a failure inside the system. The texts are in
# Shift-JIS in the log; they are matched as bytes.
FAILURE_PATTERNS = [
    rb"[Ee]rror", rb"ERROR", rb"NULL", rb"null", rb"miss\.", rb"Warning",
    "まずいです".encode("cp932"), "ﾒﾓﾘ".encode("cp932"), "失敗".encode("cp932"),
    "不正".encode("cp932"), "未使用番号".encode("cp932"), "削除しようとしています".encode("cp932"),
    "見つかりません".encode("cp932"), "メモリ不足".encode("cp932"),
]
# Failure-like lines the random input causes: the editor's answers to what was typed into its
# file and command lines, and the refusals of a full editor table.
INPUT_CAUSED = [
    "が見つかりません".encode("cp932"),            # a typed file name that does not exist
    "のﾌｧｲﾙ名が長すぎます".encode("cp932"),        # a typed file name over 40 bytes
    "これ以上テキストは編集できません".encode("cp932"),  # an eighth editor asked for
    "は編集中です".encode("cp932"),                # a file already open in another editor
    "テキストとして読めないので".encode("cp932"),  # saving a file that is not text
    rb"EditTask unknown command",                 # a typed command the editor does not know
    # Not the input's, but no failure either: the start screen closes its logo and title
    # windows while they are active, and the window tree says so on every start.
    rb"!!! DestroyWindow Warning !!!",
    # The window status listing ("WindowSTS" in the system menu) names every window, among
    # them the error dialog's window "ErrorDialog".
    rb"^\s*\S+\(\S+\)\s+Depth -?\d+:",
    # A menu draws all its items from the top; the game's side menu has 12 items in a window
    # 140 pixels high, so the item bars (2 pixels in) of the rows below it are refused.
    "WIN ERROR FillRectangle:指定描画位置\\(2/\\d+\\)".encode("cp932"),
]
# The log's line of an orderly shutdown.
SHUT_DOWN = "ShutDownEventを受け取りました".encode("cp932")
# "File open error! NAME for read" is the input's when the editor answers it with
# "NAMEが見つかりません" within the next lines; from anybody else it is a failure.
OPEN_ERROR = re.compile(rb"File open error! (.*) for read")
NOT_FOUND = "が見つかりません".encode("cp932")
# A tag the scenario passes on to the text effect (result 3 or 4 of the scan: colours, sizes,
# NoText) stays in the page, so its closing ">" is then met outside a tag and logged as
# "ERROR TAG>-...": that line is the system's own, not a failure.
TAG_ERROR = re.compile(rb"^ERROR TAG>-")
PASSED_ON_TAG = re.compile(rb"^ret exec_command\(\) [34] ")

USE_LINE = re.compile(r"noma use: clock (\d+) ms rss (\d+) kB pool (\d+) bytes (\d+) handles "
                      r"(\d+) used (\d+) active")


def log_failures(path, allowed):
    failures = []
    if not os.path.exists(path):
        return [b"(no log written)"]
    fail = [re.compile(p) for p in FAILURE_PATTERNS]
    ok = [re.compile(p) for p in allowed]
    with open(path, "rb") as f:
        lines = f.read().split(b"\n")
    for number, line in enumerate(lines, 1):
        if not any(p.search(line) for p in fail) or any(p.search(line) for p in ok):
            continue
        if TAG_ERROR.search(line) and number >= 2 and PASSED_ON_TAG.search(lines[number - 2]):
            continue
        m = OPEN_ERROR.search(line)
        if m and any(m.group(1) + NOT_FOUND in later for later in lines[number:number + 8]):
            continue
        failures.append(b"%d: %s" % (number, line.rstrip()))
    return failures


def play(a, game, script, env, offset_ms, started, allowance):
    """One process of the game on `script`; its samples' clocks are moved on by offset_ms."""
    cmd = [a.noma, "--data", game, "--headless", "--input", script, "--report", str(a.report)]
    print(f"[{a.label}] {' '.join(cmd)}", flush=True)
    proc = subprocess.Popen(cmd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    samples, other = [], []
    last_beat = [time.monotonic()]

    def read_stderr():
        for raw in proc.stderr:
            line = raw.decode("utf-8", "replace").rstrip("\n")
            m = USE_LINE.search(line)
            if m:
                # (clock ms, rss kB, pool live bytes, handles, data used, active bytes, wall s)
                samples.append((offset_ms + int(m.group(1)), int(m.group(2)), int(m.group(3)),
                                int(m.group(4)), int(m.group(5)), int(m.group(6)),
                                time.monotonic() - started))
                last_beat[0] = time.monotonic()
            else:
                other.append(line)

    reader = threading.Thread(target=read_stderr, daemon=True)
    reader.start()
    hung = False
    while proc.poll() is None:
        time.sleep(0.2)
        if time.monotonic() - last_beat[0] > allowance:
            hung = True
            proc.kill()
            break
    proc.wait()
    reader.join(timeout=10)
    log = os.path.join(game, "VavIDIZ.dat")
    shut_down = False
    if os.path.exists(log):
        with open(log, "rb") as f:
            shut_down = SHUT_DOWN in f.read()
    return {"samples": samples, "other": other, "hung": hung, "status": proc.returncode,
            "shut_down": shut_down}


def main():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--noma", default=os.path.join(ROOT, "build", "noma"))
    p.add_argument("--data", default=os.path.join(ROOT, "data", "demo"))
    p.add_argument("--hours", type=float, default=8.0, help="game hours (default 8)")
    p.add_argument("--seed", type=int, default=1)
    p.add_argument("--report", type=int, default=60, help="game seconds between samples")
    p.add_argument("--settle", type=float, default=None,
                   help="game minutes before memory must stay flat (default 60, or half of a "
                        "shorter run)")
    p.add_argument("--watchdog", type=float, default=1800.0,
                   help="wall seconds allowed per game hour (default 1800)")
    p.add_argument("--rss-slack", type=int, default=8192, help="kB of RSS growth allowed")
    p.add_argument("--pool-slack", type=int, default=1 << 20,
                   help="bytes of growth of the pool's records in use allowed")
    p.add_argument("--pool-limit", type=int, default=256,
                   help="MB the pool's data area may reach in all (removed records included)")
    p.add_argument("--keep", help="keep the scratch folder here")
    p.add_argument("--label", default="soak")
    a = p.parse_args()
    if a.settle is None:
        a.settle = min(60.0, a.hours * 30.0)

    if not os.path.exists(os.path.join(a.data, "TITLE.BMP")):
        print(f"[{a.label}] {a.data} has no TITLE.BMP: build the plain tree first (make build)")
        return 2
    scratch = a.keep or tempfile.mkdtemp(prefix="noma-soak-")
    game = os.path.join(scratch, "game")
    if os.path.exists(game):
        shutil.rmtree(game)
    shutil.copytree(a.data, game)
    env = dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy")
    env.setdefault("ASAN_OPTIONS", "detect_leaks=1:abort_on_error=1")
    # The leak checker's list of the suppressions it used is no report.
    env.setdefault("LSAN_OPTIONS", "print_suppressions=0")
    # A sample is due every `report` game seconds; allow the watchdog's share of it, and the
    # start-up, before the run counts as hung.
    allowance = a.watchdog * a.report / 3600.0 + 60.0
    end_ms = int(a.hours * 3600 * 1000)
    log = os.path.join(game, "VavIDIZ.dat")
    started = time.monotonic()
    samples, other, failures, problems = [], [], [], []
    offset_ms, runs = 0, 0
    while offset_ms < end_ms and not problems:
        runs += 1
        script = os.path.join(scratch, f"soak-{runs}.input")
        hours = (end_ms - offset_ms) / 3600000.0
        subprocess.run([sys.executable, os.path.join(HERE, "soak_input.py"), "--hours",
                        f"{hours:.6f}", "--seed", str(a.seed + runs - 1), "--out", script],
                       check=True)
        r = play(a, game, script, env, offset_ms, started, allowance)
        samples += r["samples"]
        other += r["other"]
        failures += log_failures(log, INPUT_CAUSED)
        if r["hung"]:
            problems.append(f"run {runs} hung: no sample for {allowance:.0f} s of wall time")
        elif r["status"] != 0:
            problems.append(f"run {runs}: exit status {r['status']}")
        last_ms = samples[-1][0] if samples else offset_ms
        if last_ms + a.report * 1000 >= end_ms:
            break
        if not r["shut_down"]:
            problems.append(f"run {runs} ended at {last_ms / 60000:.1f} game minutes without "
                            "an orderly shutdown")
        elif last_ms <= offset_ms:
            problems.append(f"run {runs} ended before its first sample")
        offset_ms = last_ms
    wall = time.monotonic() - started
    if other:
        problems.append(f"{len(other)} line(s) on stderr")
    if failures:
        problems.append(f"{len(failures)} failure line(s) in the log")

    settle_ms = a.settle * 60000
    after = [s for s in samples if s[0] >= settle_ms]
    print(f"[{a.label}] wall {wall:.0f} s for {a.hours} game hours "
          f"({wall / a.hours:.0f} s per game hour), {runs} run(s) of the game, "
          f"{len(samples)} samples")
    step = max(1, len(samples) // 12)
    print(f"[{a.label}] game min   rss kB  pool in use  pool live  handles  data used  wall s")
    for s in samples[::step] + ([samples[-1]] if samples and (len(samples) - 1) % step else []):
        print(f"[{a.label}] {s[0] / 60000:8.1f} {s[1]:8d} {s[5]:12d} {s[2]:10d} {s[3]:8d} "
              f"{s[4]:10d} {s[6]:7.0f}")
    if after:
        base, last = after[0], after[-1]
        rss_growth = max(s[1] for s in after) - base[1]
        use_growth = max(s[5] for s in after) - base[5]
        hours = max(1e-9, (last[0] - base[0]) / 3600000.0)
        print(f"[{a.label}] after {a.settle:g} game minutes: rss {base[1]} -> max "
              f"{max(s[1] for s in after)} kB (+{rss_growth}); pool in use {base[5]} -> max "
              f"{max(s[5] for s in after)} bytes (+{use_growth}); pool live (removed records "
              f"included) +{(last[2] - base[2]) / hours:.0f} bytes per game hour")
        if rss_growth > a.rss_slack:
            problems.append(f"RSS grew by {rss_growth} kB after settling")
        if use_growth > a.pool_slack:
            problems.append(f"pool in use grew by {use_growth} bytes after settling")
    else:
        problems.append("no samples after the settling time")
    if samples and samples[-1][4] > a.pool_limit << 20:
        problems.append(f"pool data area at {samples[-1][4]} bytes, over {a.pool_limit} MB")
    for line in other[:20]:
        print(f"[{a.label}] stderr: {line}")
    for line in failures[:20]:
        print(f"[{a.label}] log: {line.decode('cp932', 'replace')}")
    if problems:
        print(f"[{a.label}] FAILED: " + "; ".join(problems))
        print(f"[{a.label}] scratch folder kept: {scratch}")
        return 1
    print(f"[{a.label}] passed")
    if not a.keep:
        shutil.rmtree(scratch, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
