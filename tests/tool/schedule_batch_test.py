#!/usr/bin/env python3
"""quentara-schedule --batch as a person or a script runs it: a file of random loans against
the same loans run one at a time, JSON Lines against the single loan's JSON, bad lines told
on standard error while the others are written, wrong files refused before anything is
written, the same bytes on one thread and on four, and a file split by GNU parallel.

    schedule_batch_test.py <quentara-schedule>
"""
import concurrent.futures
import csv
import json
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

TOOL = None
HEADER = "id,amount,rate,years,months,date,payment"


def run(*args, **kwargs):
    return subprocess.run([TOOL, *args], capture_output=True, **kwargs)


def random_loans(count, seed=20261207):
    """(id, amount, rate, years, months, date, payment) texts; some loans are refused."""
    chance = random.Random(seed)
    loans = []
    for number in range(1, count + 1):
        amount = chance.choice([str(chance.randint(1, 10**6)),
                                f"{chance.randint(1, 10**9) / 100:.2f}"])
        rate = chance.choice(["0", str(chance.randint(0, 2000) / 100),
                              str(chance.randint(1, 20000) / 1000)])
        years = months = ""
        if chance.random() < 0.5:
            years = chance.choice(["1", "2.5", "5", "15", "30", "0.125"])
        else:
            months = str(chance.randint(1, 420))
        # Now and then a 31st of a 30-day month, or no date (today).
        date = "" if chance.random() < 0.02 else (
            f"{chance.randint(1, 12):02d}/{chance.randint(1, 31):02d}/{chance.randint(1900, 2100)}")
        payment = "" if chance.random() < 0.9 else f"{chance.randint(1, 10**7) / 100:.2f}"
        ident = "" if chance.random() < 0.1 else f"L{number}"
        loans.append((ident, amount, rate, years, months, date, payment))
    return loans


def loan_file(loans, path):
    with open(path, "w") as file:
        file.write(HEADER + "\n")
        for loan in loans:
            file.write(",".join(loan) + "\n")


def single_run(loan, *options):
    _, amount, rate, years, months, date, payment = loan
    args = ["--amount", amount, "--rate", rate, *options]
    args += ["--years", years] if years else ["--months", months]
    args += ["--date", date] if date else []
    args += ["--payment", payment] if payment else []
    return run(*args)


class Batch(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="quentara-batch-")
        self.addCleanup(shutil.rmtree, self.folder)

    def path(self, name):
        return os.path.join(self.folder, name)

    def test_each_loan_as_when_run_alone(self):
        loans = random_loans(1000)
        loan_file(loans, self.path("loans.csv"))
        batch = run("--batch", self.path("loans.csv"), "--jobs", "2")
        with concurrent.futures.ThreadPoolExecutor(max_workers=4) as pool:
            alone = list(pool.map(lambda loan: single_run(loan, "--format", "csv"), loans))
        rows, expected_rows, expected_messages = {}, {}, []
        lines = batch.stdout.decode().splitlines()
        self.assertEqual(lines[0], "id,due_date,balance,rate,payment,interest,principal,"
                                   "total_paid,total_interest,total_principal")
        for line in lines[1:]:
            ident, row = line.split(",", 1)
            rows.setdefault(ident, []).append(row)
        for number, (loan, result) in enumerate(zip(loans, alone), start=1):
            ident = loan[0] or str(number)
            if result.returncode == 0:
                expected_rows[ident] = result.stdout.decode().splitlines()[1:]
                continue
            why = result.stderr.decode().removeprefix("quentara-schedule: ").removeprefix("--")
            expected_messages.append(f'quentara-schedule: line {number + 1}, id "{ident}": {why}')
        self.assertGreater(len(expected_messages), 10)
        self.assertGreater(len(expected_rows), 900)
        self.assertEqual(rows, expected_rows)
        self.assertEqual(batch.stderr.decode().splitlines(True), expected_messages)
        self.assertEqual(batch.returncode, 1)

        # The same bytes on one thread and on four, also through -o.
        one = run("--batch", self.path("loans.csv"), "--jobs", "1", "--format", "json")
        four = run("--batch", self.path("loans.csv"), "--jobs", "4", "--format", "json",
                   "-o", self.path("four.json"))
        with open(self.path("four.json"), "rb") as file:
            self.assertTrue(file.read() == one.stdout)
        self.assertEqual(four.stderr, one.stderr)

    def test_json_lines_are_the_single_loans_objects_with_their_id(self):
        loans = [("", "250000", "6.5", "30", "", "02/01/2027", "2000"),
                 ("b", "5000", "4", "1", "", "01/31/2004", "")]
        for options in [[], ["--calculator"]]:
            with self.subTest(options=options):
                with open(self.path("loans.csv"), "w") as file:
                    file.write("id,amount,rate,years,date,payment\n")
                    file.writelines(",".join(loan[:4] + loan[5:]) + "\n" for loan in loans)
                batch = run("--batch", self.path("loans.csv"), "--format", "json", *options)
                self.assertEqual(batch.returncode, 0, batch.stderr)
                lines = batch.stdout.decode().splitlines()
                self.assertEqual(len(lines), 2)
                for ident, line, loan in zip(["1", "b"], lines, loans):
                    alone = json.loads(single_run(loan, "--format", "json", *options).stdout)
                    self.assertEqual(json.loads(line), {"id": ident, **alone})

    # A file of loans with bad lines among them, and what standard error says of each.
    BAD_LINES = [
        # line of the file, standard error ("" for a loan that is written)
        ('good,5000,4,1,01/31/2004,\r\n', ""),
        ('"a ""quoted"", id\nover two lines",5000,4,1,01/31/2004,\n', ""),
        ('cent,5000.001,4,1,01/31/2004,\n',
         'line 5, id "cent": amount: the amount must be whole cents (at most 2 decimal places)'),
        ('april,5000,4,1,04/31/2004,\n', 'line 6, id "april": There are only 30 days in April.'),
        ('slash,5000,4,1,4/30/2004,\n',
         'line 7, id "slash": date: "4/30/2004" is not a date as mm/dd/yyyy'),
        ('small,5000,4,1,01/31/2004,16.67\n',
         'line 8, id "small": payment: the payment must be more than the first month\'s '
         'interest of 16.67, or the loan would never shrink'),
        (',5000,4,1,01/31/2004,\n', ""),
        ('short,5000,4,1\n', 'line 10, id "short": the line has 4 fields where the header has 6'),
        ('\n', ""),
        ('comma,5,000,4,1,01/31/2004,\n',
         'line 12, id "comma": the line has 7 fields where the header has 6'),
        ('wo"rd,5000,4,1,01/31/2004,\n',
         'line 13, id "wo\\"rd": a quote is inside a field that does not start with one'),
        ('empty,,4,1,01/31/2004,\n', 'line 14, id "empty": amount is empty'),
        ('last,100,0,0.25,01/31/2004,', ""),
    ]

    def test_bad_lines_are_told_and_the_others_written(self):
        with open(self.path("loans.csv"), "w", newline="") as file:
            file.write("id,amount,rate,years,date,payment\n")
            file.writelines(line for line, _ in self.BAD_LINES)
        with open(self.path("out.csv"), "w") as file:
            file.write("earlier")
        batch = run("--batch", self.path("loans.csv"), "-o", self.path("out.csv"))
        self.assertEqual(batch.returncode, 1)
        self.assertEqual(batch.stderr.decode(), "".join(
            f"quentara-schedule: {why}\n" for _, why in self.BAD_LINES if why))
        with open(self.path("out.csv"), newline="") as file:
            written = [row[0] for row in csv.reader(file)][1:]
        self.assertEqual(sorted(set(written)),
                         ['7', 'a "quoted", id\nover two lines', "good", "last"])
        self.assertEqual(len(written), 12 + 12 + 12 + 3)

    WRONG_FILES = [
        # header row (None: the file cannot be read), standard error after the program's name
        ("amount,rate,years,colour\n",
         'the header row of "@" has an unknown column "colour" (the columns are amount, rate, '
         "years or months, date, payment and id)"),
        ("amount,years\n", 'the header row of "@" has no column rate'),
        ("amount,rate,date\n", 'the header row of "@" has neither a column years nor a column months'),
        ("amount,rate,years,rate\n", 'the header row of "@" names the column rate twice'),
        ("", '"@" has no header row'),
        (None, 'cannot read "@": No such file or directory'),
    ]

    def test_wrong_files_write_nothing(self):
        with open(self.path("out.csv"), "w") as file:
            file.write("earlier")
        for header, why in self.WRONG_FILES:
            with self.subTest(header=header):
                path = self.path("missing.csv")
                if header is not None:
                    path = self.path("loans.csv")
                    with open(path, "w") as file:
                        file.write(header + "1,2,3,4\n" if header else "")
                result = run("--batch", path, "-o", self.path("out.csv"))
                self.assertEqual(result.returncode, 2)
                self.assertEqual(result.stderr.decode(),
                                 "quentara-schedule: " + why.replace("@", path) + "\n")
                with open(self.path("out.csv")) as file:
                    self.assertEqual(file.read(), "earlier")
                self.assertLessEqual(set(os.listdir(self.folder)), {"out.csv", "loans.csv"})

    def test_gnu_parallel_over_two_processes(self):
        loans = [("L%04d" % number, *loan[1:]) for number, loan in
                 enumerate(random_loans(300, seed=7), start=1)]
        loan_file(loans, self.path("loans.csv"))
        alone = run("--batch", self.path("loans.csv"), "--summary")
        with open(self.path("loans.csv"), "rb") as file:
            spread = subprocess.run(
                ["parallel", "--will-cite", "--pipe", "--header", "1", "--block", "4k", "-j", "2", TOOL,
                 "--batch", "-", "--summary"], stdin=file, capture_output=True)
        header = alone.stdout.splitlines()[0]
        parts = spread.stdout.splitlines()
        self.assertGreater(parts.count(header), 1)
        self.assertEqual(sorted(line for line in parts if line != header),
                         sorted(alone.stdout.splitlines()[1:]))
        # Line numbers start again in each part; the ids stay.
        self.assertEqual(sorted(re.findall(rb'id "\w+"', spread.stderr)),
                         sorted(re.findall(rb'id "\w+"', alone.stderr)))


if __name__ == "__main__":
    TOOL = os.path.realpath(sys.argv.pop(1))
    unittest.main(verbosity=2)
