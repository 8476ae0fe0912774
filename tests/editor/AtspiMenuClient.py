#!/usr/bin/env python3
"""A screen reader's side of the menu test: finds the plug-in's open menu on
the accessibility bus, reports its items, follows the selection that the test
moves with the keyboard, then chooses an item through its action.

Usage: AtspiMenuClient.py RESULT_FILE READY_FILE FOLLOW_NAME ACT_NAME
The result has one line per finding: what|name|role|states (space-separated)."""
import sys
import time

import pyatspi

out_path, ready_path, follow, act = sys.argv[1:5]


def wait_for(what, timeout=10.0):
    end = time.time() + timeout
    while time.time() < end:
        got = what()
        if got:
            return got
        time.sleep(0.05)
    raise SystemExit("timed out waiting for " + what.__name__)


def open_menu():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Kestrelphon":
            app.clear_cache()
            if app.childCount:
                return app[0]
    return None


def states(acc):
    acc.clear_cache()
    return sorted(getattr(s, "value_nick", str(s)) for s in acc.getState().getStates())


def describe(what, acc):
    return "|".join([what, acc.name, acc.getRoleName(), " ".join(states(acc))])


def items(menu):
    menu.clear_cache()
    return [menu[i] for i in range(menu.childCount)]


menu = wait_for(open_menu)
result = [describe("menu", menu)] + [describe("item", i) for i in items(menu)]
with open(ready_path, "w") as f:
    f.write("ready\n")


def selected_item():
    for item in items(menu):
        if "selected" in states(item):
            return item.name
    return None


def followed():
    return selected_item() == follow


wait_for(followed)
result.append("followed|" + selected_item())
target = next(i for i in items(menu) if i.name == act)
action = target.queryAction()
result.append("action|%s|%s|%s" % (action.getName(0), action.getKeyBinding(0),
                                   action.doAction(0)))
with open(out_path, "w") as f:
    f.write("\n".join(result) + "\n")
