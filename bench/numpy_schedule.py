#!/usr/bin/python3
"""The schedules of a file of loans computed with numpy, vectorised over the loans, and
written as quentara-schedule --batch writes them as CSV: the yardstick of the portfolio
benchmark. Written from the schedule's rules alone, for the benchmark's loans: ids
L<number>, amounts in cents below 10^9, rates with two decimals, lengths in whole years, a
first due date on every line. Cents are int64; only the payment's formula is in floating
point, rounded half up to the cent.

    numpy_schedule.py LOANS.csv [--compute-only] > schedules.csv
"""
import sys

import numpy as np

CHUNK = 1000  # loans computed together


def days_in_month(year, month):
    leap = ((year % 4 == 0) & (year % 100 != 0)) | (year % 400 == 0)
    days = np.array([31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31])[month - 1]
    return days + ((month == 2) & leap)


def read_loans(path):
    """Columns id,amount,rate,years,date as int64 arrays."""
    text = np.loadtxt(path, delimiter=",", skiprows=1, dtype=str)
    number = np.char.lstrip(text[:, 0], "L").astype(np.int64)
    amount = np.round(text[:, 1].astype(np.float64) * 100).astype(np.int64)
    rate = np.round(text[:, 2].astype(np.float64) * 100).astype(np.int64)  # hundredths of a %
    months = text[:, 3].astype(np.int64) * 12
    date = np.char.split(text[:, 4], "/")
    month, day, year = (np.array([int(d[i]) for d in date], dtype=np.int64) for i in range(3))
    return number, amount, rate, months, month, day, year


def schedules(number, amount, rate, months, month, day, year):
    """The rows of the loans, loan after loan, as one int64 array of columns."""
    n = int(months.max())
    r = rate / 120000.0
    with np.errstate(divide="ignore", invalid="ignore"):
        formula = np.where(rate == 0, amount / months,
                           amount * r / -np.expm1(-months * np.log1p(r)))
    payment = np.floor(formula + 0.5).astype(np.int64)
    balance = amount.copy()
    paid = np.zeros_like(amount)
    interest_paid = np.zeros_like(amount)
    columns = np.zeros((len(amount), n, 20), dtype=np.int64)
    live = np.ones((len(amount), n), dtype=bool)
    open_ = np.ones(len(amount), dtype=bool)
    for k in range(n):
        live[:, k] = open_ & (k < months)
        # Each month's interest: balance x rate / 120000, rounded half up, exactly.
        interest = (2 * balance * rate + 120000) // 240000
        last = (k + 1 == months) | (payment >= balance + interest)
        pay = np.where(last, balance + interest, payment)
        principal = pay - interest
        balance = balance - principal
        paid += pay
        interest_paid += interest
        index = month - 1 + k
        due_year, due_month = year + index // 12, index % 12 + 1
        due_day = np.minimum(day, days_in_month(due_year, due_month))
        columns[:, k] = np.stack([
            number, due_month, due_day, due_year, balance // 100, balance % 100,
            rate // 100, rate % 100, pay // 100, pay % 100, interest // 100, interest % 100,
            principal // 100, principal % 100, paid // 100, paid % 100,
            interest_paid // 100, interest_paid % 100, (paid - interest_paid) // 100,
            (paid - interest_paid) % 100], axis=1)
        open_ &= ~last
    return columns[live]


ROW = "L%05d,%02d/%02d/%04d" + ",%d.%02d" * 8


def main():
    loans = read_loans(sys.argv[1])
    compute_only = "--compute-only" in sys.argv
    out = sys.stdout.buffer
    if not compute_only:
        out.write(b"id,due_date,balance,rate,payment,interest,principal,total_paid,"
                  b"total_interest,total_principal\n")
    for start in range(0, len(loans[0]), CHUNK):
        rows = schedules(*(column[start:start + CHUNK] for column in loans))
        if not compute_only:
            np.savetxt(out, rows, fmt=ROW)


if __name__ == "__main__":
    main()
