#!/usr/bin/env python3
"""Prints the accessibility tree of one running program as a screen reader reads it over the
AT-SPI bus: one line per object, "depth<TAB>role<TAB>name<TAB>text". Usage: accessible_tree.py PID
Exit status 2 when the program is not on the bus."""
import sys

import pyatspi

MAX_OBJECTS = 20000


def clean(text):
    return " ".join((text or "").split())


def text_of(obj):
    try:
        text = obj.queryText()
        return text.getText(0, text.characterCount)
    except (NotImplementedError, Exception):
        return ""


def walk(obj, depth, out, seen):
    if obj is None or len(seen) >= MAX_OBJECTS:
        return
    seen.append(obj)
    try:
        role = obj.getRoleName()
        name = obj.name
        count = obj.childCount
    except Exception:
        return
    out.append("%d\t%s\t%s\t%s" % (depth, role, clean(name), clean(text_of(obj))))
    for i in range(count):
        try:
            child = obj.getChildAtIndex(i)
        except Exception:
            continue
        walk(child, depth + 1, out, seen)


def main():
    pid = int(sys.argv[1])
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        try:
            if app is None or app.get_process_id() != pid:
                continue
        except Exception:
            continue
        out = []
        walk(app, 0, out, [])
        sys.stdout.write("\n".join(out) + "\n")
        return 0
    return 2


if __name__ == "__main__":
    sys.exit(main())
