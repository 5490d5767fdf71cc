#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Wirevane developers
"""What a screen reader sees of the running program, through AT-SPI.
names: every focusable control on every page is named; chart: the History chart's days,
walked by keyboard, are named and Enter opens one in the Log page; captions: the page tabs."""
import subprocess
import sys
import time

import pyatspi


def fail(text):
    sys.exit("FAIL: " + text)


def wait_for(what, check, timeout=5):
    end = time.time() + timeout
    while time.time() < end:
        value = check()
        if value:
            return value
        time.sleep(0.1)
    fail(what)


def find_app():
    def app():
        return next((a for a in pyatspi.Registry.getDesktop(0)
                     if a is not None and (a.name or "").lower() == "wirevane"), None)
    return wait_for("the program does not show on the accessibility bus", app, 15)


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def shown_focusable(root):
    for node in walk(root):
        s = node.getState()
        if s.contains(pyatspi.STATE_FOCUSABLE) and s.contains(pyatspi.STATE_SHOWING):
            yield node


def page_tabs(app):
    tabs = next(n for n in walk(app) if n.getRoleName() == "page tab list")
    return [t for t in (tabs.getChildAtIndex(i) for i in range(tabs.childCount))
            if t.getRoleName() == "page tab"]


def open_page(page):
    page.queryAction().doAction(0)
    time.sleep(0.5)


def key(name):
    subprocess.run(["xdotool", "key", name], check=True, timeout=5)


def names(app):
    seen = []
    for page in page_tabs(app):
        open_page(page)
        # The tab holds no children: the page's controls are the ones showing now.
        controls = list(shown_focusable(app))
        for node in controls:
            if not (node.name or "").strip():
                fail("a %s on page %s has no name" % (node.getRoleName(), page.name))
        shown = sorted((n.getRoleName(), n.name) for n in controls)
        if shown in seen:
            fail("page %s shows the controls of another page" % page.name)
        seen.append(shown)
        print("%s: %d controls, all named" % (page.name, len(controls)))
    for node in walk(app):  # the radios are the way of deciding, not the status frame
        if node.getRoleName() == "radio button" and node.parent.name.startswith("Current"):
            fail("the radio buttons are announced as " + node.parent.name)


def chart(app):
    open_page(page_tabs(app)[-1])
    found = [n for n in shown_focusable(app) if (n.description or "").startswith("Last ")]
    if len(found) != 1:
        fail("the chart is not one focusable object described by the period's figures")
    node = found[0]
    # The keys go to the main window; without a window manager nobody gives it the focus.
    subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Wirevane$",
                    "windowfocus", "--sync"], check=False, timeout=10)
    node.queryComponent().grabFocus()
    wait_for("the chart did not take the focus",
             lambda: node.getState().contains(pyatspi.STATE_FOCUSED))
    seen = [node.name]
    for k in ["Home", "Right", "Right", "End"]:
        before = node.name
        key(k)
        wait_for("%s did not move from %s" % (k, before), lambda: node.name != before)
        seen.append(node.name)
        print("%s: %s" % (k, node.name))
    if any("Online:" not in n or "Not monitored:" not in n for n in seen):
        fail("a day's name lacks its figures: %s" % seen)
    if seen[-1] != seen[0] or len(set(seen[1:4])) != 3:
        fail("Home, Right and End did not walk the days: %s" % seen)
    key("Return")
    wait_for("Enter did not open the day in the Log page",
             lambda: any(n.name == "Connection log" for n in shown_focusable(app)))


def captions(app):
    for page in page_tabs(app):
        print(page.name)


if __name__ == "__main__":
    {"names": names, "chart": chart, "captions": captions}[sys.argv[1]](find_app())
