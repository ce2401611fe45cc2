"""Checks docs/vek-cli-json.md against the real output of vek-cli.

For every command the page documents it runs the example commands of the
page (and a few cases of its own for fields that only some inputs bring) and
checks that
  - each output is one line of JSON that begins with schema_version,
  - every field of the output is in the command's table with the type the
    table gives (a renamed or added field fails),
  - every field of the table appears in some output (a dropped or renamed
    field fails),
  - no string holds a CR or a line that ends in blanks,
  - the excerpt shown after the examples is a faithful part of the first
    example's output: its fields and values are the output's, its arrays a
    beginning of the output's arrays.
Then it runs the examples of the exit-status table and checks their status
and their one-line message.

Usage: python3 json_docs.py PAGE VEK_CLI
"""

import json
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile

failures = []


def fail(message):
    failures.append(message)
    print("FAIL: " + message)


TYPE_OF = {dict: "object", list: "array", str: "string", bool: "boolean", type(None): "null"}


def json_type(value):
    if isinstance(value, bool):
        return "boolean"
    if isinstance(value, int):
        return "integer"
    if isinstance(value, float):
        return "number"
    return TYPE_OF[type(value)]


def type_fits(actual, documented):
    return actual in documented or (actual == "integer" and "number" in documented)


def code_spans(cell):
    return re.findall(r"`([^`]*)`", cell)


def parse_page(path):
    """Sections by command: examples, the excerpt and the table of fields;
    the rows of the exit-status table."""
    sections = {}
    exit_rows = []
    current = None
    block = None
    block_lines = []
    for line in open(path, encoding="utf-8"):
        line = line.rstrip("\n")
        if block is not None:
            if line.startswith("```"):
                if block == "sh" and current:
                    for l in block_lines:
                        if l.startswith("vek-cli "):
                            current["examples"].append(shlex.split(l)[1:])
                elif block == "json" and current and current["excerpt"] is None:
                    current["excerpt"] = "\n".join(block_lines)
                block = None
            else:
                block_lines.append(line)
            continue
        if line.startswith("```"):
            block = line[3:].strip()
            block_lines = []
            continue
        if line.startswith("## "):
            title = line[3:].strip()
            current = None
            if re.fullmatch(r"[a-z]+", title):
                current = sections.setdefault(
                    title, {"examples": [], "excerpt": None, "fields": {}})
            in_exit = title == "Exit status"
            continue
        if not line.startswith("|") or line.startswith("|---"):
            continue
        cells = [c.strip() for c in line.strip("|").split("|")]
        if current and len(cells) == 4 and code_spans(cells[0]):
            field = code_spans(cells[0])[0]
            types = {t.strip() for t in cells[1].split(" or ")}
            if field in current["fields"]:
                fail("%s: field %s listed twice" % (path, field))
            current["fields"][field] = types
        elif current is None and in_exit and len(cells) == 4 and cells[0].isdigit():
            exit_rows.append((int(cells[0]), cells[1], code_spans(cells[3])))
    return sections, exit_rows


def walk(value, path, seen, where):
    seen.setdefault(path, set()).add(json_type(value))
    if isinstance(value, str):
        if "\r" in value:
            fail("%s: %s holds a CR" % (where, path))
        for line in value.split("\n"):
            if line != line.rstrip(" \t"):
                fail("%s: %s has a line ending in blanks: %r" % (where, path, line))
    elif isinstance(value, dict):
        for key, item in value.items():
            walk(item, path + "." + key if path else key, seen, where)
    elif isinstance(value, list):
        for item in value:
            walk(item, path + "[]", seen, where)


def part_of(excerpt, output, path=""):
    """Why the excerpt is not a part of the output, or None."""
    if isinstance(excerpt, dict):
        if not isinstance(output, dict):
            return "%s is no object in the output" % path
        for key, item in excerpt.items():
            if key not in output:
                return "%s.%s is not in the output" % (path, key)
            why = part_of(item, output[key], path + "." + key)
            if why:
                return why
        return None
    if isinstance(excerpt, list):
        if not isinstance(output, list) or len(excerpt) > len(output):
            return "%s: the output has no such array" % path
        for i, item in enumerate(excerpt):
            why = part_of(item, output[i], "%s[%d]" % (path, i))
            if why:
                return why
        return None
    if json_type(excerpt) != json_type(output) and not (
            isinstance(excerpt, (int, float)) and isinstance(output, (int, float))
            and not isinstance(excerpt, bool) and not isinstance(output, bool)):
        return "%s: %r in the page, %r in the output" % (path, excerpt, output)
    if excerpt != output:
        return "%s: %r in the page, %r in the output" % (path, excerpt, output)
    return None


def write_state_without_orbs(path):
    """A state file of natal aspects whose eight orbs are all 0: no aspect."""
    lines = [" 1 ", " 1 ", "2000", " 25 ", " 24 ", " 7 ", " 4 ", "1960", " 25 ", " 14 ",
             " 0 ", " 0 ", "", " 0 ", " 0 ",
             "#FALSE#", "#TRUE#", "#FALSE#", "#FALSE#", "#FALSE#", "#FALSE#",
             " 1 ", " 10 ", " 9 ", " 0 ", " 1 ", " 2 ", "#TRUE#", "#FALSE#", "#FALSE#",
             "#TRUE#", " 2 "]
    lines += ["0"] * 8
    lines += ["65535", "16711935", "255", "65280", "16776960", "16744576", "8421504"]
    lines += [" 0 ", " 1 ", " 2 ", " 2 "]
    with open(path, "w", newline="") as f:
        f.write("".join(l + "\r\n" for l in lines))


def main():
    page, cli = sys.argv[1], os.path.abspath(sys.argv[2])
    sections, exit_rows = parse_page(page)
    expected = {"positions", "compute", "durations", "report", "find", "transits", "places", "zones"}
    if set(sections) != expected:
        fail("the page documents %s, expected %s" % (sorted(sections), sorted(expected)))

    work = tempfile.mkdtemp()
    try:
        env = dict(os.environ, LC_ALL="C", TZ="UTC", HOME=work, XDG_CONFIG_HOME=work,
                   VEK_CONFIG_DIR=work)
        env.pop("VEK_DATA_DIR", None)
        bin_dir = os.path.join(work, "bin")
        os.mkdir(bin_dir)
        os.symlink(cli, os.path.join(bin_dir, "vek-cli"))
        env["PATH"] = bin_dir + os.pathsep + env.get("PATH", "")

        # Cases of the test's own: fields only some inputs bring.
        write_state_without_orbs(os.path.join(work, "no-orbs.vek"))
        extra = {
            "durations": [["durations", "--state", "no-orbs.vek", "--mode", "world", "--json"]],
            "report": [["report", "--state", "no-orbs.vek", "--mode", "natal1", "--json"]],
            "compute": [["compute", "--mode", "world", "--world", "1599-12-31T12:00Z", "--json"]],
        }

        for command, section in sorted(sections.items()):
            if not section["examples"]:
                fail("%s: no example" % command)
                continue
            seen = {}
            first_output = None
            for args in section["examples"] + extra.get(command, []):
                where = "vek-cli " + " ".join(args)
                if args[0] != command:
                    fail("%s: example of another command in its section" % where)
                r = subprocess.run([cli] + args, cwd=work, env=env, capture_output=True)
                if r.returncode != 0:
                    fail("%s exited %d: %s" % (where, r.returncode, r.stderr.decode()))
                    continue
                text = r.stdout.decode("utf-8")
                if text.count("\n") != 1 or not text.endswith("\n"):
                    fail("%s: not one line" % where)
                try:
                    doc = json.loads(text)
                except ValueError as e:
                    fail("%s: no JSON: %s" % (where, e))
                    continue
                if first_output is None:
                    first_output = doc
                if not isinstance(doc, dict) or list(doc)[:1] != ["schema_version"]:
                    fail("%s: does not begin with schema_version" % where)
                elif doc["schema_version"] != 1:
                    fail("%s: schema_version %r" % (where, doc["schema_version"]))
                walk(doc, "", seen, where)
            seen.pop("", None)
            fields = section["fields"]
            for path, types in sorted(seen.items()):
                if path.endswith("[]") and types == {"object"} and path not in fields:
                    continue  # an entry of an array: its fields are listed
                if path not in fields:
                    fail("%s: field %s (%s) is not on the page" % (command, path,
                                                                  "/".join(sorted(types))))
                    continue
                for t in types:
                    if not type_fits(t, fields[path]):
                        fail("%s: %s is %s, the page says %s" % (
                            command, path, t, " or ".join(sorted(fields[path]))))
            for path in fields:
                if path not in seen:
                    fail("%s: field %s of the page is in no output" % (command, path))
            if section["excerpt"] is None:
                fail("%s: no example output" % command)
            elif first_output is not None:
                try:
                    why = part_of(json.loads(section["excerpt"]), first_output)
                except ValueError as e:
                    why = "the example output is no JSON: %s" % e
                if why:
                    fail("%s: example output: %s" % (command, why))

        # The exit-status table.
        statuses = {}
        for status, kind, examples in exit_rows:
            statuses[kind] = status
            for example in examples:
                r = subprocess.run(["bash", "-c", example], cwd=work, env=env,
                                   capture_output=True)
                if r.returncode != status:
                    fail("%s exited %d, the page says %d (%s): %s" % (
                        example, r.returncode, status, kind, r.stderr.decode()))
                lines = r.stderr.decode().splitlines()
                if status != 0 and len(lines) != 1:
                    fail("%s: expected one line on stderr, got %r" % (example, lines))
        for kind in ("usage", "input", "input file", "data file", "ephemeris", "output file"):
            if kind not in statuses:
                fail("the exit-status table has no row for %s" % kind)
        # The Pluto table missing while the program text is there.
        if "ephemeris" in statuses:
            data = os.path.join(work, "data")
            os.mkdir(data)
            shutil.copy(os.path.join(os.path.dirname(cli), "vek.dat"), data)
            r = subprocess.run([cli, "positions", "--at", "2000-01-01T12:00Z"], cwd=work,
                               env=dict(env, VEK_DATA_DIR=data), capture_output=True)
            if r.returncode != statuses["ephemeris"] or b"pluto.slx" not in r.stderr:
                fail("without pluto.slx: exit %d, the page says %d: %s" % (
                    r.returncode, statuses["ephemeris"], r.stderr.decode()))
    finally:
        shutil.rmtree(work)

    if failures:
        print("json docs: %d check(s) failed" % len(failures))
        return 1
    print("json docs: all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
