"""What a screen reader finds of the running calculator, through AT-SPI (pyatspi).

Waits for the application "Quentara", checks the main form's frame, labels, fields and their
relations, tabs through the form and computes a payment, clicks "Information" where AT-SPI
says the button is, checks the information window's heading and notice, and clicks "Quit".
Prints PASS or the first difference and exits 1. Runs with Debian's /usr/bin/python3, for
which python3-pyatspi is installed. Arguments: a file to create once the focus listener is
registered (the program may start then), and the file into which Orca speaks.
"""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

# In reading order: from the top down, each line from left to right, labels before fields.
MAIN_FORM = [
    ("label", "Vornicat"),
    ("label", "Amortization Tables"),
    ("image", "A parrot on a branch"),
    ("panel", ""),
    ("label", "mm/dd/yyyy"),
    ("label", "Date of First Payment:"),
    ("text", "Date of First Payment"),
    ("label", "Loan Amount (Dollars):"),
    ("text", "Loan Amount (Dollars)"),
    ("label", "Interest Rate (%):"),
    ("text", "Interest Rate (%)"),
    ("label", "Length of Loan (Years):"),
    ("text", "Length of Loan (Years)"),
    ("label", "Calculated Monthly Payment:"),
    ("text", "Calculated Monthly Payment"),
    ("push button", "Print Amortization Schedule"),
    ("push button", "Information"),
    ("push button", "Quit"),
]

# Each field and the label that names it.
LABELS = {
    "Date of First Payment": "Date of First Payment:",
    "Loan Amount (Dollars)": "Loan Amount (Dollars):",
    "Interest Rate (%)": "Interest Rate (%):",
    "Length of Loan (Years)": "Length of Loan (Years):",
    "Calculated Monthly Payment": "Calculated Monthly Payment:",
}

INFORMATION_WINDOW = [("label", "General Information"), ("text", "General Information")]
NOTICE = (
    "Quentara works out the monthly payment and the full schedule of any loan.\n\n"
    "In the future, I hope to implement a way to pay off your loan faster... by simply "
    "overwriting the amount in the 'Calculated Monthly Payment' field.\n\n"
    "Your loan length, etc. would be reduced accordingly."
)

# Tab and Shift+Tab with a focus listener registered, as a screen reader has: each key, the
# control whose focus event comes last, and what Orca says then (None: not checked).
# Entering the payment field computes the payment, the focus goes on to the amount field,
# and the payment is announced.
FOCUS_STEPS = [
    ("Tab", "Loan Amount (Dollars)", "5000.00"),
    ("shift+Tab", "Date of First Payment", "mm/dd/yyyy"),
    ("shift+Tab", "Information", None),
    ("shift+Tab", "Quit", None),
    ("Tab", "Information", None),
    ("Tab", "Date of First Payment", None),
    ("Tab", "Loan Amount (Dollars)", None),
    ("ctrl+a 1 0 0 0 0 Tab", "Interest Rate (%)", None),
    ("Tab", "Length of Loan (Years)", None),
    # 10000 at 4.00 % over 1.0 year
    ("Tab", "Loan Amount (Dollars)", "Calculated Monthly Payment 851.50"),
]

LIMIT = 60  # seconds to wait for anything
focus_events = []


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def wait_for(what, find):
    deadline = time.monotonic() + LIMIT
    while time.monotonic() < deadline:
        while GLib.MainContext.default().pending():  # delivers the focus events
            GLib.MainContext.default().iteration(False)
        try:
            found = find()
        except Exception:  # the tree changes while it is read
            found = None
        if found is not None:
            return found
        time.sleep(0.2)
    fail(f"{what} did not happen within {LIMIT} s (focus events: {focus_events})")


def children(node):
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in children(desktop):
        if app is not None and app.name == "Quentara":
            return app
    return None


def frame(app, title):
    for window in children(app):
        if window.getRoleName() == "frame" and window.name == title:
            return window
    return None


def related(node, relation):
    names = []
    for rel in node.getRelationSet():
        if rel.getRelationType() == relation:
            names += [rel.getTarget(i).name for i in range(rel.getNTargets())]
    return names


def expect_children(window, expected):
    got = [(child.getRoleName(), child.name) for child in children(window)]
    if got != expected:
        fail(f"the children of '{window.name}' are {got}, expected {expected}")


def click(window, name):
    """Clicks the button in the middle, where AT-SPI says it is on the screen."""
    for child in children(window):
        if child.getRoleName() == "push button" and child.name == name:
            box = child.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            x, y = box.x + box.width // 2, box.y + box.height // 2
            subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True)
            return
    fail(f"no button '{name}'")


def on_focus(event):
    focus_events.append(event.source.name)


def speech():
    """What Orca has said so far."""
    with open(sys.argv[2], encoding="utf-8") as spoken:
        return spoken.read()


def text_of(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


def tab_through():
    search = ["xdotool", "search", "--onlyvisible", "--name", "^Quentara$"]
    window = subprocess.run(search, check=True, capture_output=True, text=True).stdout.split()[0]
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
    for keys, expected, spoken in FOCUS_STEPS:
        before, said = len(focus_events), len(speech())
        subprocess.run(["xdotool", "key"] + keys.split(), check=True)
        wait_for(f"the focus on '{expected}' after {keys}",
                 lambda: len(focus_events) > before and focus_events[-1] == expected or None)
        if spoken is not None:
            wait_for(f"Orca saying '{spoken}' after {keys}",
                     lambda: spoken in speech()[said:] or None)
    print("Tab and Shift+Tab: the focus moves through the form; Orca announces the payment")


def main():
    pyatspi.Registry.registerEventListener(on_focus, "focus:")
    open(sys.argv[1], "w").close()  # the program may start
    app = wait_for("the application Quentara", application)
    main_form = wait_for("the frame 'Quentara'", lambda: frame(app, "Quentara"))
    wait_for("the main form's controls", lambda: main_form.childCount == len(MAIN_FORM) or None)
    expect_children(main_form, MAIN_FORM)
    by_name = {child.name: child for child in children(main_form)}
    for field, label in LABELS.items():
        if related(by_name[field], pyatspi.RELATION_LABELLED_BY) != [label]:
            fail(f"the field '{field}' is not labelled by '{label}'")
        if related(by_name[label], pyatspi.RELATION_LABEL_FOR) != [field]:
            fail(f"the label '{label}' is not the label for '{field}'")
    # What the form shows beside or in a field, told as the field's description.
    date, payment = by_name["Date of First Payment"], by_name["Calculated Monthly Payment"]
    if "mm/dd/yyyy" not in date.description:
        fail(f"the date field is described as {date.description!r}")
    if (text_of(payment), payment.description) != ("", "Not calculated yet"):
        fail(f"the payment field reads {text_of(payment)!r}, {payment.description!r}")
    print("main form: a frame 'Quentara', its labels and named fields related")
    tab_through()

    click(main_form, "Information")
    information = wait_for("the frame 'Information'", lambda: frame(app, "Information"))
    wait_for("the information window's controls", lambda: information.childCount == 2 or None)
    expect_children(information, INFORMATION_WINDOW)
    notice = children(information)[1].queryText()
    text = notice.getText(0, notice.characterCount)
    if text != NOTICE:
        fail(f"the notice reads {text!r}")
    print("information window: its heading and its notice can be read")

    click(main_form, "Quit")
    print("PASS")


main()
