#!/usr/bin/env python3
"""The Python module quentara: figures against published values, Decimal money, the
engine's sentences as ValueError, and batch() agreeing with single calls.

    PYTHONPATH=<folder of the built module> python3 quentara_test.py
"""
import datetime
import unittest
from decimal import Decimal

import quentara


class Figures(unittest.TestCase):
    # (arguments, payment, first row's interest and principal): published figures.
    loans = [
        (("15000", "8"), {"months": 60}, "304.15", "100.00", "204.15"),
        ((55000, Decimal("10")), {"years": "5"}, "1168.59", "458.33", "710.26"),
    ]

    def test_payment_and_first_row(self):
        for args, length, payment, interest, principal in self.loans:
            with self.subTest(args=args):
                self.assertEqual(quentara.payment(*args, **length), Decimal(payment))
                first = quentara.schedule(*args, **length, date="01/31/2004")[0]
                self.assertEqual((first.interest, first.principal),
                                 (Decimal(interest), Decimal(principal)))

    def test_money_is_decimal_and_dates_are_dates(self):
        rows = quentara.schedule("15000", "8", months=60, date=datetime.date(2004, 1, 31))
        self.assertEqual(len(rows), 60)
        first, last = rows[0], rows[-1]
        self.assertEqual(first.due_date, datetime.date(2004, 1, 31))
        figures = [first.payment, first.interest, first.principal, first.extra, first.balance,
                   *first.totals, quentara.payment("1", "1", months=1)]
        self.assertTrue(all(type(figure) is Decimal for figure in figures))
        self.assertEqual((last.number, last.balance, last.totals.principal),
                         (60, Decimal("0.00"), Decimal("15000.00")))

    def test_extras_as_pairs_or_dict(self):
        for extras in ([("03/31/2004", "1000")], {datetime.date(2004, 3, 31): Decimal(1000)}):
            rows = quentara.schedule("15000", "8", months=60, date="01/31/2004", extras=extras)
            self.assertEqual(rows[2].extra, Decimal("1000.00"))


class Errors(unittest.TestCase):
    cases = [
        ({"amount": "-5"}, ValueError, "the amount cannot be negative"),
        ({"rate": "8%"}, ValueError, "the rate is not a number (digits with an optional sign, "
                                     "decimal point and exponent)"),
        ({"date": "04/31/2004"}, ValueError, "the first due date 04/31/2004 is not a day of the "
                                             "calendar: April has 30 days"),
        ({"payment": "50"}, ValueError, "the payment must be more than the first month's "
                                        "interest of 100.00, or the loan would never shrink"),
        ({"date": "4/30/2004"}, ValueError, "date must be mm/dd/yyyy, not '4/30/2004'"),
        ({"amount": 15000.0}, TypeError, "amount is a float, which cannot hold most decimal "
                                         "fractions exactly: pass it as a str or Decimal, "
                                         "e.g. '15000.0'"),
        ({"years": 5}, TypeError, "give the length as months or years, not both"),
    ]

    def test_refusals(self):
        for change, error, sentence in self.cases:
            with self.subTest(change=change):
                loan = {"amount": "15000", "rate": "8", "months": 60, "date": "01/31/2004"}
                with self.assertRaises(error) as raised:
                    quentara.schedule(**{**loan, **change})
                self.assertEqual(str(raised.exception), sentence)


class Batch(unittest.TestCase):
    loans = [{"amount": "15000", "rate": "8", "months": 60, "date": "01/31/2004",
              "extras": [("06/30/2004", "500")]},
             ("55000", "10", None, "5", datetime.date(2010, 5, 31), "1200")]

    def test_equals_single_calls(self):
        singles = [quentara.schedule(**self.loans[0]), quentara.schedule(*self.loans[1])]
        self.assertEqual(quentara.batch(self.loans, rows=True), singles)
        for summary, rows in zip(quentara.batch(iter(self.loans)), singles):
            self.assertEqual((summary.payments, summary.total_interest, summary.payoff_date),
                             (len(rows), rows[-1].totals.interest, rows[-1].due_date))

    def test_names_the_loan_that_is_refused(self):
        # Refused as it is read, and as it is computed.
        for loan, sentence in [(("-1", "8", 12), "the amount cannot be negative"),
                               (("1", "8", 12, None, "04/31/2004"),
                                "the first due date 04/31/2004 is not a day of the calendar: "
                                "April has 30 days")]:
            with self.assertRaises(ValueError) as raised:
                quentara.batch([self.loans[0], loan])
            self.assertEqual(str(raised.exception), "loan 1: " + sentence)


if __name__ == "__main__":
    unittest.main()
