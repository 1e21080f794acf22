#!/usr/bin/python3
# Reads the running program's accessibility tree through AT-SPI, as a screen reader
# does, and drives it through the same interface: every control that takes the focus
# in the main window with each of the five editors and in the page setting, print
# option and about dialogs has a name a person understands, not a control's name from
# the code; after a build the preview tells the number and the scan line its figures.
# Prints what it finds wanting and exits 1; 0 when all holds.
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'support'))
import pyatspi  # noqa: E402
from atspi_program import app, descendants, find, press, wait_for, window  # noqa: E402

failures = []

# Names that read as the code's rather than a person's: a word run into a number
# ("ToolButton6", "Button1", "turn3", "turn 1") or capitalised words run together
# ("ScrollBox").
CODE_LIKE = re.compile(r'^[A-Za-z_]+ ?[0-9]+$|^[a-z]*[A-Z][a-z]+[A-Z][A-Za-z0-9]*$')


def object_names(node):
    # The control's name in the code, where the toolkit tells it through AT-SPI's
    # accessible id (whole, or the last step of a path); Debian 12's Qt tells none.
    try:
        ident = node.get_accessible_id() or ''
    except Exception:
        return set()
    return {ident, re.split(r'[^A-Za-z0-9_]', ident)[-1]} - {''}


def nameless(where, top):
    checked = 0
    for n in descendants(top):
        state = n.getState()
        if not state.contains(pyatspi.STATE_FOCUSABLE) or not state.contains(pyatspi.STATE_SHOWING) or \
                n.getRoleName() == 'list item':
            continue
        checked += 1
        if not n.name.strip():
            failures.append('%s: a %s without a name' % (where, n.getRoleName()))
        elif n.name in object_names(n) or CODE_LIKE.match(n.name.strip()):
            failures.append('%s: a %s named "%s", its name in the code' % (where, n.getRoleName(), n.name))
    print('%s: %d controls that take the focus' % (where, checked))


application = wait_for(app, 20)
if application is None:
    print('the program does not show on the accessibility bus')
    sys.exit(1)
main = wait_for(lambda: window(application, 'Ruvola BarCode Generator '))
if main is None:
    print('no main window on the accessibility bus')
    sys.exit(1)
status = find(main, 'status bar')
stored = {'C39': 'Bar Code C39', 'EAN-13': 'Bar Code ENA13', 'EAN-8': 'Bar Code ENA8',
          'UPC-A': 'Bar Code UPC-A', 'UPC-E': 'Bar Code UPC-E'}
for caption, name in stored.items():
    press(find(main, 'menu item', caption))
    if not wait_for(lambda: find(status, 'label', name)):
        failures.append('picking %s did not show its editor' % caption)
        continue
    nameless('main window with %s' % caption, main)

for item, title, close in (('Page setting', 'Page Setting', 'Close'), ('About', 'About', None)):
    press(find(main, 'menu item', item))
    dialog = wait_for(lambda: window(application, title))
    if dialog is None:
        failures.append('no "%s" dialog' % title)
        continue
    nameless('"%s"' % title, dialog)
    buttons = [n for n in descendants(dialog) if n.getRoleName() == 'push button']
    button = find(dialog, 'push button', close) if close else buttons[0]
    press(button)
    wait_for(lambda: window(application, title) is None or None, 5)

# EAN-13 is the editor shown last; a build through the interface a reader uses.
press(find(main, 'menu item', 'EAN-13'))
wait_for(lambda: find(status, 'label', 'Bar Code ENA13'))
message = find(main, 'text', 'Bar Code  Message :')
message.queryEditableText().setTextContents('590123412345')
press(find(main, 'push button', 'Build/Copy'))
preview = wait_for(lambda: next((n for n in descendants(main)
                                  if n.name == 'Preview' and '5901234123457' in n.description), None))
if preview is None:
    failures.append('after a build no preview tells 5901234123457')
else:
    print('preview: %s' % preview.description)
# The scan line's figures and hints, which a pointer finds in its tip.
scan = wait_for(lambda: next((n for n in descendants(main) if n.name.startswith('Scanner reads')), None))
if scan is None or not scan.description.startswith('From the picture on the clipboard: Scanner reads'):
    failures.append('the scan line tells no figures: %r' % (scan.description if scan else None))
else:
    print('scan line: %s' % scan.description.replace('\n', ' / '))
press(find(main, 'push button', 'Print'))
options = wait_for(lambda: window(application, 'Print Option'))
if options is None:
    failures.append('no "Print Option" dialog')
else:
    nameless('"Print Option"', options)
    press(find(options, 'push button', 'Close'))

# Exit through its menu item, so that the program ends as a person ends it.
press(find(main, 'menu item', 'Exit'))
if wait_for(lambda: app() is None or None, 15) is None and app() is not None:
    failures.append('"Exit" did not end the program')

for f in failures:
    print(f)
print('screen reader check: %d findings' % len(failures))
sys.exit(1 if failures else 0)
