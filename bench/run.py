#!/usr/bin/env python3
"""Measures the calculator beside the tools people use and prints one table.

    bench/run.py [--operations N] [--runs N]

Builds the "bench" preset, then measures, as medians over several runs:
batch throughput (luling-calc, the floor program, bc), start-up (luling-calc,
bc, /bin/true), one screen's cost (in-process clear and wait against a
spawned clear(1)) and peak resident memory.
"""
import argparse
import hashlib
import json
import os
import random
import re
import statistics
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, 'build', 'bench')
INT_MIN, INT_MAX = -2**31, 2**31 - 1


def sh(*command, **kwargs):
    return subprocess.run(command, check=True, text=True, **kwargs)


def build():
    sh(os.path.join(ROOT, 'tools', 'setup.sh'), 'cmake', 'ninja-build', 'g++', 'libbenchmark-dev', 'bc', 'strace')
    sh('cmake', '--preset', 'bench', cwd=ROOT, stdout=subprocess.DEVNULL)
    sh('cmake', '--build', '--preset', 'bench', cwd=ROOT, stdout=subprocess.DEVNULL)


def workload(operations, seed=20261208):
    """Input for `operations` screens (all four codes, operands across the
    whole range, some chains of screens), and the same arithmetic for bc."""
    r = random.Random(seed)
    numbers, expressions = [], []
    done = 0
    while done < operations:
        a = r.randint(1, 4)
        numbers.append(a)
        for code in (1, 2, 3, 4):
            if a != code or done == operations:
                continue
            if code < 4 and done + 1 < operations and r.random() < 0.15:
                first = r.randint(code + 1, 4)  # leads on to a later screen
            else:
                first = r.randint(INT_MIN, INT_MAX)
            second = r.randint(INT_MIN, INT_MAX) or 1
            numbers += [first, second]
            expressions.append({1: '%d+%d', 2: '%d-%d', 3: '%d/%d;%d%%%d', 4: '%d*%d'}[code].replace('%d', '(%d)')
                               % ((first, second) * (2 if code == 3 else 1)))
            a = first
            done += 1
    return ''.join('%d\n' % n for n in numbers), ''.join(e + '\n' for e in expressions)


def timed(runs, input_path, *command, memory=False):
    """Median microseconds of a run, and the peak KiB if asked."""
    env = dict(os.environ, **({'SPAWN_TIMER_MEMORY': '1'} if memory else {}))
    out = sh(os.path.join(BUILD, 'bench', 'spawn_timer'), str(runs), input_path, *command,
             env=env, capture_output=True).stdout.split()
    return float(out[0]), int(out[1])


def write_calls(input_path, program):
    """How many write(2) calls the program makes on the input (strace -c -f)."""
    with open(input_path) as stdin:
        trace = subprocess.run(['strace', '-c', '-f', '-e', 'trace=write', program], stdin=stdin,
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, check=True).stderr
    match = re.search(r'^\s*[\d.]+\s+[\d.]+\s+\d+\s+(\d+)(?:\s+\d+)?\s+write$', trace, re.M)
    return int(match.group(1)) if match else None


def digest(input_path, program):
    with open(input_path) as stdin:
        return hashlib.sha256(subprocess.run([program], stdin=stdin, capture_output=True, check=True).stdout).hexdigest()


def screen_costs():
    # The screens go to standard output, so the figures go to a file.
    with tempfile.NamedTemporaryFile(suffix='.json') as report:
        sh(os.path.join(BUILD, 'bench', 'screen_bench'), '--benchmark_out_format=json', '--benchmark_out=' + report.name,
           '--benchmark_repetitions=5', '--benchmark_report_aggregates_only=true', env=dict(os.environ, TERM='xterm'),
           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
        results = json.load(report)
    medians = {b['run_name']: b['real_time'] for b in results['benchmarks'] if b['aggregate_name'] == 'median'}
    return medians['screen_in_process'], medians['screen_with_spawned_clear']


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--operations', type=int, default=200000)
    parser.add_argument('--runs', type=int, default=9)
    args = parser.parse_args()
    build()
    calc = os.path.join(BUILD, 'luling-calc')
    floor = os.path.join(BUILD, 'bench', 'floor')
    bc = '/usr/bin/bc'
    with tempfile.TemporaryDirectory() as tmp:
        numbers, expressions = workload(args.operations)
        sample = os.path.join(tmp, 'sample.txt')  # a tenth, for the slow strace count
        with open(sample, 'w') as f:
            f.write(workload(args.operations // 10)[0])
        batch = os.path.join(tmp, 'batch.txt')
        exprs = os.path.join(tmp, 'bc.txt')
        long_line = os.path.join(tmp, 'long-line.txt')
        with open(batch, 'w') as f:
            f.write(numbers)
        with open(exprs, 'w') as f:
            f.write(expressions)
        with open(long_line, 'w') as f:
            f.write('1\n' + '7' * (64 << 20) + '\n5\n6\n')
        if digest(batch, calc) != digest(batch, floor):
            sys.exit('the floor program does not write what luling-calc writes')
        calls_calc, calls_floor = write_calls(sample, calc), write_calls(sample, floor)
        if calls_calc != calls_floor:
            sys.exit('write calls differ: luling-calc %s, floor %s' % (calls_calc, calls_floor))

        _, peak_batch = timed(1, batch, calc, memory=True)
        # Interleaved, so that a slow spell of the machine hits both alike.
        calc_times, floor_times = [], []
        for _ in range(args.runs):
            calc_times.append(timed(1, batch, calc)[0])
            floor_times.append(timed(1, batch, floor)[0])
        t_calc, t_floor = statistics.median(calc_times), statistics.median(floor_times)
        t_bc, _ = timed(args.runs, exprs, bc, '-q')
        _, peak_long = timed(1, long_line, calc, memory=True)
        s_calc, _ = timed(300, '/dev/null', calc)
        s_bc, _ = timed(300, '/dev/null', bc, '-q')
        s_true, _ = timed(300, '/dev/null', '/bin/true')
    in_process, spawned = screen_costs()

    ops = args.operations
    rows = [
        ('batch: %d operations, output to /dev/null' % ops, '', ''),
        ('  luling-calc', '%.3f s' % (t_calc / 1e6), '%.0f ops/s' % (ops / t_calc * 1e6)),
        ('  floor (same bytes, same write calls)', '%.3f s' % (t_floor / 1e6), '%.0f ops/s' % (ops / t_floor * 1e6)),
        ('  bc -q (same arithmetic as expressions)', '%.3f s' % (t_bc / 1e6), '%.0f ops/s' % (ops / t_bc * 1e6)),
        ('  luling-calc / floor', '%.2fx' % (t_calc / t_floor), 'goal <= 1.15x: %s' % ('met' if t_calc <= 1.15 * t_floor else 'MISSED')),
        ('  luling-calc / bc', '%.2fx' % (t_calc / t_bc), '(bc buffers its output)'),
        ('  write calls for %d operations' % (ops // 10), '%d' % calls_calc, 'luling-calc and floor alike (strace -c -f)'),
        ('start-up: empty input', '', ''),
        ('  luling-calc', '%.0f us' % s_calc, ''),
        ('  bc -q', '%.0f us' % s_bc, ''),
        ('  /bin/true', '%.0f us' % s_true, ''),
        ('  luling-calc / true', '%.2fx' % (s_calc / s_true), 'goal <= 1.5x: %s' % ('met' if s_calc <= 1.5 * s_true else 'MISSED')),
        ('one screen (clear, texts, wait)', '', ''),
        ('  in-process clear and wait', '%.2f us' % (in_process / 1e3), ''),
        ('  clear(1) spawned by std::system', '%.0f us' % (spawned / 1e3), ''),
        ('  spawned / in-process', '%.0fx' % (spawned / in_process), 'goal >= 100x: %s' % ('met' if spawned >= 100 * in_process else 'MISSED')),
        ('peak resident memory', '', ''),
        ('  batch run', '%d KiB' % peak_batch, 'goal < 4096 KiB: %s' % ('met' if peak_batch < 4096 else 'MISSED')),
        ('  one 64 MiB line', '%d KiB' % peak_long, 'goal < 4096 KiB: %s' % ('met' if peak_long < 4096 else 'MISSED')),
    ]
    width = max(len(r[0]) for r in rows)
    for name, value, note in rows:
        print('%-*s  %12s  %s' % (width, name, value, note))


if __name__ == '__main__':
    main()
