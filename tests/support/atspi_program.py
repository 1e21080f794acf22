# The program as a screen reader sees it through AT-SPI: finding it and its windows,
# walking its tree, pressing its controls.
import time

import pyatspi
from gi.repository import GLib

pyatspi.setTimeout(1500, 15000)


def wait_for(find, seconds=10.0):
    end = time.time() + seconds
    while time.time() < end:
        found = find()
        if found:
            return found
        time.sleep(0.1)
    return None


def descendants(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield child
            yield from descendants(child)


def find(node, role, name=None):
    return next((n for n in descendants(node) if n.getRoleName() == role and (name is None or n.name == name)),
                None)


def app():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        a = desktop.getChildAtIndex(i)
        if a is not None and a.description.endswith('ruvola-barcode'):
            return a
    return None


def window(application, name):
    for i in range(application.childCount):
        w = application.getChildAtIndex(i)
        if w is not None and w.name == name and w.getState().contains(pyatspi.STATE_SHOWING):
            return w
    return None


def main_window():
    application = app()
    return window(application, 'Ruvola BarCode Generator ') if application else None


def press(node):
    # An action that opens a modal dialog answers only once the dialog closes: its
    # call runs out of time while the dialog is up, which is what is wanted here.
    try:
        node.queryAction().doAction(0)
    except GLib.GError:
        pass
