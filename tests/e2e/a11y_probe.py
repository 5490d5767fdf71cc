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


def page_tabs(tabs):
    return [tabs.getChildAtIndex(i) for i in range(tabs.childCount)
            if tabs.getChildAtIndex(i).getRoleName() == "page tab"]


def select_page(tabs, index):
    page = page_tabs(tabs)[index]
    page.queryAction().doAction(0)
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
    seen = []
    for index, page in enumerate(page_tabs(tabs)):
        if not page.name:
            fail("page %d has no name" % index)
        select_page(tabs, index)
        # The page's controls are the ones showing now (the tab holds no children).
        controls = list(shown_focusable(app))
        if not controls:
            fail("no control shows on page " + page.name)
        for node in controls:
            if not (node.name or "").strip():
                fail("a %s on page %s has no name" % (node.getRoleName(), page.name))
        shown = sorted((n.getRoleName(), n.name) for n in controls)
        if shown in seen:
            fail("page %s shows the controls of another page" % page.name)
        seen.append(shown)
        print("%s: %d controls, all named" % (page.name, len(controls)))
    # The radio group is the way of deciding, not the status frame around it.
    for node in walk(tabs):
        if node.getRoleName() == "radio button":
            parent = node.parent
            if (parent.name or "").startswith("Current status"):
                fail("the radio buttons are announced as " + parent.name)


def chart(app):
    tabs = main_window(app)
    pages = page_tabs(tabs)
    select_page(tabs, len(pages) - 1)
    found = [n for n in shown_focusable(app) if (n.description or "").startswith("Last ")]
    if len(found) != 1:
        fail("the chart is not one focusable object described by the period's figures")
    node = found[0]
    # The keys go to the main window; without a window manager nobody gives it the focus.
    subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Wirevane$",
                    "windowfocus", "--sync"], check=False, timeout=10)
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
    wait_for("Enter did not open the day in the Log page",
             lambda: any(n.name == "Connection log" for n in shown_focusable(app)))


def captions(app):
    tabs = main_window(app)
    for page in page_tabs(tabs):
        print(page.name)


if __name__ == "__main__":
    {"names": names, "chart": chart, "captions": captions}[sys.argv[1]](application())
