#!/usr/bin/env python3
"""Runs the script checker on every case of a case file and compares what it prints.

    script_cases.py ZKPARSE CASE-FILE [RUNNER]

RUNNER runs the checker when it is a program of another system (Wine, for zkparse.exe). The case
files' format: script_cases/README.md.
"""
import os
import shlex
import subprocess
import sys
import tempfile


class CaseFileError(Exception):
    pass


def markdown_cases(path, text):
    """The lines of a Markdown file as a case file's, each line keeping its number."""
    cases, heading, inside = [], "", False
    for number, line in enumerate(text, 1):
        if line.startswith("```") and "zk" in line and line != "```zk":
            raise CaseFileError("%s:%d: a zk block's fence is \"```zk\"" % (path, number))
        if line.startswith("#") and not inside:
            heading = line.lstrip("# ")
        inside = line == "```zk" or inside and line != "```"
        cases.append(("=== " + heading) if line == "```zk" else line if inside else "#")
    return cases


def read_cases(path):
    cases, lines = [], None  # lines: where the next line goes; None: no line may come
    with open(path, encoding="latin-1", newline="\n") as f:
        text = f.read().split("\n")
    if path.endswith(".md"):
        text = markdown_cases(path, text)

    def wrong(number, what):
        return CaseFileError("%s:%d: %s" % (path, number, what))

    for number, line in enumerate(text, 1):
        if line.startswith("#"):
            continue
        if line.startswith("=== "):
            cases.append(dict(title=line[4:], line=number, files=[("script.txt", [], "\n")],
                              options="--tree", output=[], exit=0))
            lines = cases[-1]["files"][0][1]
        elif not cases:
            if line:
                raise wrong(number, "text before the first case")
        elif not line.startswith("--- "):
            if lines is None:
                raise wrong(number, "a line where none may come (after \"--- options\")")
            lines.append(line)
        else:
            case, words = cases[-1], line[4:].split()
            if words[0] == "output":
                if words[1:] and (len(words) != 3 or words[1] != "exit" or
                                  not words[2].lstrip("-").isdigit()):
                    raise wrong(number, "\"--- output\" takes \"exit N\" or nothing")
                lines = case["output"]
                case["exit"] = int(words[2]) if words[1:] else 0
            elif words[0] == "options":
                case["options"], lines = line[len("--- options "):], None
            else:
                if words[1:] not in ([], ["crlf"]):
                    raise wrong(number, "a file's name takes \"crlf\" or nothing")
                if len(case["files"]) == 1 and not case["files"][0][1]:
                    case["files"].clear()
                case["files"].append((words[0], [], "\r\n" if words[1:] else "\n"))
                lines = case["files"][-1][1]
    if not cases:
        raise CaseFileError("%s: no cases" % path)
    return cases


def check(tool, case):
    """What the checker printed and its exit status, in a folder of the case's files."""
    with tempfile.TemporaryDirectory() as folder:
        for name, lines, end in case["files"]:
            path = os.path.join(folder, name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w", encoding="latin-1", newline="") as f:
                f.write(end.join(lines))
        done = subprocess.run(tool + shlex.split(case["options"]) + [case["files"][0][0]],
                              cwd=folder, capture_output=True, env=SANITIZED)
    errors = done.stderr.decode("latin-1")
    if done.returncode == SANITIZER_STATUS or "Sanitizer" in errors or "runtime error:" in errors:
        return "a sanitizer reported:\n" + errors, done.returncode
    return done.stdout.decode("latin-1"), done.returncode


def printed(lines, windows):
    """The bytes that the output lines of a case stand for."""
    lines = list(lines)
    while lines and not lines[-1]:
        lines.pop()
    ends = {"\\r": "\r\n", "\\n": "\n"}
    return "".join(line[:-2] + ends[line[-2:]] if line[-2:] in ends else
                   line + ("\r\n" if windows else "\n") for line in lines)


def shown(text):
    """Output with every line end visible."""
    return text.replace("\r", "\\r").replace("\n", "\\n\n")


# A sanitizer's finding ends the checker with a status of its own, never one the checker gives.
SANITIZER_STATUS = 86
SANITIZED = dict(os.environ)
for variable in ("ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"):
    SANITIZED[variable] = ":".join(filter(None, [os.environ.get(variable),
                                                 "exitcode=%d" % SANITIZER_STATUS]))


def main():
    tool, path = sys.argv[3:] + [os.path.abspath(sys.argv[1])], sys.argv[2]
    windows = tool[-1].lower().endswith(".exe")
    try:
        cases = read_cases(path)
    except CaseFileError as error:
        print(error)
        return 1
    failed = 0
    for case in cases:
        expected = (printed(case["output"], windows), case["exit"])
        got = check(tool, case)
        if got != expected:
            failed += 1
            print("%s:%d: %s\n--- expected (exit %d)\n%s\n--- printed (exit %d)\n%s\n" %
                  (path, case["line"], case["title"], expected[1], shown(expected[0]), got[1],
                   shown(got[0])))
    print("%d of %d cases print what they should" % (len(cases) - failed, len(cases)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
