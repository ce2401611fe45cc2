#!/usr/bin/env bash
# Lists the functions of src/ longer than a limit (60 lines unless given),
# longest first, and fails when there is one. A function's length runs from
# the first line of its signature to its closing brace. The source is read
# as text (comments and string literals skipped, braces matched), which is
# enough for this code base's style and takes a second.
# Usage: tools/check-function-length.sh [LIMIT] [FOLDER]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
limit="${1:-60}"
folder="${2:-$root/src}"
exec python3 - "$limit" "$folder" <<'PY'
import os, re, sys

limit = int(sys.argv[1])
folder = sys.argv[2]

def blank_out(text):
    """Comments, string and character literals become blanks; line breaks stay."""
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith('//', i):
            j = text.find('\n', i)
            j = n if j < 0 else j
            out.append(' ' * (j - i)); i = j
        elif text.startswith('/*', i):
            j = text.find('*/', i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r'[^\n]', ' ', text[i:j])); i = j
        elif c == 'R' and text.startswith('R"', i):
            m = re.match(r'R"([^(\s]*)\(', text[i:])
            if m:
                end = text.find(')' + m.group(1) + '"', i)
                j = n if end < 0 else end + len(m.group(1)) + 2
                out.append('""' + re.sub(r'[^\n]', ' ', text[i + 2:j])); i = j
            else:
                out.append(c); i += 1
        elif c in '"\'':
            # A digit separator (1'000) is not a character literal.
            if c == "'" and i > 0 and text[i - 1].isalnum() and i + 1 < n and text[i + 1].isalnum():
                out.append(' '); i += 1; continue
            j = i + 1
            while j < n and text[j] != c and text[j] != '\n':
                j += 2 if text[j] == '\\' else 1
            out.append(c + ' ' * (min(j, n) - i - 1) + (c if j < n else '')); i = j + 1
        else:
            out.append(c); i += 1
    # Preprocessor lines are not code of a function's signature.
    return re.sub(r'(?m)^[ \t]*#.*$', lambda m: ' ' * len(m.group(0)), ''.join(out))

SCOPE = re.compile(r'\b(namespace|class|struct|union|enum)\b')
CONTROL = re.compile(r'^\s*(if|for|while|switch|catch|do|else|try)\b')

def functions(path):
    text = blank_out(open(path, encoding='utf-8', errors='replace').read())
    stack = []          # kinds of the open blocks: 'scope', 'function', 'other'
    header_start = 0    # where the text before the next brace starts
    paren = 0
    line = 1
    starts = []         # (line of the signature, name) of open functions
    for i, c in enumerate(text):
        if c == '\n':
            line += 1
        elif c == '(':
            paren += 1
        elif c == ')':
            paren = max(0, paren - 1)
        elif c in ';':
            if paren == 0: header_start = i + 1
        elif c == '{':
            inside_function = 'function' in stack
            header = text[header_start:i]
            kind = 'other'
            if not inside_function and paren == 0:
                if SCOPE.search(header) and ')' not in header.split('{')[-1].split(':')[0]:
                    kind = 'scope'
                elif ')' in header and '=' not in header.split('(')[0] and not CONTROL.match(header):
                    kind = 'function'
                elif header.strip() == '' or header.strip().startswith('extern'):
                    kind = 'scope'
            stack.append(kind)
            if kind == 'function':
                lead = len(header) - len(header.lstrip())
                first = line - header[lead:].count('\n')
                name = re.search(r'([~\w:]+(?:operator\S*)?)\s*\(', header)
                starts.append((first, name.group(1) if name else '?'))
            header_start = i + 1
        elif c == '}':
            kind = stack.pop() if stack else 'other'
            if kind == 'function':
                first, name = starts.pop()
                yield name, first, line
            if paren == 0: header_start = i + 1

found = []
for dirpath, _, files in os.walk(folder):
    for f in files:
        if f.endswith(('.cpp', '.h')):
            p = os.path.join(dirpath, f)
            for name, first, last in functions(p):
                length = last - first + 1
                if length > limit:
                    found.append((length, os.path.relpath(p, os.path.dirname(folder)), first, name))
for length, path, first, name in sorted(found, reverse=True):
    print(f'{length:5d}  {path}:{first}  {name}')
print(f'{len(found)} functions longer than {limit} lines')
sys.exit(1 if found else 0)
PY
