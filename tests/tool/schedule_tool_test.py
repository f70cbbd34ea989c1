#!/usr/bin/env python3
"""quentara-schedule as a person or a script runs it: its CSV read back with a CSV parser,
its JSON, its messages and exit codes, and what -o leaves behind when writing fails. The
calculator's figures (--calculator) are checked here against a single-precision model; the
exact figures against a lender's model by schedule_model_test.py.

    schedule_tool_test.py <quentara-schedule>
"""
import csv
import io
import json
import re
import os
import shutil
import stat
import struct
import subprocess
import sys
import tempfile
import unittest

TOOL = None
LOAN = ["--amount", "12345.67", "--rate", "18", "--years", "40", "--date", "01/15/2004"]
CALCULATOR = LOAN + ["--calculator"]
TRY_HELP = "Try 'quentara-schedule --help' for more information.\n"


def run(*args, **kwargs):
    return subprocess.run([TOOL, *args], capture_output=True, **kwargs)


def read(path, mode="r"):
    with open(path, mode) as file:
        return file.read()


def f32(value):
    """The single-precision number nearest to value, as the schedule keeps every figure."""
    return struct.unpack("f", struct.pack("f", value))[0]


def model_rows(amount, rate, years):
    """The schedule's figures computed apart from the engine: each formula in double
    precision from single-precision values, its result kept in single precision. Yields
    balance, payment, interest, principal and the three running totals of each row."""
    amount, rate, years = f32(amount), f32(rate), f32(years)
    monthly_rate = f32(rate / 100 / 12)
    month_count = round(years * 12)  # an exact half goes to the even count
    growth = f32(f32(monthly_rate + 1) ** float(month_count))
    payment = f32((amount * growth) / ((growth - 1) / monthly_rate))
    balance, paid, interest_paid, principal_paid = amount, 0.0, 0.0, 0.0
    for _ in range(month_count + 1):
        if not balance > f32(0.01):
            break
        interest = f32(balance * rate / 1200)
        if not balance >= payment:
            payment = f32(balance + interest)
        principal = f32(payment - interest)
        paid, interest_paid = f32(paid + payment), f32(interest_paid + interest)
        principal_paid = f32(principal_paid + principal)
        balance = f32(balance - (payment - interest))
        yield balance, payment, interest, principal, paid, interest_paid, principal_paid


def csv_rows(*args):
    """The rows of the program's CSV, each a dict by column; its lines end in LF alone."""
    result = run(*args, "--format", "csv")
    assert result.returncode == 0 and b"\r" not in result.stdout, result.stderr
    return list(csv.DictReader(io.StringIO(result.stdout.decode("ascii"))))


class Calculator(unittest.TestCase):
    def test_csv_rows_are_the_report_rows_and_the_totals_are_running_sums(self):
        text = run(*CALCULATOR).stdout
        report_rows = [line for line in text.split(b"\r\n") if len(line) == 98]
        rows = csv_rows(*CALCULATOR)
        self.assertEqual(len(rows), len(report_rows))
        # Every figure, the running totals included, to the cent as the schedule keeps it.
        columns = ["balance", "payment", "interest", "principal", "total_paid",
                   "total_interest", "total_principal"]
        expected = list(model_rows(12345.67, 18, 40))
        self.assertEqual(len(expected), len(rows))
        for count, (row, figures) in enumerate(zip(rows, expected), start=1):
            self.assertEqual(row["due_date"].encode(), report_rows[count - 1][:10])
            self.assertEqual(row["rate"], "18.00")
            self.assertEqual([row[column] for column in columns],
                             ["%.2f" % figure for figure in figures], count)

    def test_json_holds_the_csv_rows_and_sums_them_up(self):
        result = run(*CALCULATOR, "--format", "json")
        self.assertEqual(result.returncode, 0)
        data = json.loads(result.stdout)
        self.assertEqual(data["arithmetic"], "calculator")
        self.assertEqual(data["inputs"], {"date": "01/15/2004", "amount": 12345.67,
                                          "rate": 18, "years": 40})
        rows = [{key: text if key == "due_date" else float(text) for key, text in row.items()}
                for row in csv_rows(*CALCULATOR)]
        self.assertEqual(data["rows"], rows)
        last = rows[-1]
        self.assertEqual(data["monthly_payment"], rows[0]["payment"])
        self.assertEqual(data["summary"], {
            "payments": len(rows), "total_paid": last["total_paid"],
            "total_interest": last["total_interest"],
            "total_principal": last["total_principal"], "last_payment": last["payment"]})


class Exact(unittest.TestCase):
    ROW_KEYS = {"due_date", "balance", "rate", "payment", "interest", "principal",
                "total_paid", "total_interest", "total_principal"}
    SUMMARY_KEYS = {"payments", "total_paid", "total_interest", "total_principal",
                    "last_payment"}
    SAVED = {"payments_saved", "interest_saved"}
    JSON_KEYS = [
        # options, inputs, keys beside the rows and summary, more row keys, more summary keys
        (["--payment", "300"], {"payment"}, {"computed_payment"}, set(), SAVED),
        (["--extra", "12/15/2004=100"], {"extras"}, set(), {"extra"}, SAVED | {"unused_extras"}),
    ]

    def test_json_keys_with_a_payment_and_with_extras(self):
        for options, inputs, top, row, summary in self.JSON_KEYS:
            with self.subTest(options=options):
                result = run("--amount", "5000", "--rate", "6.375", "--years", "1", "--date",
                             "01/15/2004", "--format", "json", *options)
                self.assertEqual(result.returncode, 0, result.stderr)
                data = json.loads(result.stdout)
                self.assertEqual(set(data), {"arithmetic", "inputs", "monthly_payment", "rows",
                                             "summary"} | top)
                self.assertEqual(data["arithmetic"], "exact")
                self.assertEqual(set(data["inputs"]),
                                 {"date", "amount", "rate", "years", "months"} | inputs)
                self.assertEqual(set(data["rows"][0]), self.ROW_KEYS | row)
                self.assertEqual(set(data["summary"]), self.SUMMARY_KEYS | summary)
                self.assertEqual(data["summary"]["last_payment"], data["rows"][-1]["payment"])
                # The rate as typed, not rounded to two decimals.
                self.assertEqual(re.findall(rb'"rate": ([0-9.]+)', result.stdout)[0], b"6.375")


class Encoding(unittest.TestCase):
    def test_utf8_changes_only_the_line_under_the_headings(self):
        plain = run(*CALCULATOR).stdout
        utf8 = run(*CALCULATOR, "--encoding", "utf-8").stdout
        self.assertIn(b"\xaf" * 99, plain)
        self.assertEqual(utf8, plain.replace(b"\xaf", "\u00af".encode("utf-8")))
        utf8.decode("utf-8")


TOO_BIG = "beyond the largest number the calculator's single precision holds (about 3.4e38)\n"
NOT_VALID = "Your date string is not valid, Please re-start program.\n"
TOO_LONG = ("The loan is too long: at most 601 monthly payments (50 years and 1 month) can be "
            "scheduled.\n")


class Messages(unittest.TestCase):
    L = "--amount 5000 --rate 4 --years 1"  # a loan that can be scheduled
    ROWS = [
        # arguments, exit code, standard error
        ("--amount 5,000 --rate 4 --years 1", 2, '--amount: "5,000" is not a number\n' + TRY_HELP),
        ("--amount 5000 --rate nan --years 1", 2, '--rate: "nan" is not a number\n' + TRY_HELP),
        ("--amount 5000 --years 1", 2, "--rate is missing\n" + TRY_HELP),
        ("--amount 5000 --rate 4 --years", 2, "--years needs a value\n" + TRY_HELP),
        ("--amount=1 --amount 2 --rate 4 --years 1", 2,
         "--amount is given more than once\n" + TRY_HELP),
        (L + " --date 1/5/2004", 2, '--date: "1/5/2004" is not a date as mm/dd/yyyy\n' + TRY_HELP),
        (L + " --format xml", 2, '--format: "xml" is not one of text, csv, json\n' + TRY_HELP),
        (L + " --encoding latin1", 2,
         '--encoding: "latin1" is not one of windows-1252, utf-8\n' + TRY_HELP),
        (L + " --summary=yes", 2, "--summary takes no value\n" + TRY_HELP),
        (L + " --colour", 2, 'unknown option "--colour"\n' + TRY_HELP),
        (L + " loan.txt", 2, 'unexpected argument "loan.txt"\n' + TRY_HELP),
        (L + " --date 04/31/2004", 1, "There are only 30 days in April.\n"),
        (L + " --date 02/29/2005", 1, NOT_VALID),
        (L + " --date 05/10/2201", 1, NOT_VALID),
        (L + " --months 12", 2,
         "--years and --months cannot be combined: give the length one way\n" + TRY_HELP),
        ("--amount 5000 --rate 4", 2, "--years or --months is missing\n" + TRY_HELP),
        ("--amount 5000 --rate 4 --months 12 --calculator", 2,
         "--months cannot be used with --calculator: the Quentara window takes the length in "
         "years\n" + TRY_HELP),
        (L + " --calculator --extra 01/31/2004=1", 2,
         "--extra cannot be used with --calculator: the Quentara window has no extra "
         "payments\n" + TRY_HELP),
        # The exact arithmetic's values: one line naming the option, and exit 2.
        ("--amount 1e39 --rate 4 --years 1", 2,
         "--amount: the amount must be from 0.01 to 10000000000000.00\n"),
        ("--amount -5000 --rate 4 --years 1", 2, "--amount: the amount cannot be negative\n"),
        ("--amount 5000.001 --rate 4 --years 1", 2,
         "--amount: the amount must be whole cents (at most 2 decimal places)\n"),
        ("--amount 5000 --rate 1e30 --years 1", 2,
         "--rate: the rate must be from 0 to 1000 percent\n"),
        ("--amount 5000 --rate -4 --years 1", 2, "--rate: the rate cannot be negative\n"),
        ("--amount 5000 --rate 4 --years -1", 2,
         "--years: the length in years cannot be negative\n"),
        ("--amount 5000 --rate 4 --years 1e39", 2,
         "--years: the length in years must come to 1 to 1200 months (years x 12, to the "
         "nearest month)\n"),
        ("--amount 5000 --rate 4 --months 12.5", 2,
         "--months: the number of months must be a whole number\n"),
        (L + " --payment 1e39", 2,
         "--payment: the payment must be from 0.01 to 1000000000000000.00\n"),
        (L + " --date 01/31/2004 --extra 03/15/2004=100", 2,
         "--extra: the extra payment on 03/15/2004 is not on a due date of this loan: the "
         "nearest due dates are 02/29/2004 and 03/31/2004\n"),
        (L + " --extra 03/31/2004=1 --extra=03/31/2004=2", 2,
         "--extra: two extra payments on 03/31/2004: give one extra payment a date (their "
         "sum)\n"),
        (L + " --extra 3/31/2004=1", 2,
         '--extra: "3/31/2004=1" is not a date and an amount as mm/dd/yyyy=amount\n'),
        (L + " --payment 16.67", 1,
         "--payment: the payment must be more than the first month's interest of 16.67, or "
         "the loan would never shrink\n"),
        # The calculator's own limits and messages.
        ("--amount 5000 --rate 4 --years 60 --calculator", 1, TOO_LONG),
        ("--amount 5000 --rate 4 --years 1e39 --calculator", 1, TOO_LONG),
        ("--amount 5000 --rate 4 --years 0.04 --calculator", 1,
         "The loan is too short: enter a length of at least 0.05 years (one monthly "
         "payment).\n"),
        ("--amount 0.01 --rate 4 --years 1 --calculator", 1,
         "The loan amount is too small: enter more than 0.01.\n"),
        ("--amount 5000 --rate 0.001 --years 1 --calculator", 1,
         "The interest rate is too small: enter 0 for a loan without interest, or at least "
         "0.01 %.\n"),
        ("--amount 1e39 --rate 4 --years 1 --calculator", 1, "--amount: 1e39 is " + TOO_BIG),
        ("--amount 5000 --rate 340 --years 30 --calculator", 1,
         "the loan's growth over its months, (1 + rate / 1200) ^ months, goes " + TOO_BIG),
        ("--amount 3.3e38 --rate 100 --years 0.08333 --calculator", 1,
         "the monthly payment comes to inf, " + TOO_BIG),
        ("--amount 3e38 --rate 100 --years 1 --calculator", 1,
         "the figures of this schedule go " + TOO_BIG),
        (L + " --payment 16.66 --calculator", 1,
         "--payment: 16.66 does not pay more than the first month's interest of 16.67, so the "
         "loan would never shrink\n"),
        (L + " --payment 1e39 --calculator", 1, "--payment: 1e39 is " + TOO_BIG),
    ]

    def test_each_error_with_its_message_and_exit_code(self):
        for arguments, code, message in self.ROWS:
            with self.subTest(arguments=arguments):
                result = run(*arguments.split())
                self.assertEqual(result.returncode, code)
                self.assertEqual(result.stderr.decode(), "quentara-schedule: " + message)
                self.assertEqual(result.stdout, b"")

    def test_help(self):
        result = run("--help")
        self.assertEqual(result.returncode, 0)
        self.assertTrue(result.stdout.startswith(b"Usage: quentara-schedule --amount AMOUNT"))
        self.assertEqual(result.stderr, b"")


class Output(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="quentara-tool-")
        self.addCleanup(shutil.rmtree, self.folder)

    def test_file_is_kept_when_refused_and_replaced_when_written(self):
        target = os.path.join(self.folder, "loan.csv")
        with open(target, "w") as earlier:
            earlier.write("an earlier schedule")
        # A loan refused, and a value not allowed.
        for option, code in [("--payment=185.19", 1), ("--extra=01/16/2004=5", 2)]:
            refused = run(*LOAN, option, "-o", target)
            self.assertEqual(refused.returncode, code, option)
            self.assertEqual(read(target), "an earlier schedule")
        written = run(*LOAN, "--format", "csv", "--output", target)
        self.assertEqual(written.returncode, 0, written.stderr)
        self.assertEqual(read(target, "rb"), run(*LOAN, "--format", "csv").stdout)

    def test_full_device_and_full_standard_output_are_failures(self):
        result = run(*LOAN, "-o", "/dev/full")
        self.assertEqual(result.returncode, 1)
        self.assertEqual(result.stderr,
                         b'quentara-schedule: cannot write to "/dev/full": No space left on '
                         b'device\n')
        self.assertTrue(stat.S_ISCHR(os.stat("/dev/full").st_mode))
        with open("/dev/full", "wb") as full:
            result = subprocess.run([TOOL, *LOAN], stdout=full, stderr=subprocess.PIPE)
        self.assertEqual(result.returncode, 1)
        self.assertEqual(result.stderr, b"quentara-schedule: cannot write to standard output: "
                                        b"No space left on device\n")
        self.assertEqual(run(*LOAN, "-o", "/dev/null").returncode, 0)
        self.assertTrue(stat.S_ISCHR(os.stat("/dev/null").st_mode))

    def test_read_only_folder_leaves_no_file(self):
        tool = os.path.join(self.folder, "quentara-schedule")
        shutil.copy(TOOL, tool)
        locked = os.path.join(self.folder, "locked")
        os.mkdir(locked)
        os.chmod(self.folder, 0o755)
        command = [tool, *LOAN, "-o", os.path.join(locked, "loan.txt")]
        if os.geteuid() == 0:
            # Root ignores permissions: the folder is root's, and the tool runs as nobody.
            if shutil.which("setpriv") is None:
                self.skipTest("running as root without setpriv: cannot deny root a folder")
            command = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups",
                       *command]
        else:
            os.chmod(locked, 0o555)
            self.addCleanup(os.chmod, locked, 0o755)
        result = subprocess.run(command, capture_output=True)
        self.assertEqual(result.returncode, 1)
        self.assertEqual(result.stderr.decode(),
                         'quentara-schedule: cannot write to "%s/loan.txt": Permission denied\n'
                         % locked)
        self.assertEqual(os.listdir(locked), [])


if __name__ == "__main__":
    TOOL = os.path.realpath(sys.argv.pop(1))
    unittest.main(verbosity=2)
