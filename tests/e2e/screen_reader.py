#!/usr/bin/env python3
"""Follows one running program as a screen reader does, over the AT-SPI bus.

Usage: screen_reader.py PID

Prints "ready" once it listens. From then on it prints a line for every object of that program
that gains the focus, and for every window of it that becomes active, as a reader announces
them:

    focus<TAB>role<TAB>name
    active<TAB>role<TAB>name

and answers commands read from standard input, one per line:

    window    the objects of the window that holds the focused object (for a pop-up menu, the
              menu), read from the top down as a reader reads them, one per line as
              "depth<TAB>role<TAB>name<TAB>states", then "end"
    active    the same for the window last announced as active
    menu      the same for the pop-up menu of the menu entry that last had the focus
    focus     the focused object again, or "focus<TAB><TAB>" when none has the focus yet

The contents of web documents are left out: the pages are read by other tests."""
import sys

import pyatspi
from gi.repository import GLib

MAX_OBJECTS = 5000
WINDOW_ROLES = {"frame", "dialog", "window", "alert", "file chooser"}
MENU_ROLES = {"menu", "popup menu"}
DOCUMENT_ROLES = {"document web", "document frame"}
STATES = {
    pyatspi.STATE_FOCUSED: "focused",
    pyatspi.STATE_FOCUSABLE: "focusable",
    pyatspi.STATE_SHOWING: "showing",
    pyatspi.STATE_ENABLED: "enabled",
}


class Reader:
    def __init__(self, pid):
        self.pid = pid
        self.focused = None
        self.active = None
        self.menu = None

    def ours(self, obj):
        try:
            return obj.get_application().get_process_id() == self.pid
        except Exception:
            return False

    def on_focus(self, event):
        if not event.detail1 or not self.ours(event.source):
            return
        self.focused = event.source
        try:
            parent = event.source.parent
            if parent is not None and parent.getRoleName() in MENU_ROLES:
                self.menu = parent
        except Exception:
            pass
        self.say_focus()

    def on_activate(self, event):
        if not self.ours(event.source):
            return
        self.active = event.source
        try:
            say("active\t%s\t%s" % (self.active.getRoleName(), clean(self.active.name)))
        except Exception:
            pass

    def say_focus(self):
        role, name = "", ""
        if self.focused is not None:
            try:
                role, name = self.focused.getRoleName(), self.focused.name
            except Exception:
                pass
        say("focus\t%s\t%s" % (role, clean(name)))

    def window(self):
        """The window, or the pop-up menu, that holds the focused object."""
        obj, menu = self.focused, None
        while obj is not None:
            try:
                role = obj.getRoleName()
                parent = obj.parent
            except Exception:
                return None
            if role in MENU_ROLES and menu is None:
                menu = obj
            if role in WINDOW_ROLES:
                # A menu inside a window is a pop-up of its menu bar or of the page: read the
                # menu, as the reader does while it is open.
                return menu if menu is not None else obj
            if parent is None or parent.getRoleName() == "application":
                return menu if menu is not None else obj
            obj = parent
        return None

    def focused_menu(self):
        """The menu that holds the focused entry, asked afresh: a menu just opened may not have
        been known as the entry's parent when its focus was announced."""
        try:
            if self.focused is not None:
                # The toolkit hands the ids of a closed menu's entries to the next menu's: what
                # the reader remembers of them is stale.
                self.focused.clear_cache()
            parent = self.focused.parent if self.focused is not None else None
            if parent is not None and parent.getRoleName() in MENU_ROLES:
                return parent
        except Exception:
            pass
        return self.menu

    def dump_window(self, top):
        out = []
        if top is not None:
            walk(top, 0, out, [0])
        say("\n".join(out + ["end"]))

    def on_command(self, source, _condition):
        line = source.readline()
        if not line:
            pyatspi.Registry.stop()
            return False
        command = line.strip()
        if command == "window":
            self.dump_window(self.window())
        elif command == "active":
            self.dump_window(self.active)
        elif command == "menu":
            self.dump_window(self.focused_menu())
        elif command == "focus":
            self.say_focus()
        return True


def clean(text):
    return " ".join((text or "").split())


def states_of(obj):
    try:
        state = obj.getState()
        return ",".join(name for key, name in STATES.items() if state.contains(key))
    except Exception:
        return ""


def walk(obj, depth, out, count):
    if obj is None or count[0] >= MAX_OBJECTS:
        return
    count[0] += 1
    try:
        role = obj.getRoleName()
        name = obj.name
        children = obj.childCount
    except Exception:
        return
    out.append("%d\t%s\t%s\t%s" % (depth, role, clean(name), states_of(obj)))
    if role in DOCUMENT_ROLES:
        return
    for i in range(children):
        try:
            child = obj.getChildAtIndex(i)
        except Exception:
            continue
        walk(child, depth + 1, out, count)


def say(text):
    sys.stdout.write(text + "\n")
    sys.stdout.flush()


def main():
    reader = Reader(int(sys.argv[1]))
    pyatspi.Registry.registerEventListener(reader.on_focus, "object:state-changed:focused")
    pyatspi.Registry.registerEventListener(reader.on_activate, "window:activate")
    GLib.io_add_watch(sys.stdin, GLib.IO_IN | GLib.IO_HUP, reader.on_command)
    GLib.idle_add(lambda: say("ready") and False)
    pyatspi.Registry.start()
    return 0


if __name__ == "__main__":
    sys.exit(main())
