#!/usr/bin/env python3
"""quentara-schedule's exact arithmetic against a model of a lender's schedule in Python's
exact fractions: random loans (rate 0, own payments, extra payments, months or years,
amounts up to 10^12, up to 1200 months) through the program's CSV and summary, every row,
the rate as typed, the refusals and the summary to the cent.

    schedule_model_test.py <quentara-schedule> [count] [seed]
"""
import bisect
import calendar
import concurrent.futures
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


def rate_text(percent):
    """The rate as the exact decimal it is, with at least two decimals."""
    places = 2
    while percent * 10**places != int(percent * 10**places):
        places += 1
    return f"{int(percent * 10**places) // 10**places}.{int(percent * 10**places) % 10**places:0{places}d}"


def saved_lines(count, amount):
    """The summary's lines for what a payment or extras save (or add, when negative)."""
    return [f"payments {'saved' if count >= 0 else 'added'}: {abs(count)}",
            f"interest {'saved' if amount >= 0 else 'added'}: {money(abs(amount))}"]


def expected(loan):
    """(exit code, CSV lines, standard error) the program must give, or for a refusal (exit
    code, None, a part of its message)."""
    cents, percent, months, first, own, extras = loan
    rate = percent / 1200
    if own is not None and own <= half_up(cents * rate):
        return (1, None, f"first month's interest of {money(half_up(cents * rate))}")
    due = [due_date(first, n) for n in range(1, months + 1)]
    for date in sorted(extras):
        if date not in due:
            at = bisect.bisect(due, date)
            around = [day_text(due[i]) for i in (at - 1, at) if 0 <= i < months]
            return (2, None, " and ".join(around))
    regular, rows = schedule(cents, percent, months, first, own, extras)
    computed, plain = schedule(cents, percent, months, first)
    header = "due_date,balance,rate,payment,interest,principal,total_paid,total_interest,total_principal"
    lines = [header + (",extra" if extras else "")]
    paid = interest_sum = principal_sum = 0
    for date, payment, interest, principal, extra, balance in rows:
        paid, interest_sum, principal_sum = paid + payment, interest_sum + interest, principal_sum + principal
        figures = [money(f) for f in (payment, interest, principal, paid, interest_sum, principal_sum)]
        lines.append(",".join([day_text(date), money(balance), rate_text(percent)] + figures +
                              ([money(extra)] if extras else [])))
    warnings = []
    if regular == 0:
        warnings.append("warning: the monthly payment rounds to 0.00, so the last payment pays the whole amount")
    unused = sum(1 for date in extras if date > rows[-1][0])
    if unused:
        warnings.append(f"warning: {unused} extra payment{'s fall' if unused > 1 else ' falls'} after the "
                        f"loan is paid off on {day_text(rows[-1][0])} and {'are' if unused > 1 else 'is'} not applied")
    summary = [f"monthly payment: {money(regular)}"]
    if own is not None:
        summary.append(f"computed monthly payment: {money(computed)}")
    summary += [f"payments: {len(rows)}", f"total paid: {money(paid)}",
                f"total interest: {money(interest_sum)}", f"last payment: {money(rows[-1][1])}"]
    if own is not None or extras:
        summary += saved_lines(len(plain) - len(rows), sum(r[2] for r in plain) - interest_sum)
    stderr = "".join(f"quentara-schedule: {w}\n" for w in warnings) + "".join(l + "\n" for l in summary)
    return (0, lines, stderr)


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
        length = ["--months", number_text(rng, Fraction(months), 0)]
    else:  # eighths of a year are halves of a month, which go to the even month
        years = rng.choice([Fraction(rng.randint(1, 800), 8), Fraction(rng.randint(1, 100000), 1000)])
        months = round(years * 12)
        if not 1 <= months <= 1200:
            return None
        length = ["--years", number_text(rng, years, 3)]
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
    arguments = ["--amount", number_text(rng, Fraction(cents, 100), 2),
                 "--rate", number_text(rng, percent, decimals), *length, "--date", day_text(first)]
    if own is not None:
        arguments += ["--payment", money(own)]
    # Given in any order: the program puts them in date order.
    for date, amount in rng.sample(sorted(extras.items()), len(extras)):
        arguments += ["--extra", f"{day_text(date)}={money(amount)}"]
    assert exact(arguments[1]) * 100 == cents and exact(arguments[3]) == percent
    assert round(exact(length[1]) * (12 if length[0] == "--years" else 1)) == months
    return arguments, (cents, percent, months, first, own, extras)


def check(tool, arguments, loan):
    """Runs the program on the loan; a description of the first difference, or None."""
    result = subprocess.run([tool, *arguments, "--format", "csv", "--summary"],
                            capture_output=True, text=True)
    code, want, stderr = expected(loan)
    if result.returncode != code:
        return f"exit {result.returncode}, not {code}: {result.stderr}"
    if want is None:
        ok = result.stdout == "" and stderr in result.stderr and result.stderr.count("\n") == 1
        return None if ok else f"stderr {result.stderr!r} lacks {stderr!r}"
    got = result.stdout.split("\n")
    if got[-1] != "" or got[:-1] != want:
        wrong = next((w, g) for w, g in zip(want + [""], got) if w != g)
        return f"want {wrong[0]}\n  got  {wrong[1]}"
    if result.stderr != stderr:
        return f"stderr {result.stderr!r}, not {stderr!r}"
    # What a lender checks on every schedule: each payment is its interest and principal,
    # each balance the last less the principal, and the loan ends at exactly 0.00.
    rows = [[int(Decimal(f) * 100) for f in line.split(",")[1:]] for line in got[1:-1]]
    balance = loan[0]
    for b, _, p, i, c, *_ in rows:
        if p != i + c or b != balance - c:
            return "a row does not add up"
        balance = b
    return None if balance == 0 else "the balance does not end at 0.00"


def main():
    tool, count = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 320
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 20040131)
    loans = []
    while len(loans) < count:
        loan = random_loan(rng)
        if loan:
            loans.append(loan)
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        problems = list(pool.map(lambda loan: check(tool, *loan), loans))
    failed, seen = 0, set()
    for (arguments, loan), problem in zip(loans, problems):
        code = expected(loan)[0]
        seen.add(f"exit {code}" if code else ("own" if loan[4] else "") + ("extra" if loan[5] else ""))
        if problem:
            failed += 1
            print(f"FAIL {' '.join(arguments)}\n  {problem}")
    print(f"{len(loans) - failed} passed, {failed} failed (kinds: {sorted(seen)})")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
