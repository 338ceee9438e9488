#!/usr/bin/env python3
"""Reads gcov's JSON for every count file in a build and prints, per source
file under the given folder, the lines run of the lines that can run.
A line counts as run when any object that compiled it ran it."""
import json, os, subprocess, sys
from collections import defaultdict

build, root = (os.path.realpath(p) for p in sys.argv[1:3])
lines = defaultdict(dict)
for folder, _, names in os.walk(build):
    for name in names:
        if not name.endswith('.gcda'):
            continue
        out = subprocess.run(['gcov', '--json-format', '--stdout', os.path.join(folder, name)],
                             cwd=folder, capture_output=True, check=True).stdout
        for doc in out.splitlines():
            if not doc.strip():
                continue
            report = json.loads(doc)
            for entry in report['files']:
                # the cache compiles with paths relative to the build's folder
                path = os.path.realpath(os.path.join(report['current_working_directory'], entry['file']))
                if not path.startswith(root + os.sep):
                    continue
                seen = lines[path]
                for line in entry['lines']:
                    seen[line['line_number']] = seen.get(line['line_number'], 0) + line['count']
for path in sorted(p for p in lines if lines[p]):
    seen = lines[path]
    run = sum(1 for c in seen.values() if c > 0)
    print(f"{os.path.relpath(path, os.path.dirname(root)):<48} {run:>5}/{len(seen):<5} {100 * run / len(seen):5.1f}%")
