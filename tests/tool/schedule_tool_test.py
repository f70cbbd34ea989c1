#!/usr/bin/env python3
"""quentara-schedule as a person or a script runs it: its CSV read back with a CSV parser,
its JSON, its messages and exit codes, and what -o leaves behind when writing fails.

    schedule_tool_test.py <quentara-schedule>
"""
import csv
import io
import json
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


class CsvAndJson(unittest.TestCase):
    def test_csv_rows_are_the_report_rows_and_the_totals_are_running_sums(self):
        text = run(*LOAN).stdout
        report_rows = [line for line in text.split(b"\r\n") if len(line) == 98]
        result = run(*LOAN, "--format", "csv")
        self.assertEqual(result.returncode, 0)
        self.assertNotIn(b"\r", result.stdout)
        rows = list(csv.DictReader(io.StringIO(result.stdout.decode("ascii"))))
        self.assertEqual(len(rows), 481)
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
        self.assertEqual(rows[-1], {
            "due_date": "01/15/2044", "balance": "0.00", "rate": "18.00", "payment": "3.74",
            "interest": "0.06", "principal": "3.69", "total_paid": "88962.37",
            "total_interest": "76616.91", "total_principal": "12345.67"})

    def test_json_is_valid_and_holds_the_same_rows(self):
        result = run(*LOAN, "--format", "json")
        self.assertEqual(result.returncode, 0)
        checked = subprocess.run([sys.executable, "-m", "json.tool"], input=result.stdout,
                                 capture_output=True)
        self.assertEqual(checked.returncode, 0, checked.stderr)
        data = json.loads(result.stdout)
        self.assertEqual(data["inputs"], {"date": "01/15/2004", "amount": 12345.67,
                                          "rate": 18, "years": 40})
        self.assertEqual(data["monthly_payment"], 185.33)
        self.assertEqual(len(data["rows"]), 481)
        self.assertEqual(data["rows"][0], {
            "due_date": "01/15/2004", "balance": 12345.52, "rate": 18.0, "payment": 185.33,
            "interest": 185.19, "principal": 0.15, "total_paid": 185.33,
            "total_interest": 185.19, "total_principal": 0.15})
        self.assertEqual(data["summary"], {"payments": 481, "total_paid": 88962.37,
                                           "total_interest": 76616.91,
                                           "total_principal": 12345.67})

    def test_utf8_changes_only_the_line_under_the_headings(self):
        plain = run(*LOAN).stdout
        utf8 = run(*LOAN, "--encoding", "utf-8").stdout
        self.assertEqual(plain.count(b"\xaf" * 99), 41)
        self.assertEqual(utf8, plain.replace(b"\xaf", "\u00af".encode("utf-8")))
        utf8.decode("utf-8")


class Messages(unittest.TestCase):
    ROWS = [
        # arguments, exit code, standard error
        (["--amount", "5,000", "--rate", "4", "--years", "1"], 2,
         '--amount: "5,000" is not a number\n' + TRY_HELP),
        (["--amount", "5000", "--rate", "nan", "--years", "1"], 2,
         '--rate: "nan" is not a number\n' + TRY_HELP),
        (["--amount", "5000", "--years", "1"], 2, "--rate is missing\n" + TRY_HELP),
        (["--amount", "5000", "--rate", "4", "--years"], 2, "--years needs a value\n" + TRY_HELP),
        (["--amount=1", "--amount", "2", "--rate", "4", "--years", "1"], 2,
         "--amount is given more than once\n" + TRY_HELP),
        (["--amount", "1", "--rate", "4", "--years", "1", "--date", "1/5/2004"], 2,
         '--date: "1/5/2004" is not a date as mm/dd/yyyy\n' + TRY_HELP),
        (["--amount", "1", "--rate", "4", "--years", "1", "--format", "xml"], 2,
         '--format: "xml" is not one of text, csv, json\n' + TRY_HELP),
        (["--amount", "1", "--rate", "4", "--years", "1", "--encoding", "latin1"], 2,
         '--encoding: "latin1" is not one of windows-1252, utf-8\n' + TRY_HELP),
        (["--amount", "1", "--rate", "4", "--years", "1", "--summary=yes"], 2,
         "--summary takes no value\n" + TRY_HELP),
        (["--amount", "1", "--rate", "4", "--years", "1", "--colour"], 2,
         'unknown option "--colour"\n' + TRY_HELP),
        (["--amount", "1", "--rate", "4", "--years", "1", "loan.txt"], 2,
         'unexpected argument "loan.txt"\n' + TRY_HELP),
        (["--amount", "5000", "--rate", "4", "--years", "1", "--date", "04/31/2004"], 1,
         "There are only 30 days in April.\n"),
        (["--amount", "5000", "--rate", "4", "--years", "1", "--date", "02/29/2005"], 1,
         "Your date string is not valid, Please re-start program.\n"),
        (["--amount", "5000", "--rate", "4", "--years", "1", "--date", "05/10/2201"], 1,
         "Your date string is not valid, Please re-start program.\n"),
        (["--amount", "5000", "--rate", "4", "--years", "60"], 1,
         "The loan is too long: at most 601 monthly payments (50 years and 1 month) can be "
         "scheduled.\n"),
        (["--amount", "5000", "--rate", "4", "--years", "1e39"], 1,
         "The loan is too long: at most 601 monthly payments (50 years and 1 month) can be "
         "scheduled.\n"),
        (["--amount", "5000", "--rate", "4", "--years", "-1"], 1,
         "The loan is too short: enter a length of at least 0.05 years (one monthly "
         "payment).\n"),
        (["--amount", "3.3e38", "--rate", "100", "--years", "0.08333"], 1,
         "the monthly payment is not a finite number (inf)\n"),
        (["--amount", "5000", "--rate", "4", "--years", "1", "--payment", "16.66"], 1,
         "--payment: 16.66 does not pay more than the first month's interest of 16.67, so the "
         "loan would never shrink\n"),
        (["--amount", "5000", "--rate", "4", "--years", "1", "--payment", "1e39"], 1,
         "--payment: 1e39 is not a finite number\n"),
        (["--amount", "3e38", "--rate", "100", "--years", "1"], 1,
         "the figures of this schedule go beyond the largest number it can hold\n"),
    ]

    def test_each_error_with_its_message_and_exit_code(self):
        for arguments, code, message in self.ROWS:
            with self.subTest(arguments=arguments):
                result = run(*arguments)
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

    def test_file_is_replaced_whole_and_kept_when_refused(self):
        target = os.path.join(self.folder, "loan.csv")
        with open(target, "w") as earlier:
            earlier.write("an earlier schedule")
        link = os.path.join(self.folder, "link.csv")
        os.symlink("loan.csv", link)
        refused = run(*LOAN[:4], "--years", "60", "-o", link)
        self.assertEqual(refused.returncode, 1)
        self.assertEqual(read(target), "an earlier schedule")
        written = run(*LOAN, "--format", "csv", "--output", link)
        self.assertEqual(written.returncode, 0, written.stderr)
        self.assertEqual(read(target, "rb"), run(*LOAN, "--format", "csv").stdout)
        self.assertTrue(os.path.islink(link))
        self.assertEqual(sorted(os.listdir(self.folder)), ["link.csv", "loan.csv"])

    def test_a_link_to_no_file_yet_gets_its_file(self):
        link = os.path.join(self.folder, "link.csv")
        os.symlink("loan.csv", link)
        written = run(*LOAN, "--format", "csv", "-o", link)
        self.assertEqual(written.returncode, 0, written.stderr)
        self.assertTrue(os.path.islink(link))
        self.assertEqual(read(os.path.join(self.folder, "loan.csv"), "rb"),
                         run(*LOAN, "--format", "csv").stdout)

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
