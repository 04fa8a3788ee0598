#!/usr/bin/python3
# Reads the program's windows from the accessibility tree, which works on X11 and Wayland alike.
#   a11y.py shown TITLE [SECONDS]  waits for a shown window whose title matches the regular
#                                  expression; prints its client area "WIDTH HEIGHT MENUBAR CUT",
#                                  MENUBAR the menu bar's height (0: none), CUT naming the
#                                  buttons that lie (partly) outside the window ("-": none)
#   a11y.py gone TITLE [SECONDS]   waits until no such window is shown
import re
import sys
import time

import pyatspi


def windows(title):
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or app.name != "Glyvex":
            continue
        for win in app:
            if win is not None and re.search(title, win.name or "") and win.getState().contains(pyatspi.STATE_SHOWING):
                yield win


def descendants(node, role):
    for child in node:
        if child is None:
            continue
        if child.getRole() == role and child.getState().contains(pyatspi.STATE_SHOWING):
            yield child
        yield from descendants(child, role)


def main():
    what, title = sys.argv[1], sys.argv[2]
    deadline = time.time() + float(sys.argv[3] if len(sys.argv) > 3 else 10)
    while time.time() < deadline:
        found = list(windows(title))
        if what == "gone" and not found:
            return 0
        if what == "shown" and found:
            win = found[0].queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            cut = []
            for button in descendants(found[0], pyatspi.ROLE_PUSH_BUTTON):
                b = button.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                if b.x < win.x or b.y < win.y or b.x + b.width > win.x + win.width or b.y + b.height > win.y + win.height:
                    cut.append(button.name or "?")
            bars = [bar.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).height
                    for bar in descendants(found[0], pyatspi.ROLE_MENU_BAR)]
            print(win.width, win.height, bars[0] if bars else 0, ",".join(cut) or "-")
            return 0
        time.sleep(0.2)
    print(f"no window /{title}/ {'shown' if what == 'shown' else 'gone'} in time", file=sys.stderr)
    return 1


sys.exit(main())
