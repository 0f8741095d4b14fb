#!/usr/bin/env python3
"""The command folders are layered: a file includes only headers of its own folder and of the
folders its library links (directly or through another), and the links form no circle."""
import glob, os, re, sys

root = sys.argv[1] if len(sys.argv) > 1 else '.'
commands = os.path.join(root, 'src', 'commands')
folder_of_target, links = {}, {}
for cmake in glob.glob(os.path.join(commands, '*', 'CMakeLists.txt')):
    folder = os.path.basename(os.path.dirname(cmake))
    text = open(cmake).read()
    target = re.search(r'add_library\((\w+)', text).group(1)
    folder_of_target[target] = folder
    links[folder] = re.search(r'target_link_libraries\(\w+ PUBLIC ([^)]*)\)', text).group(1).split()
below = {f: {folder_of_target[t] for t in ts if t in folder_of_target} for f, ts in links.items()}

def reachable(folder, seen=()):
    if folder in seen:
        sys.exit('the command libraries link in a circle: ' + ' -> '.join(seen + (folder,)))
    out = set()
    for lower in below[folder]:
        out |= {lower} | reachable(lower, seen + (folder,))
    return out

faults = []
flat = [p for p in glob.glob(os.path.join(commands, '*.h')) + glob.glob(os.path.join(commands, '*.cpp'))
        if not os.path.basename(p).startswith('all_commands')]
faults += ['%s: a command file belongs in a subject folder' % p for p in flat]
for folder in below:
    allowed = reachable(folder) | {folder}
    for path in glob.glob(os.path.join(commands, folder, '*.[hc]*')):
        for n, line in enumerate(open(path), 1):
            m = re.match(r'#include "commands/(\w+)/', line)
            if m and m.group(1) not in allowed:
                faults.append('%s:%d: includes commands/%s, which %s does not link' % (path, n, m.group(1), folder))
print('\n'.join(faults) or 'every include points down: %d folders' % len(below))
sys.exit(1 if faults else 0)
