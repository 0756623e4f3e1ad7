#!/usr/bin/env python3
"""The independent oracle's rules, each against a table of cases worked out
by hand and never taken from the program's C++ code: a golden file is only
as good as the oracle that wrote it.

    python3 test_make_expected.py
"""

import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_expected as oracle  # noqa: E402


def sj(text):
    return text.encode("cp932")


class ValueRules(unittest.TestCase):
    def test_amount_text(self):
        cases = [  # (stored, written)
            ("whole yen", 123450000, b"12345"),
            ("negative", -5000000, b"-500"),
            ("half a yen is empty", 5000, b""),
            ("truncated, not rounded", 99990, b"9"),
            ("negative truncated toward zero", -25000, b"-2"),
            ("large", 1234567890000, b"123456789"),
            ("zero is empty", 0, b""),
        ]
        for name, stored, written in cases:
            with self.subTest(name):
                self.assertEqual(oracle.amount_text(stored), written)

    def test_json_amounts_scale_exactly(self):
        cases = [(12345, 123450000), ("-1234.5", -12345000), ("0.9999", 9999),
                 ("-0.0001", -1), ("+7.25", 72500)]
        for value, stored in cases:
            with self.subTest(value):
                self.assertEqual(oracle.scaled(value), stored)
        for bad in ["1.23456", "1e3", "abc", 1.5]:
            with self.subTest(bad):
                self.assertRaises(ValueError, oracle.scaled, bad)

    def test_contract_month_truncates_toward_zero(self):
        cases = [(20230401, b"202304"), (0, b""), (99, b""), (-99, b""), (-150, b"-1")]
        for date, written in cases:
            with self.subTest(date):
                self.assertEqual(
                    oracle.count_text(oracle.truncating_division(date, 100)), written)

    def test_format_area(self):
        cases = [(1234500, b"123.45"), (1234550, b"123.46"), (5, b"0.00"), (-15000, b"-1.50"),
                 (-10, b"0.00"), (1000000, b"100.00"), (1505000, b"150.50"),
                 (1234567, b"123.46"), (9999950, b"1000.00")]
        for stored, written in cases:
            with self.subTest(stored):
                self.assertEqual(oracle.format_area(stored), written)
        self.assertEqual(oracle.area_text(0), b"")


class TextRules(unittest.TestCase):
    def test_fit_text(self):
        cases = [
            ("35 single bytes keep 30", b"A" * 35, 30, b"A" * 30),
            ("a character on bytes 30 and 31 goes whole",
             b"A" * 29 + sj("表") + b"B", 30, b"A" * 29),
            ("a character ending at byte 30 stays",
             sj("表") * 15 + b"B", 30, sj("表") * 15),
            ("exactly at the limit", sj("店舗兼住宅用"), 12, sj("店舗兼住宅用")),
            ("shorter", b"abc", 10, b"abc"),
        ]
        for name, text, limit, fitted in cases:
            with self.subTest(name):
                self.assertEqual(oracle.fit_text(text, limit), fitted)

    def test_clean_item_name(self):
        cases = [
            ("blank, brackets and the mark", "【雑費】 (製)", "雑費"),
            ("full-width blanks and parentheses", "　（会議　費）", "会議費"),
            ("double angle and square brackets", "《図書》［費］", "図書費"),
            ("a 0x5C second byte is kept", "表 ソ能", "表ソ能"),
            ("nothing to remove", "雑費&<1>", "雑費&<1>"),
            ("a second byte never starts a removal", "メnテ", "メnテ"),
        ]
        for name, source, cleaned in cases:
            with self.subTest(name):
                self.assertEqual(oracle.clean_item_name(sj(source)), sj(cleaned))

    def test_full_width_company_names(self):
        cases = [
            ("three capitals", "ABC", "ＡＢＣ"),
            ("blank and symbols", "A&B 1.", "Ａ＆Ｂ　１．"),
            ("voiced marks combine", "ｶﾞﾊﾟｳﾞ", "ガパヴ"),
            ("a lone voiced mark stays a mark", "ﾞｱ", "゛ア"),
            ("double-byte characters stay", "表参道", "表参道"),
        ]
        for name, source, wide in cases:
            with self.subTest(name):
                self.assertEqual(oracle.company_name_text(sj(source)), sj(wide))

    def test_long_company_name_is_cut_at_a_character(self):
        name = sj("ｱ" * 40)  # 40 bytes, 80 once in full width
        self.assertEqual(oracle.company_name_text(name), sj("ア" * 31))


class SpecialCircumstances(unittest.TestCase):
    def test_lines(self):
        cases = [
            ("empty text", b"", 60, 5, [b""] * 5),
            ("two short lines", b"abc\r\ndef", 60, 5, [b"abc", b"def", b"", b"", b""]),
            ("cut at the width", b"a" * 70, 60, 5, [b"a" * 60, b"a" * 10, b"", b"", b""]),
            ("a character across the cut moves whole", b"a" * 59 + sj("表") + b"b", 60, 3,
             [b"a" * 59, sj("表") + b"b", b""]),
            ("two line ends give an empty line", b"a\r\n\r\nb", 60, 4, [b"a", b"", b"b", b""]),
            ("a full line before its line end adds no empty line",
             b"c" * 60 + b"\r\nd", 60, 3, [b"c" * 60, b"d", b""]),
            ("a lone LF stays in the line", b"x\ny\r\nz", 60, 2, [b"x\ny", b"z"]),
            ("the rest after the last line is dropped",
             b"\r\n".join([b"line%02d" % i for i in range(40)]), 30, 25,
             [b"line%02d" % i for i in range(25)]),
        ]
        for name, text, width, lines, expected in cases:
            with self.subTest(name):
                self.assertEqual(oracle.special_lines(text, width, lines), expected)


class BlueDeduction(unittest.TestCase):
    YEN = 10000

    def test_deduction_values(self):
        cases = [  # (name, real-estate income, income before, selection, five values)
            ("remainder granted", 200000, 3000000, 1,
             [b"200000", b"3000000", b"1", b"450000", b""]),
            ("used up by real estate", 800000, 3000000, 1,
             [b"800000", b"3000000", b"1", b"0", b""]),
            ("capped at the income", 0, 300000, 1, [b"0", b"300000", b"1", b"300000", b""]),
            ("the smaller deduction", 30000, 1000000, 0,
             [b"30000", b"1000000", b"2", b"", b"70000"]),
            ("a real-estate loss counts as 0", -50000, 1000000, 1,
             [b"0", b"1000000", b"1", b"650000", b""]),
            ("a business loss grants 0", 0, -70000, 1, [b"0", b"0", b"1", b"0", b""]),
        ]
        for name, real_estate, income, selection, values in cases:
            with self.subTest(name):
                got = oracle.blue_deduction_values(real_estate * self.YEN, income * self.YEN,
                                                   selection)
                self.assertEqual([v for _, v in got], values)

    def test_rounding_half_up(self):
        got = oracle.blue_deduction_values(12345000, 12344999, 1)  # 1234.5 and 1234.4999 yen
        self.assertEqual(got[0][1], b"1235")
        self.assertEqual(got[1][1], b"1234")


class SupportFile(unittest.TestCase):
    def values(self, content):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "SUPPORT.INF")
            with open(path, "wb") as f:
                f.write(content)
            return oracle.support_values(path)

    def test_lookups(self):
        name, version = sj("[=製品名=]"), sj("[=製品ﾊﾞｰｼﾞｮﾝ=]")
        cases = [
            ("a line yields its value", name + sj("勘定丸") + b"\r\n", sj("勘定丸"), b""),
            ("a blank after the key is kept", name + b" X\r\n", b" X", b""),
            ("the first of two", name + b"A\r\n" + name + b"B\r\n", b"A", b""),
            ("the last line needs no line end", version + b"19.00.05", b"", b"19.00.05"),
            ("the end-of-file mark is no part of it", version + b"19.1\x1a", b"", b"19.1"),
            ("a multi-line value keeps its lines and stops at the next key",
             sj("[=お問い合わせ内容=]") + b"a\r\nb\r\n" + name + b"N\r\n", b"N", b""),
        ]
        for label, content, want_name, want_version in cases:
            with self.subTest(label):
                self.assertEqual(self.values(content), (want_name, want_version))

    def test_no_file(self):
        self.assertEqual(oracle.support_values(None), (b"", b""))


if __name__ == "__main__":
    unittest.main()
