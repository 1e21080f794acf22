#!/usr/bin/python3
# The installed program as a user meets it, run by that user: started through the desktop
# entry's Exec line, EAN-13 picked in the Symbology menu, the program left through "Exit"
# and started again, which shows EAN-13; the settings file is in the user's configuration
# folder. Driven and read through AT-SPI. Exits 1 with what went wrong.
import os
import shlex
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_program import descendants, find, main_window, press, wait_for  # noqa: E402

ENTRY = '/usr/share/applications/org.ruvola.BarCodeGenerator.desktop'
SETTINGS = os.path.join(os.environ.get('XDG_CONFIG_HOME') or os.path.expanduser('~/.config'), 'ruvola',
                        'BCodeSetting.ini')


def fail(text):
    print('installed program: ' + text)
    sys.exit(1)


command = next(line.split('=', 1)[1].strip() for line in open(ENTRY) if line.startswith('Exec='))
env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1')
first = subprocess.Popen(shlex.split(command), env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
window = wait_for(main_window, 30)
if window is None:
    fail('"%s" shows no window' % command)
press(find(window, 'menu item', 'EAN-13'))
status = next(n for n in descendants(window) if n.getRoleName() == 'status bar')
if not wait_for(lambda: find(status, 'label', 'Bar Code ENA13')):
    fail('picking EAN-13 did not show its editor')
press(find(window, 'menu item', 'Exit'))
if first.wait(15) != 0:
    fail('the program ended with %d' % first.returncode)
if not os.path.isfile(SETTINGS) or 'Checked=Bar Code ENA13' not in open(SETTINGS).read():
    fail('no EAN-13 in %s' % SETTINGS)

second = subprocess.Popen(shlex.split(command), env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
window = wait_for(main_window, 30)
if window is None:
    fail('the second start shows no window')
status = next(n for n in descendants(window) if n.getRoleName() == 'status bar')
if not wait_for(lambda: find(status, 'label', 'Bar Code ENA13')):
    fail('the second start does not show EAN-13')
press(find(window, 'menu item', 'Exit'))
second.wait(15)
print('installed program: "%s" kept EAN-13 in %s' % (command, SETTINGS))
