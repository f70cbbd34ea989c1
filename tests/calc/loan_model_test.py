#!/usr/bin/env python3
"""The exact-cents loan engine against a model of a lender's schedule in Python's exact
fractions: random loans (rate 0, own payments, extra payments, months or years, amounts up
to 10^12, up to 1200 months), every row, the refusals and the summary to the cent.

    loan_model_test.py <loan_driver> [count] [seed]
"""
import bisect
import calendar
import math
import random
import subprocess
import sys
from decimal import Decimal
from fractions import Fraction


def exact(text):
    return Fraction(Decimal(text))


def half_up(value):
    return math.floor(value + Fraction(1, 2))


def money(cents):
    return ("-" if cents < 0 else "") + f"{abs(cents) // 100}.{abs(cents) % 100:02d}"


def day_text(date):
    return f"{date[1]:02d}/{date[2]:02d}/{date[0]:04d}"


def due_date(first, row):
    """A month per row after the first due date, its day cut to the month's length."""
    months = first[1] - 1 + row - 1
    year, month = first[0] + months // 12, months % 12 + 1
    return (year, month, min(first[2], calendar.monthrange(year, month)[1]))


def schedule(cents, percent, months, first, own=None, extras=None):
    """(regular payment, rows); a row is (date, payment, interest, principal, extra, balance)."""
    rate = percent / 1200
    if rate == 0:
        computed = half_up(Fraction(cents, months))
    else:
        computed = half_up(cents * rate / (1 - (1 + rate) ** -months))
    regular = own or computed
    balance, rows = cents, []
    for number in range(1, months + 1):
        date = due_date(first, number)
        interest = half_up(balance * rate)
        extra = 0
        if number == months or regular >= balance + interest:
            payment, principal = balance + interest, balance
        else:
            principal = regular - interest
            extra = min((extras or {}).get(date, 0), balance - principal)
            principal += extra
            payment = regular + extra
        balance -= principal
        rows.append((date, payment, interest, principal, extra, balance))
        if balance == 0:
            break
    return regular, rows


def expected_lines(loan):
    """What the driver must print for the loan, or a part of its error sentence."""
    cents, percent, months, first, own, extras = loan
    rate = percent / 1200
    if own is not None and own <= half_up(cents * rate):
        return ("error", f"first month's interest of {money(half_up(cents * rate))}")
    due = [due_date(first, n) for n in range(1, months + 1)]
    for date in sorted(extras):
        if date not in due:
            at = bisect.bisect(due, date)
            around = [day_text(due[i]) for i in (at - 1, at) if 0 <= i < months]
            return ("error", " and ".join(around))
    regular, rows = schedule(cents, percent, months, first, own, extras)
    computed, plain = schedule(cents, percent, months, first)
    lines = [f"payment,{money(regular)}"]
    paid = interest_sum = principal_sum = 0
    for number, (date, payment, interest, principal, extra, balance) in enumerate(rows, 1):
        paid, interest_sum, principal_sum = paid + payment, interest_sum + interest, principal_sum + principal
        figures = [payment, interest, principal, extra, balance, paid, interest_sum, principal_sum]
        lines.append(",".join(["row", str(number), day_text(date)] + [money(f) for f in figures]))
    unused = sum(1 for date in extras if date > rows[-1][0])
    lines.append(",".join(str(v) for v in [
        "summary", len(rows), money(paid), money(interest_sum), money(principal_sum),
        money(rows[-1][1]), day_text(rows[-1][0]), money(computed), len(plain),
        money(sum(r[2] for r in plain)), unused]))
    return ("rows", lines)


def number_text(rng, value, decimals):
    """A decimal text of value (a Fraction with at most `decimals` decimals), in one of the
    forms a person may type: plain, with a trailing zero, or with an exponent."""
    digits = int(value * 10**decimals)
    whole, part = divmod(digits, 10**decimals)
    plain = f"{whole}.{part:0{decimals}d}" if decimals else str(digits)
    text = str(digits)
    return rng.choice([plain, plain + "0" if decimals else plain, f"{digits}e-{decimals}",
                       f"{text[0]}.{text[1:]}e{len(text) - 1 - decimals}"])


def random_loan(rng):
    cents = rng.choice([rng.randint(1, 10**4), rng.randint(10**5, 10**8), rng.randint(1, 10**14)])
    decimals = rng.choice([0, 0, 1, 2, 3, 15])
    percent = rng.choice([0, Fraction(rng.randint(1, 30 * 10**decimals), 10**decimals),
                          Fraction(rng.randint(1, 1000 * 10**decimals), 10**decimals)])
    if rng.random() < 0.5:
        months = rng.choice([rng.randint(1, 36), rng.randint(1, 1200), 360, 1200])
        length = f"months={number_text(rng, Fraction(months), 0)}"
    else:  # eighths of a year are halves of a month, which go to the even month
        years = rng.choice([Fraction(rng.randint(1, 800), 8), Fraction(rng.randint(1, 100000), 1000)])
        months = round(years * 12)
        if not 1 <= months <= 1200:
            return None
        length = f"years={number_text(rng, years, 3)}"
    year, month = rng.randint(1800, 2200), rng.randint(1, 12)
    first = (year, month, rng.randint(1, calendar.monthrange(year, month)[1]))
    regular, _ = schedule(cents, percent, months, first)
    own = None
    if rng.random() < 0.3:
        own = max(1, int(regular * Fraction(rng.randint(10, 250), 100)))
    extras = {}
    if rng.random() < 0.3:
        for row in rng.sample(range(1, months + 1), min(months, rng.randint(1, 5))):
            extras[due_date(first, row)] = rng.choice([rng.randint(1, 10**4), rng.randint(1, 10**15)])
        if rng.random() < 0.15:  # a day that is no due date
            extras[(first[0] + rng.randint(-1, 101), rng.randint(1, 12), rng.randint(1, 28))] = 100
    words = [f"amount={number_text(rng, Fraction(cents, 100), 2)}",
             f"rate={number_text(rng, percent, decimals)}", length,
             f"date={day_text(first)}"]
    if own is not None:
        words.append(f"payment={money(own)}")
    words += [f"extra={day_text(d)}:{money(a)}" for d, a in sorted(extras.items())]
    assert exact(words[0][7:]) * 100 == cents and exact(words[1][5:]) == percent
    assert round(exact(length.split("=")[1]) * (12 if length[0] == "y" else 1)) == months
    return " ".join(words), (cents, percent, months, first, own, extras)


def main():
    driver, count = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 320
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 20040131)
    loans = []
    while len(loans) < count:
        loan = random_loan(rng)
        if loan:
            loans.append(loan)
    out = subprocess.run([driver], input="".join(line + "\n" for line, _ in loans),
                         capture_output=True, text=True, check=True).stdout
    blocks = out.split("end\n")[:-1]
    assert len(blocks) == len(loans), f"{len(blocks)} answers to {len(loans)} loans"
    failed, seen = 0, set()
    for (line, loan), block in zip(loans, blocks):
        got = block.splitlines()
        kind, want = expected_lines(loan)
        seen.add(kind if kind == "error" else ("own" if loan[4] else "") + ("extra" if loan[5] else ""))
        if kind == "error":
            ok = len(got) == 1 and got[0].startswith("error,") and want in got[0]
        else:
            rows = [[int(Decimal(f) * 100) for f in r.split(",")[3:]] for r in got[1:-1]]
            ok = got == want and rows[-1][4] == 0 and all(
                p == i + c and (n == 0 or rows[n - 1][4] - c == b)
                for n, (p, i, c, e, b, *_) in enumerate(rows))
        if not ok:
            failed += 1
            wrong = [(w, g) for w, g in zip(want if kind == "rows" else [want], got) if w != g]
            print(f"FAIL {line}\n  want {(wrong or [(want, got)])[0][0]}\n  got  {(wrong or [(want, got)])[0][1]}")
    print(f"{len(loans) - failed} passed, {failed} failed (kinds: {sorted(seen)})")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
