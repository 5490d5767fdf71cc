#!/usr/bin/python3
"""What a screen reader sees of the running program, through AT-SPI.

  a11y_probe.py names          every focusable control on every page has a name
  a11y_probe.py chart          the History chart's days, walked by keyboard, are named
  a11y_probe.py captions       prints the page tabs' names, one a line
"""
import subprocess
import sys
import time

import pyatspi


def fail(text):
    print("FAIL: " + text, file=sys.stderr)
    sys.exit(1)


def application(timeout=15):
    end = time.time() + timeout
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and (app.name or "").lower() == "wirevane":
                return app
        time.sleep(0.2)
    fail("the program does not show on the accessibility bus")


def walk(node, depth=0):
    yield node
    if depth > 40:
        return
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def main_window(app):
    for node in walk(app):
        if node.getRoleName() == "page tab list":
            return node
    fail("no page tab list")


def states(node):
    return node.getState()


def shown_focusable(root):
    for node in walk(root):
        s = states(node)
        if s.contains(pyatspi.STATE_FOCUSABLE) and s.contains(pyatspi.STATE_SHOWING):
            yield node


def select_page(tabs, index):
    tabs.querySelection().selectChild(index)
    time.sleep(0.5)


def wait_for(what, check, timeout=5):
    end = time.time() + timeout
    while time.time() < end:
        value = check()
        if value:
            return value
        time.sleep(0.1)
    fail(what)


def key(name):
    subprocess.run(["xdotool", "key", name], check=True, timeout=5)


def names(app):
    tabs = main_window(app)
    pages = [tabs.getChildAtIndex(i) for i in range(tabs.childCount)]
    for index, page in enumerate(pages):
        if not page.name:
            fail("page %d has no name" % index)
        select_page(tabs, index)
        controls = list(shown_focusable(page))
        if not controls:
            fail("no control on page " + page.name)
        for node in controls:
            if not (node.name or "").strip():
                fail("a %s on page %s has no name" % (node.getRoleName(), page.name))
        print("%s: %d controls, all named" % (page.name, len(controls)))
    # The radio group is the way of deciding, not the status frame around it.
    for node in walk(tabs):
        if node.getRoleName() == "radio button":
            parent = node.parent
            if (parent.name or "").startswith("Current status"):
                fail("the radio buttons are announced as " + parent.name)


def chart(app):
    tabs = main_window(app)
    select_page(tabs, tabs.childCount - 1)
    page = tabs.getChildAtIndex(tabs.childCount - 1)
    found = [n for n in shown_focusable(page) if (n.description or "").startswith("Last ")]
    if len(found) != 1:
        fail("the chart is not one focusable object described by the period's figures")
    node = found[0]
    node.queryComponent().grabFocus()
    wait_for("the chart did not take the focus",
             lambda: states(node).contains(pyatspi.STATE_FOCUSED))
    today = node.name
    seen = [today]
    for k in ["Home", "Right", "Right", "End"]:
        before = node.name
        key(k)
        if k != "End" or before != today:
            wait_for("%s did not move to another day (%s)" % (k, before),
                     lambda: node.name != before and node.name)
        seen.append(node.name)
        print("%s: %s" % (k, node.name))
    for name in seen:
        if "Online:" not in name or "Not monitored:" not in name:
            fail("a day's name lacks its figures: " + name)
    if seen[-1] != today:
        fail("End did not come back to today")
    if len(set(seen[1:4])) != 3:
        fail("Home and Right did not name three different days")
    key("Return")
    log_tab = tabs.getChildAtIndex(1)
    wait_for("Enter did not open the day in the Log page",
             lambda: states(log_tab).contains(pyatspi.STATE_SELECTED))


def captions(app):
    tabs = main_window(app)
    for i in range(tabs.childCount):
        print(tabs.getChildAtIndex(i).name)


if __name__ == "__main__":
    {"names": names, "chart": chart, "captions": captions}[sys.argv[1]](application())
