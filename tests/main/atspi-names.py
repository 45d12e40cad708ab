#!/usr/bin/python3
# Reads the main window of Quantix96 through AT-SPI, as a screen reader
# does, once Length, metre to foot and 2.5 have been entered: every control
# that takes input or shows a result must have a name to speak, its own or
# that of the caption that labels it, and the captions and the result must
# say what they should. Exits with 1 and a line per fault otherwise.
import sys
import time

import pyatspi

CONTROLS = {'combo box', 'text', 'password text', 'list', 'slider', 'spin button', 'push button',
            'check box', 'radio button', 'toggle button', 'table'}
EXPECTED = {
    ('combo box', 'Select quantity:'),
    ('combo box', 'Select initial unit:'),
    ('combo box', 'Select final unit:'),
    ('text', 'Enter initial value:'),
    ('text', 'Converted result: 8.202 foot (ft)'),
    ('label', 'Conversion records: 0'),
    ('label', 'Click to record conversion'),
    ('label', 'Decimals: 3'),
}


def labels(node):
    """The names of the captions that label a control."""
    names = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            names += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return names


def controls(node):
    """The role and spoken name of every control below node, lists' entries aside."""
    found = []
    for child in node:
        if child is None:
            continue
        role = child.getRoleName()
        if role in CONTROLS:
            # A list's own name is its value; the caption is what names it.
            spoken = ' '.join(labels(child)) or ('' if role == 'combo box' else child.name)
            found.append((role, spoken))
        elif role == 'label':
            found.append((role, child.name))
        if role not in ('combo box', 'menu bar'):
            found += controls(child)
    return found


def main_window():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == 'Quantix96':
            for window in app:
                if window is not None and window.name == 'Quantix 96' and window.getRoleName() == 'frame':
                    return window
    return None


faults = ['no window "Quantix 96" of the application Quantix96']
for _ in range(50):
    window = main_window()
    if window is not None:
        found = controls(window)
        faults = ['%s without a name' % role for role, spoken in found if role in CONTROLS and not spoken.strip(' .:')]
        faults += ['no %s named "%s"' % expected for expected in sorted(EXPECTED - set(found))]
        if not faults:
            break
    time.sleep(0.2)
for fault in faults:
    print(fault, file=sys.stderr)
sys.exit(1 if faults else 0)
