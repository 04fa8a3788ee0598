#!/usr/bin/python3
# The program's windows from the accessibility tree (X11 and Wayland alike). `a11y.py shown TITLE
# [SECONDS]` waits for a window whose title matches and prints "WIDTH HEIGHT MENUBAR CUT" (client
# area, menu bar height, buttons partly outside or "-"); `a11y.py gone TITLE [SECONDS]` waits until it is gone.
import re, sys, time
import pyatspi


def children(node):  # (an accessible is false when it has no children: "is not None", not "if child")
    return (child for child in node if child is not None)


def shown(node, role):
    for child in children(node):
        if child.getRole() == role and child.getState().contains(pyatspi.STATE_SHOWING):
            yield child
        yield from shown(child, role)


def extents(node):
    return node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)


what, title = sys.argv[1], sys.argv[2]
deadline = time.time() + float(sys.argv[3] if len(sys.argv) > 3 else 10)
while time.time() < deadline:
    found = [win for app in children(pyatspi.Registry.getDesktop(0)) if app.name == "Glyvex"
             for win in children(app) if re.search(title, win.name or "") and win.getState().contains(pyatspi.STATE_SHOWING)]
    if what == "gone" and not found:
        sys.exit(0)
    if what == "shown" and found:
        w = extents(found[0])
        cut = [b.name or "?" for b in shown(found[0], pyatspi.ROLE_PUSH_BUTTON) for e in [extents(b)]
               if e.x < w.x or e.y < w.y or e.x + e.width > w.x + w.width or e.y + e.height > w.y + w.height]
        bars = [extents(bar).height for bar in shown(found[0], pyatspi.ROLE_MENU_BAR)]
        print(w.width, w.height, bars[0] if bars else 0, ",".join(cut) or "-")
        sys.exit(0)
    time.sleep(0.2)
print(f"no window /{title}/ {'shown' if what == 'shown' else 'gone'} in time", file=sys.stderr)
sys.exit(1)
