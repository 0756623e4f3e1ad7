#!/usr/bin/env python3
"""The report the export program should write for one engine data set.

An independent oracle: the report's rules written a second time, in
Python, and never derived from the program's C++ code. It reads the JSON
form that `ledger-engine load` takes, picks the data set the current user
selected, collects the rows the way the collector does, and writes the XML
report (Shift_JIS, CR LF, TAB indentation). Standard library only.

    make_expected.py DATA.json OUT.xml --income-kind K
        [--edition std|net] [--function-id N] [--support SUPPORT.INF]

regenerate.sh runs it for every golden data set.
"""

import argparse
import json
import re
import sys

ENCODING = "cp932"

# ------------------------------------------------------------------ tables

# Item tables: (element, code, spare).
BLUE_GENERAL_PL = [
    ("URIAGEKINGAKU", 101, 0), ("KISYUSYOHINTANAOROSIDAKA", 104, 0),
    ("SIIREKINGAKU", 105, 0), ("KIMATUSYOHINTANAOROSIDAKA", 106, 0),
    ("SOZEIKOUKA", 108, 0), ("NIZUKURIUNTIN", 109, 0), ("SUIDOUKOUNETUHI", 110, 0),
    ("RYOHIKOUTUUHI", 111, 0), ("TUUSINHI", 112, 0), ("KOUKOKUSENDENHI", 113, 0),
    ("SETTAIKOUSAIHI", 114, 0), ("SONGAIHOKENRYOU", 115, 0), ("SYUUZENHI", 116, 0),
    ("SYOUMOUHINHI", 117, 0), ("GENKASHOUKYAKUHI", 118, 0), ("FUKURIKOUSEIHI", 119, 0),
    ("KYUURYOUTINGIN", 120, 0), ("GAICHUUKOUTIN", 121, 0), ("RISIWARIBIKIRYOU", 122, 0),
    ("TIDAIYATIN", 123, 0), ("KASIDAOREKIN", 124, 0), ("KEIHI_YOBI1", 125, 1),
    ("KEIHI_YOBI2", 126, 1), ("KEIHI_YOBI3", 127, 1), ("KEIHI_YOBI4", 128, 1),
    ("KEIHI_YOBI5", 129, 1), ("KEIHI_YOBI6", 130, 1), ("ZAPPI", 131, 0),
    ("KURIMODOSI_KASIDAOREHIKIATEKIN", 135, 0), ("KURIMODOSI_YOBI1", 136, 1),
    ("KURIMODOSI_YOBI2", 137, 1), ("SENJYUUSYAKYUUYO", 140, 0),
    ("KURIIRE_KASIDAOREHIKIATEKIN", 141, 0), ("KURIIRE_YOBI1", 142, 1),
    ("KURIIRE_YOBI2", 143, 1),
]

WHITE_GENERAL_PL = [
    ("SYUNYUGAKU", 1, 0), ("KAJISYOUHI", 2, 0), ("SONOTASYUNYU", 3, 0),
    ("KISYUSYOHINTANAOROSIDAKA", 5, 0), ("SIIREKINGAKU", 6, 0),
    ("KIMATUSYOHINTANAOROSIDAKA", 8, 0), ("KYUURYOUTINGIN", 11, 0),
    ("GAICHUUKOUTIN", 12, 0), ("GENKASHOUKYAKUHI", 13, 0), ("KASIDAOREKIN", 14, 0),
    ("TIDAIYATIN", 15, 0), ("RISIWARIBIKIRYOU", 16, 0), ("SOZEIKOUKA", 21, 0),
    ("NIZUKURIUNTIN", 22, 0), ("SUIDOUKOUNETUHI", 23, 0), ("RYOHIKOUTUUHI", 24, 0),
    ("TUUSINHI", 25, 0), ("KOUKOKUSENDENHI", 26, 0), ("SETTAIKOUSAIHI", 27, 0),
    ("SONGAIHOKENRYOU", 28, 0), ("SYUUZENHI", 29, 0), ("SYOUMOUHINHI", 30, 0),
    ("FUKURIKOUSEIHI", 31, 0), ("KEIHI_YOBI1", 32, 1), ("KEIHI_YOBI2", 33, 1),
    ("KEIHI_YOBI3", 34, 1), ("KEIHI_YOBI4", 35, 1), ("KEIHI_YOBI5", 36, 1),
    ("ZAPPI", 37, 0), ("SENJYUSYAKOUJYO", 998, 0),
]

COST_OF_MANUFACTURE = [
    ("KISYUGENZAIRYOUTANAOROSIDAKA", 301, 0), ("GENZAIRYOUSIIREDAKA", 302, 0),
    ("KIMATUGENZAIRYOUTANAOROSIDAKA", 304, 0), ("ROUMUHI", 306, 0),
    ("GAICHUUKOUTIN", 307, 0), ("DENNRYOKUHI", 308, 0), ("SUIDOUKOUNETUHI", 309, 0),
    ("SYUZENHI", 310, 0), ("GENKASYOUKYAKUHI", 311, 0),
] + [("SEIZOUKEIHI_YOBI%d" % n, 311 + n, 1) for n in range(1, 9)] + [
    ("ZAPPI", 320, 0), ("KISYUHANSEIHIN", 323, 0), ("KIMATUHANSEIHIN", 325, 0),
]

BLUE_REAL_ESTATE_PL = [
    ("TINTAIRYO", 101, 0), ("REIKIN_KENRIKIN_KOUSINRYOU", 102, 0),
    ("SYUUNYUUKINGAKU_YOBI", 103, 1), ("SOZEIKOUKA", 105, 0), ("SONGAIHOKENRYOU", 106, 0),
    ("SYUUZENHI", 107, 0), ("GENKASHOUKYAKUHI", 108, 0), ("SYAKUNYUUKINRISI", 109, 0),
    ("TIDAIYATIN", 110, 0), ("KYUURYOUTINGIN", 111, 0),
] + [("HITUYOUKEIHI_YOBI%d" % n, 111 + n, 1) for n in range(1, 6)] + [
    ("SONOTANOKEIHI", 117, 0), ("SENJYUUSYAKYUUYO", 120, 0),
]

WHITE_REAL_ESTATE_PL = [
    ("TINTAIRYO", 1, 0), ("REIKIN_KENRIKIN_KOUSINRYOU", 2, 0),
    ("MEIGIKAKIKAERYOU_SONOTA", 3, 0), ("KYUURYOUTINGIN", 6, 0),
    ("GENKASHOUKYAKUHI", 7, 0), ("KASIDAOREKIN", 8, 0), ("TIDAIYATIN", 9, 0),
    ("SYAKUNYUUKINRISI", 10, 0), ("SOZEIKOUKA", 21, 0), ("SONGAIHOKENRYOU", 22, 0),
    ("SYUUZENHI", 23, 0), ("HITUYOUKEIHI_YOBI", 24, 1), ("ZAPPI", 25, 0),
    ("SENJYUSYAKOUJYO", 998, 0),
]

# Balance-sheet accounts by code: (general stem, real-estate stem). A "+"
# marks a spare account (account name row first), a "!" an account with its
# closing balance only.
BALANCE_ACCOUNTS = {
    201: ("GENKIN", "GENKIN"), 202: ("TOUZAYOKIN", "FUTUUYOKIN"),
    203: ("TEIKIYOKIN", "TEIKIYOKIN"), 204: ("SONOTANOYOKIN", "SONOTANOYOKIN"),
    205: ("UKETORITEGATA", "UKETORITEGATA"), 206: ("URIKAKEKIN", "MISYUUTINTAIRYO"),
    207: ("YUUKASYOUKEN", "MISYUUKIN"), 208: ("TANAOROSISISAN", "YUUKASYOUKEN"),
    209: ("MAEBARAIKIN", "MAEBARAIKIN"), 210: ("KASITUKEKIN", "KASITUKEKIN"),
    211: ("TATEMONO", "TATEMONO"), 212: ("TATEMONOFUZOKUSETUBI", "TATEMONOFUZOKUSETUBI"),
    213: ("KIKAISOUTI", "KOUTIKUBUTU"), 214: ("SYARYOUUNPANGU", "SENPAKU"),
    215: ("KOUGUKIGUBIHIN", "KOUGUKIGUBIHIN"), 216: ("TOTI", "TOTI"),
    217: ("+SISAN_YOBI1", "SYAKUTIKEN"), 218: ("+SISAN_YOBI2", "KOUKYOUSISETUFUTANKIN"),
    219: ("+SISAN_YOBI3", "+SISAN_YOBI1"), 220: ("+SISAN_YOBI4", "+SISAN_YOBI2"),
    221: ("+SISAN_YOBI5", "+SISAN_YOBI3"), 222: ("+SISAN_YOBI6", "+SISAN_YOBI4"),
    223: ("+SISAN_YOBI7", "+SISAN_YOBI5"), 224: ("!JIGYOUNUSIKASI", "!JIGYOUNUSIKASI"),
    225: ("SIHARAITEGATA", "SYUKUNYUUKIN"), 226: ("KAIKAKEKIN", "MIBARAIKIN"),
    227: ("SYUKUNYUUKIN", "HOSYOUKIN_SIKIKIN"), 228: ("MIBARAIKIN", "+FUSAISIHON_YOBI1"),
    229: ("MAIUKEKIN", "+FUSAISIHON_YOBI2"), 230: ("AZUKARIKIN", "+FUSAISIHON_YOBI3"),
    231: ("+FUSAISIHON_YOBI1", "+FUSAISIHON_YOBI4"), 232: ("+FUSAISIHON_YOBI2", "+FUSAISIHON_YOBI5"),
    233: ("+FUSAISIHON_YOBI3", "+FUSAISIHON_YOBI6"), 234: ("+FUSAISIHON_YOBI4", "+FUSAISIHON_YOBI7"),
    235: ("+FUSAISIHON_YOBI5", "+FUSAISIHON_YOBI8"), 236: ("+FUSAISIHON_YOBI6", "+FUSAISIHON_YOBI9"),
    237: ("+FUSAISIHON_YOBI7", "+FUSAISIHON_YOBI10"),
    238: ("KASIDAOREHIKIATEKIN", "+FUSAISIHON_YOBI11"),
    239: ("+FUSAISIHON_YOBI8", "+FUSAISIHON_YOBI12"), 240: ("+FUSAISIHON_YOBI9", "+FUSAISIHON_YOBI13"),
    241: ("+FUSAISIHON_YOBI10", "+FUSAISIHON_YOBI14"),
    242: ("+FUSAISIHON_YOBI11", "+FUSAISIHON_YOBI15"),
    243: ("+FUSAISIHON_YOBI12", "+FUSAISIHON_YOBI16"),
    244: ("+FUSAISIHON_YOBI13", "+FUSAISIHON_YOBI17"),
    245: ("+FUSAISIHON_YOBI14", "+FUSAISIHON_YOBI18"),
    246: ("!JIGYOUNUSIKARI", "!JIGYOUNUSIKARI"), 247: ("MOTOIREKIN", "MOTOIREKIN"),
    999: ("!KOUJYOMAESYOTOKUKINNGAKU", "!KOUJYOMAESYOTOKUKINNGAKU"),
}

OPENING, CLOSING, ACCOUNT_NAME = 0, 1, 3


def balance_table(column):
    """Rows (element, kind, code) of one balance sheet, in table order."""
    rows = []
    for code in sorted(BALANCE_ACCOUNTS):
        stem = BALANCE_ACCOUNTS[code][column]
        if stem.startswith("!"):
            rows.append((stem[1:] + "_KIMATU", CLOSING, code))
            continue
        if stem.startswith("+"):
            stem = stem[1:]
            rows.append((stem + "_KAMOKU", ACCOUNT_NAME, code))
        rows.append((stem + "_KISYU", OPENING, code))
        rows.append((stem + "_KIMATU", CLOSING, code))
    return rows


GENERAL_BALANCE_SHEET = balance_table(0)
REAL_ESTATE_BALANCE_SHEET = balance_table(1)
assert len(GENERAL_BALANCE_SHEET) == 114 and len(REAL_ESTATE_BALANCE_SHEET) == 116
assert len(BLUE_GENERAL_PL) == 35 and len(WHITE_GENERAL_PL) == 30
assert len(COST_OF_MANUFACTURE) == 20 and len(BLUE_REAL_ESTATE_PL) == 17
assert len(WHITE_REAL_ESTATE_PL) == 14

REMOVED_FROM_ITEM_NAMES = [s.encode(ENCODING) for s in
                           [" ", "　", "【", "】", "《", "》", "（", "）", "［", "］", "(製)"]]

DEFAULT_PRODUCT_NAME = {"std": "勘定丸１９", "net": "勘定丸１９ PRO"}
DEFAULT_PRODUCT_VERSION = "19.00.0X"
CONNECTED_PROGRAM_VERSION = "19.00.00"

# ------------------------------------------------------------ values

AMOUNT_FORM = re.compile(r"^[+-]?[0-9]+(\.[0-9]{1,4})?$")


def scaled(value):
    """An amount or area of the JSON form as the engine stores it (x 10000)."""
    if value is None:
        return 0
    if isinstance(value, bool) or not isinstance(value, (int, str)):
        raise ValueError("bad amount %r" % (value,))
    if isinstance(value, int):
        return value * 10000
    if not AMOUNT_FORM.match(value):
        raise ValueError("bad amount %r" % (value,))
    sign = -1 if value.startswith("-") else 1
    whole, _, fraction = value.lstrip("+-").partition(".")
    return sign * (int(whole) * 10000 + int((fraction + "0000")[:4]))


def truncating_division(a, b):
    """C's integer division: the quotient truncated toward zero."""
    q = abs(a) // abs(b)
    return q if (a < 0) == (b < 0) else -q


def amount_text(stored):
    yen = truncating_division(stored, 10000)
    return b"" if yen == 0 else str(yen).encode()


def count_text(n):
    return b"" if n == 0 else str(n).encode()


def round_half_up_to_yen(stored):
    """Half away from zero, on the magnitude, to whole yen (still x 10000)."""
    magnitude = (abs(stored) + 5000) // 10000 * 10000
    return -magnitude if stored < 0 else magnitude


def fixed_text(stored):
    """A whole-yen value as text with no decimals; zero is "0"."""
    yen = truncating_division(stored, 10000)
    return str(yen).encode()


def format_area(stored, decimals=2):
    negative = stored < 0
    integer, fraction = divmod(abs(stored), 10000)
    unit = 10 ** (4 - decimals)
    fraction = (fraction + unit // 2) // unit * unit
    if fraction >= 10000:
        integer += 1
        fraction -= 10000
    if integer == 0 and fraction == 0:
        negative = False
    text = ("-" if negative else "") + str(integer)
    if decimals > 0:
        text += "." + ("%04d" % fraction)[:decimals]
    return text.encode()


def area_text(stored):
    return b"" if stored == 0 else format_area(stored)


# ------------------------------------------------------------ Shift_JIS

def is_lead(c):
    return 0x81 <= c <= 0x9F or 0xE0 <= c <= 0xFC


def is_trail(c):
    return 0x40 <= c <= 0x7E or 0x80 <= c <= 0xFC


def pair_starts_at(text, pos):
    """True when text[pos] and text[pos + 1] are one double-byte character,
    reading text from its first byte."""
    i = 0
    while i <= pos:
        if is_lead(text[i]) and i + 1 < len(text) and is_trail(text[i + 1]):
            if i == pos:
                return True
            i += 2
        else:
            i += 1
    return False


def fit_text(text, limit):
    if len(text) <= limit:
        return text
    if pair_starts_at(text, limit - 1):
        return text[:limit - 1]
    return text[:limit]


def clean_item_name(name):
    out = bytearray()
    i = 0
    while i < len(name):
        for removed in REMOVED_FROM_ITEM_NAMES:
            if name.startswith(removed, i):
                i += len(removed)
                break
        else:
            # A whole character is kept: removal strings are tried only
            # where a character starts.
            n = 2 if i + 1 < len(name) and is_lead(name[i]) and is_trail(name[i + 1]) else 1
            out += name[i:i + n]
            i += n
    return bytes(out)


HALF_WIDTH_KANA = "｡｢｣､･ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝﾞﾟ"
FULL_WIDTH_KANA = "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜"
VOICED = dict(zip("カキクケコサシスセソタチツテトハヒフヘホウ",
                  "ガギグゲゴザジズゼゾダヂヅデドバビブベボヴ"))
SEMI_VOICED = dict(zip("ハヒフヘホ", "パピプペポ"))


def full_width(text):
    """Half-width characters to full width, as the system's locale mapping
    does: ASCII and the blank, and half-width katakana with their voiced
    marks combined; double-byte characters stay."""
    out = []
    for ch in text.decode(ENCODING):
        if ch == " ":
            out.append("\u3000")
        elif "!" <= ch <= "~":
            out.append(chr(ord(ch) + 0xFEE0))
        elif ch in HALF_WIDTH_KANA:
            wide = FULL_WIDTH_KANA[HALF_WIDTH_KANA.index(ch)]
            if wide == "゛" and out and out[-1] in VOICED:
                out[-1] = VOICED[out[-1]]
            elif wide == "゜" and out and out[-1] in SEMI_VOICED:
                out[-1] = SEMI_VOICED[out[-1]]
            else:
                out.append(wide)
        else:
            out.append(ch)
    return "".join(out).encode(ENCODING)


def company_name_text(name):
    wide = full_width(name)
    if len(name) <= 30:
        return wide
    # The longest run of whole characters that fits 63 bytes.
    end = 0
    while end < len(wide):
        step = 2 if pair_starts_at(wide, end) else 1
        if end + step > 63:
            break
        end += step
    return wide[:end]


# ------------------------------------------------------------ the data

class Data:
    """The selected data set as the engine delivers it to the program."""

    def __init__(self, document):
        self.doc = document
        self.record = self._selected(document)

    @staticmethod
    def _selected(document):
        user = document.get("CurrentUserId", "")
        data_no = 0
        for entry in document.get("Users", []):
            if entry.get("UserId", "") == user:
                data_no = entry.get("SelectedDataNo", 0)
                break
        for data_set in document.get("DataSets", []):
            if data_set.get("DataNo", 0) == data_no:
                return data_set
        return {}  # no match: an all-zero record


def text(obj, key, limit):
    """A text field, as Shift_JIS bytes, within its engine limit."""
    value = obj.get(key, "").encode(ENCODING)
    if len(value) > limit:
        raise ValueError("%s: %d bytes, at most %d" % (key, len(value), limit))
    return value


def slot(rows, n):
    """Row n (1-based) of a fixed table; a missing row is blank."""
    return rows[n - 1] if n <= len(rows) else {}


def amount(obj, key):
    return scaled(obj.get(key))


# ------------------------------------------------------------ collection

def statement_rows(entries, recode_line, recode_to):
    rows = []
    for entry in entries:
        code = entry.get("Code", 0)
        if recode_line is not None and entry.get("LineNo", 0) == recode_line:
            code = recode_to
        rows.append({"Code": code, "ItemName": text(entry, "ItemName", 127),
                     "Opening": amount(entry, "OpeningBalance"),
                     "Closing": amount(entry, "ClosingBalance")})
    return rows


def collect(record, income_kind):
    """SumRows, the monthly totals and the real-estate income of the general
    saved details, as the collector leaves them."""
    statements = record.get("Statements", {})
    general = statements.get("General", {})
    real_estate = statements.get("RealEstate", {})
    return_kind = record.get("ReturnKind", 0)
    rows, monthly, transferred = [], None, None
    if return_kind == 3 and income_kind in (1, 2):
        rows += statement_rows(general.get("PL", []), 1, 101)
        rows += statement_rows(general.get("Assets", []), None, None)
        rows += statement_rows(general.get("LiabilitiesCapital", []), 24, 999)
        rows += statement_rows(general.get("CostOfManufacture", []), None, None)
        monthly = record.get("MonthlyTotals", {})
        if record.get("StatementScope", 0) == 3:
            # The first row is not looked at; the first later LineNo 21 wins.
            for entry in real_estate.get("PL", [])[1:]:
                if entry.get("LineNo", 0) == 21:
                    transferred = amount(entry, "ClosingBalance")
                    break
    elif return_kind == 3 and income_kind == 3:
        rows += statement_rows(real_estate.get("PL", []), None, None)
        rows += statement_rows(real_estate.get("Assets", []), None, None)
        rows += statement_rows(real_estate.get("LiabilitiesCapital", []), 24, 999)
    elif return_kind == 4 and income_kind in (1, 2):
        rows += statement_rows(general.get("PL", []), 37, 998)
    elif return_kind == 4 and income_kind == 3:
        rows += statement_rows(real_estate.get("PL", []), 19, 998)
    return rows, monthly or {}, transferred


def find_row(rows, code):
    for row in rows:
        if row["Code"] == code:
            return row
    return {"Code": code, "ItemName": b"", "Opening": 0, "Closing": 0}


# ------------------------------------------------------------ the XML

def escape(value):
    for raw, entity in ((b"&", b"&amp;"), (b">", b"&gt;"), (b"<", b"&lt;"),
                        (b'"', b"&quot;"), (b"'", b"&apos;")):
        value = value.replace(raw, entity)
    return value


class Xml:
    MAX_LINE = 255

    def __init__(self):
        self.data = bytearray(b'<?xml version="1.0" encoding="Shift_JIS"?>\r\n')

    def _line(self, depth, body):
        line = b"\t" * depth + body + b"\r\n"
        if len(line) > self.MAX_LINE:
            raise ValueError("line over %d bytes: %r" % (self.MAX_LINE, line))
        self.data += line

    def open(self, name, depth, count=None):
        if count is None:
            self._line(depth, b"<" + name.encode() + b">")
        else:
            self._line(depth, b"<%s COUNT=\"%d\">" % (name.encode(), count))

    def close(self, name, depth):
        self._line(depth, b"</" + name.encode() + b">")

    def element(self, name, value, depth):
        tag = name.encode()
        self._line(depth, b"<" + tag + b">" + escape(value) + b"</" + tag + b">")


# ------------------------------------------------------------ the report

class Report:
    def __init__(self, data, income_kind, function_id, edition, support):
        self.record = data.record
        self.kind = income_kind
        self.function_id = function_id
        self.edition = edition
        self.support = support
        self.rows, self.monthly, transferred = collect(self.record, income_kind)
        saved = self.record.get("GeneralSaveInfo", {})
        self.general = dict(saved)
        if transferred is not None:
            self.general["RealEstateIncome"] = transferred
        else:
            self.general["RealEstateIncome"] = amount(saved, "RealEstateIncome")
        self.real_estate = self.record.get("RealEstateSaveInfo", {})
        self.blue = self.record.get("ReturnKind", 0) == 3
        self.white = self.record.get("ReturnKind", 0) == 4
        self.xml = Xml()

    def write(self):
        x = self.xml
        x.open("REPORT", 0)
        self.system()
        self.basic()
        self.data_block()
        x.close("REPORT", 0)
        return bytes(x.data)

    # -------------------------------------------------- header blocks

    def system(self):
        x = self.xml
        name, version = support_values(self.support)
        x.open("SYSTEM", 1)
        x.element("GYOUMUPREFIX", b"PV14", 2)
        x.element("VERSION", b"1", 2)
        x.element("FUNCTIONID", str(self.function_id).encode(), 2)
        x.element("CONNECTEDPROGRAMVER", CONNECTED_PROGRAM_VERSION.encode(), 2)
        x.element("PROGRAMNAME", name or DEFAULT_PRODUCT_NAME[self.edition].encode(ENCODING), 2)
        x.element("PROGRAMVER", version or DEFAULT_PRODUCT_VERSION.encode(), 2)
        x.close("SYSTEM", 1)

    def basic(self):
        x, r = self.xml, self.record
        x.open("BASIC", 1)
        x.element("KOMONSAKINAME", company_name_text(text(r, "CompanyName", 255)), 2)
        x.element("AOSIROKUBUN", b"2" if self.white else b"1", 2)
        x.element("JIGYOUNENDOFROM", str(r.get("PeriodFrom", 0)).encode(), 2)
        x.element("JIGYOUNENDOTO", str(r.get("PeriodTo", 0)).encode(), 2)
        x.element("SYOTOKUSYURUI", str(self.kind).encode(), 2)
        x.close("BASIC", 1)

    def data_block(self):
        x = self.xml
        x.open("DATA", 1)
        kind_element = {1: "EIGYOUSYOTOKU", 2: "SONOTASYOTOKU", 3: "FUDOUSANSYOTOKU"}[self.kind]
        x.open(kind_element, 2)
        for name, contents in self.series():
            x.open(name, 3)
            contents()
            x.close(name, 3)
        x.close(kind_element, 2)
        x.close("DATA", 1)

    def series(self):
        general_form = self.kind in (1, 2)
        if general_form and self.blue:
            return [
                ("SONEKIKEISANSYO", lambda: self.items(BLUE_GENERAL_PL)),
                ("TUKIBETUURIAGESHIIRE", self.monthly_sales),
                ("KYUURYOUTINGIN", lambda: self.salaries_general(5)),
                ("SENJUUSYA", lambda: self.family_general(5)),
                ("KASIDAOREKURIIRE", self.bad_debt_reserve),
                ("AOIROKOUJO", self.blue_deduction),
                ("RISIWARIBIKIRYOU", self.interest),
                ("TIDAIYATIN", lambda: self.rent(self.general, "RentRows", numbered=False)),
                ("ZEIRISIHOUSYUU", lambda: self.fees(self.general)),
                ("TOKUSYUJIJOU", lambda: self.special(self.general, 60, 5)),
                ("TAISYAKUTAISYOUHYO", lambda: self.balance_sheet(GENERAL_BALANCE_SHEET)),
                ("SEIZOUGENKA", lambda: self.items(COST_OF_MANUFACTURE)),
                ("OTHER", self.association),
            ]
        if general_form and self.white:
            return [
                ("SONEKIKEISANSYO", lambda: self.items(WHITE_GENERAL_PL)),
                ("KYUURYOUTINGIN", lambda: self.salaries_general(3)),
                ("SENJUUSYA", lambda: self.family_general(3)),
                ("RISIWARIBIKIRYOU", self.interest),
                ("TIDAIYATIN", lambda: self.rent(self.general, "RentRows", numbered=False)),
                ("ZEIRISIHOUSYUU", lambda: self.fees(self.general)),
                ("TOKUSYUJIJOU", lambda: self.special(self.general, 60, 9)),
                ("URIAGEMEISAI", lambda: self.partners("SalesRows", "URIAGE_UTIWAKE",
                                                       "URIAGESAKIMEI", "URIAGEKINGAKU",
                                                       "OtherSalesTotal",
                                                       "JOUKIIGAI_URIAGESAKIKEI")),
                ("SIIREMEISAI", lambda: self.partners("PurchaseRows", "SIIRE_UTIWAKE",
                                                      "SIIRESAKIMEI", "SIIREKINGAKU",
                                                      "OtherPurchasesTotal",
                                                      "JOUKIIGAI_SIIRESAKIKEI")),
                ("OTHER", self.association),
            ]
        if self.blue:
            return [
                ("SONEKIKEISANSYO", self.blue_real_estate_items),
                ("FUDOUSANSYUUNYUU", self.real_estate_income),
                ("KYUURYOUTINGIN", lambda: self.salaries_real_estate(2, False)),
                ("SENJUUSYA", lambda: self.family_real_estate(1)),
                ("TIDAIYATIN", lambda: self.rent(self.real_estate, "RentRows", numbered=True)),
                ("KARIIREKINRISI", lambda: self.borrowing(3)),
                ("ZEIRISIHOUSYUU", lambda: self.fees(self.real_estate)),
                ("TAISYAKUTAISYOUHYO", lambda: self.balance_sheet(REAL_ESTATE_BALANCE_SHEET)),
                ("TOKUSYUJIJOU", lambda: self.special(self.real_estate, 30, 25)),
            ]
        if self.white:
            return [
                ("SONEKIKEISANSYO", self.white_real_estate_items),
                ("FUDOUSANSYUUNYUU", self.real_estate_income),
                ("KYUURYOUTINGIN", lambda: self.salaries_real_estate(1, True)),
                ("SENJUUSYA", lambda: self.family_real_estate(2)),
                ("TIDAIYATIN", lambda: self.rent(self.real_estate, "RentRows", numbered=False)),
                ("KARIIREKINRISI", lambda: self.borrowing(2)),
                ("ZEIRISIHOUSYUU", lambda: self.fees(self.real_estate)),
                ("TOKUSYUJIJOU", lambda: self.special(self.real_estate, 60, 7)),
                ("SYUUZENHI", self.repairs),
                ("KASITUKEFUDOUSAN", self.rental_property),
            ]
        return []

    # -------------------------------------------------- statement items

    def items(self, table):
        for element, code, spare in table:
            row = find_row(self.rows, code)
            if spare:
                self.xml.element(element + "_KAMOKU", clean_item_name(row["ItemName"]), 4)
            self.xml.element(element, amount_text(row["Closing"]), 4)

    def balance_sheet(self, table):
        for element, kind, code in table:
            row = find_row(self.rows, code)
            if kind == ACCOUNT_NAME:
                value = clean_item_name(row["ItemName"])
            elif kind == OPENING:
                value = amount_text(row["Opening"])
            else:
                value = amount_text(row["Closing"])
            self.xml.element(element, value, 4)

    def monthly_sales(self):
        m = self.monthly
        sales, purchases = m.get("Sales", []), m.get("Purchases", [])
        for month in range(1, 13):
            self.xml.element("URIAGEKINGAKU%d" % month,
                             amount_text(scaled(slot_value(sales, month))), 4)
        self.xml.element("KAJISYOUHI", amount_text(amount(m, "HouseholdConsumption")), 4)
        self.xml.element("ZATUSYUNYU", amount_text(amount(m, "MiscellaneousIncome")), 4)
        for month in range(1, 13):
            self.xml.element("SIIREKINGAKU%d" % month,
                             amount_text(scaled(slot_value(purchases, month))), 4)

    def blue_real_estate_items(self):
        self.items(BLUE_REAL_ESTATE_PL)
        selection = self.general.get("DeductionSelection", 0)
        if selection not in (0, 1):
            raise ValueError("DeductionSelection %r fails the report" % selection)
        self.xml.element("AOIROKOUJO_SENTAKU", b"1" if selection == 1 else b"2", 4)
        self.liability_interest()

    def white_real_estate_items(self):
        self.items(WHITE_REAL_ESTATE_PL)
        self.liability_interest()

    # -------------------------------------------------- deduction and reserves

    def bad_debt_reserve(self):
        reserves = self.general.get("ReserveAmounts", [])
        x = self.xml
        x.element("KOBETU_KURIIREGAKU", amount_text(scaled(slot_value(reserves, 1))), 4)
        x.element("IKKATU_KURIIREGOUKEIGAKU", amount_text(scaled(slot_value(reserves, 2))), 4)
        x.element("IKKATU_KURIIRERITU", b"1", 4)
        x.element("IKKATU_KURIIREGENDOGAKU", amount_text(scaled(slot_value(reserves, 3))), 4)
        x.element("IKKATU_KURIIREGAKU", amount_text(scaled(slot_value(reserves, 4))), 4)

    def blue_deduction(self):
        if len(self.rows) < 43:
            self.xml.element("FUDOUSANSYOTOKU", blue_deduction_values(
                self.general["RealEstateIncome"], 0, 1)[0][1], 4)
            raise ValueError("fewer than 43 rows fail the report")
        selection = self.general.get("DeductionSelection", 0)
        if selection not in (0, 1):
            raise ValueError("DeductionSelection %r fails the report" % selection)
        for element, value in blue_deduction_values(self.general["RealEstateIncome"],
                                                    self.rows[42]["Closing"], selection):
            self.xml.element(element, value, 4)

    def association(self):
        self.xml.element("KANYUUDANTAIMEI", text(self.general, "AssociationName", 127), 4)

    def liability_interest(self):
        self.xml.element("FUSAIRISIGAKU",
                         amount_text(amount(self.real_estate, "LiabilityInterest")), 4)

    # -------------------------------------------------- salaries, family

    def salary_elements(self, s, depth):
        x = self.xml
        x.element("SIMEI", text(s, "Name", 40), depth)
        x.element("NENREI", count_text(s.get("Age", 0)), depth)
        x.element("JUUJITUKISUU", count_text(s.get("Months", 0)), depth)
        x.element("KYUURYOU", amount_text(amount(s, "Salary")), depth)
        x.element("SYOUYO", amount_text(amount(s, "Bonus")), depth)
        x.element("GENSENZEIGAKU", amount_text(amount(s, "WithheldTax")), depth)

    def others(self, s, head_count):
        x = self.xml
        x.element("SONOTA_NINBUN", count_text(head_count), 4)
        x.element("SONOTA_JUUJITUKISUU", count_text(s.get("Months", 0)), 4)
        x.element("SONOTA_KYUURYOU", amount_text(amount(s, "Salary")), 4)
        x.element("SONOTA_SYOUYO", amount_text(amount(s, "Bonus")), 4)
        x.element("SONOTA_GENSENZEIGAKU", amount_text(amount(s, "WithheldTax")), 4)

    def salaries_general(self, rows):
        slots = self.general.get("Salaries", [])
        for n in range(1, rows + 1):
            self.xml.open("KYUURYOU_UTIWAKE", 4, n)
            self.salary_elements(slot(slots, n), 5)
            self.xml.close("KYUURYOU_UTIWAKE", 4)
        others = slot(slots, {3: 4, 5: 6}[rows])
        self.others(others, others.get("Age", 0))

    def salaries_real_estate(self, rows, with_others):
        saved = self.real_estate
        slots = saved.get("Salaries", [])
        wrapped = rows > 1
        for n in range(1, rows + 1):
            if wrapped:
                self.xml.open("KYUURYOU_UTIWAKE", 4, n)
            self.salary_elements(slot(slots, n), 5 if wrapped else 4)
            if wrapped:
                self.xml.close("KYUURYOU_UTIWAKE", 4)
        if with_others:
            self.others(slot(slots, 2), saved.get("OtherEmployeeCount", 0))

    def family_elements(self, f, depth):
        x = self.xml
        x.element("SIMEI", text(f, "Name", 40), depth)
        relationship = text(f, "Relationship", 6)
        age = count_text(f.get("Age", 0))
        if self.blue:
            x.element("ZOKUGARA", relationship, depth)
            x.element("NENREI", age, depth)
        else:
            x.element("NENREI", age, depth)
            x.element("ZOKUGARA", relationship, depth)
        x.element("JUUJITUKISUU", count_text(f.get("Months", 0)), depth)
        if self.blue:
            x.element("KYUURYOU", amount_text(amount(f, "Salary")), depth)
            x.element("SYOUYO", amount_text(amount(f, "Bonus")), depth)
            x.element("GENSENZEIGAKU", amount_text(amount(f, "WithheldTax")), depth)

    def family_general(self, rows):
        family = self.general.get("FamilyEmployees", [])
        for n in range(1, rows + 1):
            self.xml.open("SENJUUSYA_UTIWAKE", 4, n)
            self.family_elements(slot(family, n), 5)
            self.xml.close("SENJUUSYA_UTIWAKE", 4)

    def family_real_estate(self, rows):
        family = self.real_estate.get("FamilyEmployees", [])
        wrapped = rows > 1
        for n in range(1, rows + 1):
            if wrapped:
                self.xml.open("SENJUUSYA_UTIWAKE", 4, n)
            self.family_elements(slot(family, n), 5 if wrapped else 4)
            if wrapped:
                self.xml.close("SENJUUSYA_UTIWAKE", 4)

    # -------------------------------------------------- interest, rent, fees

    def interest_rows(self, rows, table, row_element, interest_element):
        x = self.xml
        for n in range(1, rows + 1):
            r = slot(table, n)
            x.open(row_element, 4, n)
            x.element("JUUSYO_SIMEI_JOUDAN", text(r, "AddressNameUpper", 40), 5)
            x.element("JUUSYO_SIMEI_GEDAN", text(r, "AddressNameLower", 40), 5)
            x.element("KARIIREKIN_KINGAKU", amount_text(amount(r, "Borrowed")), 5)
            x.element(interest_element, amount_text(amount(r, "Interest")), 5)
            x.element("HITUYOUKEIHIGAKU", amount_text(amount(r, "ExpenseShare")), 5)
            x.close(row_element, 4)

    def interest(self):
        self.interest_rows(2, self.general.get("InterestRows", []), "RISI_UTIWAKE",
                           "RISIWARIBIKIRYOU")

    def borrowing(self, rows):
        self.interest_rows(rows, self.real_estate.get("BorrowingRows", []), "KARIIRE_UTIWAKE",
                           "KARIIREKINRISI")

    def fees(self, saved):
        x = self.xml
        for n in range(1, 3):
            r = slot(saved.get("FeeRows", []), n)
            x.open("ZEIRISI_UTIWAKE", 4, n)
            x.element("JUUSYO_SIMEI_JOUDAN", text(r, "AddressNameUpper", 40), 5)
            x.element("JUUSYO_SIMEI_GEDAN", text(r, "AddressNameLower", 40), 5)
            x.element("HOUSYUU_KINGAKU", amount_text(amount(r, "Fee")), 5)
            x.element("HITUYOUKEIHIGAKU", amount_text(amount(r, "ExpenseShare")), 5)
            x.element("GENSENZEIGAKU", amount_text(amount(r, "WithheldTax")), 5)
            x.close("ZEIRISI_UTIWAKE", 4)

    def rent(self, saved, key, numbered):
        x = self.xml
        for n in range(1, 3):
            r = slot(saved.get(key, []), n)
            x.open("TIDAI_UTIWAKE", 4, n)
            upper = text(r, "AddressNameUpper", 40)
            lower = text(r, "AddressNameLower", 40)
            prop = text(r, "Property", 20)
            if numbered:
                for name, value in (("JUUSYO_SIMEI_1", upper), ("JUUSYO_SIMEI_2", lower),
                                    ("JUUSYO_SIMEI_3", b""), ("JUUSYO_SIMEI_4", b""),
                                    ("TINSYAKUBUKKEN_1", prop), ("TINSYAKUBUKKEN_2", b""),
                                    ("TINSYAKUBUKKEN_3", b""), ("TINSYAKUBUKKEN_4", b"")):
                    x.element(name, value, 5)
            else:
                x.element("JUUSYO_SIMEI_JOUDAN", upper, 5)
                x.element("JUUSYO_SIMEI_GEDAN", lower, 5)
                x.element("TINSYAKUBUKKEN_JOUDAN", prop, 5)
                x.element("TINSYAKUBUKKEN_GEDAN", b"", 5)
            fee_kind = r.get("FeeKind", 0)
            fee = amount_text(amount(r, "KeyOrRenewalFee"))
            if fee_kind == 0:
                x.element("KENRIKIN", fee, 5)
                x.element("KOUSINRYOU", b"", 5)
            elif fee_kind == 1:
                x.element("KENRIKIN", b"", 5)
                x.element("KOUSINRYOU", fee, 5)
            x.element("TINSYAKURYOU", amount_text(amount(r, "Rent")), 5)
            x.element("HITUYOUKEIHIGAKU", amount_text(amount(r, "ExpenseShare")), 5)
            x.close("TIDAI_UTIWAKE", 4)

    # -------------------------------------------------- special, partners

    def special(self, saved, width, lines):
        stored = saved.get("SpecialCircumstances", "").encode(ENCODING)
        if len(stored) > 1024:
            raise ValueError("SpecialCircumstances over 1024 bytes")
        for k, line in enumerate(special_lines(stored, width, lines), start=1):
            self.xml.element("TOKUSYUJIJOU%d" % k, line, 4)

    def partners(self, key, row_element, name_element, amount_element, total_key,
                 total_element):
        x = self.xml
        for n in range(1, 5):
            r = slot(self.general.get(key, []), n)
            x.open(row_element, 4, n)
            x.element(name_element, text(r, "Name", 20), 5)
            x.element("SYOZAITI", text(r, "Location", 40), 5)
            x.element(amount_element, amount_text(amount(r, "Amount")), 5)
            x.close(row_element, 4)
        x.element(total_element, amount_text(amount(self.general, total_key)), 4)

    # -------------------------------------------------- real estate

    def real_estate_income(self):
        x = self.xml
        for n, r in enumerate(self.real_estate.get("IncomeRows", [])[:9999], start=1):
            if r.get("RowKey", 0) == -1:
                raise ValueError("RowKey -1 is the engine's own end of the list")
            x.open("FUDOUSAN_UTIWAKE", 4, n)
            x.element("KASIYA_KASITI", fit_text(text(r, "LettingKind", 10), 10), 5)
            x.element("YOUTO", fit_text(text(r, "Use", 12), 12), 5)
            x.element("SYOZAITI_JOUDAN", fit_text(text(r, "Location", 40), 30), 5)
            x.element("SYOZAITI_GEDAN", b"", 5)
            x.element("JUUSYO_SIMEI_JOUDAN", fit_text(text(r, "TenantAddress", 40), 30), 5)
            x.element("JUUSYO_SIMEI_GEDAN", fit_text(text(r, "TenantName", 40), 30), 5)
            x.element("KEIYAKUKIKAN_FROM",
                      count_text(truncating_division(r.get("ContractFrom", 0), 100)), 5)
            x.element("KEIYAKUKIKAN_TO",
                      count_text(truncating_division(r.get("ContractTo", 0), 100)), 5)
            x.element("KASITUKEMENSEKI", area_text(scaled(r.get("Area"))), 5)
            for key, element in (("MonthlyRent", "TINTAIRYOU_TUKIGAKU"),
                                 ("AnnualRent", "TINTAIRYOU_NENGAKU"),
                                 ("GiftMoney", "REIKIN"), ("KeyMoney", "KENRIKIN"),
                                 ("RenewalFee", "KOUSINRYOU"),
                                 ("NameChangeAndOtherFees", "MEIGISYOKANRYOU_SONOTA"),
                                 ("Deposit", "HOSYOUKIN_SIKIKIN")):
                x.element(element, amount_text(amount(r, key)), 5)
            x.close("FUDOUSAN_UTIWAKE", 4)

    def repairs(self):
        x = self.xml
        for n in range(1, 4):
            r = slot(self.real_estate.get("RepairRows", []), n)
            x.open("SYUUZENHI_UTIWAKE", 4, n)
            x.element("JUUSYO_SIMEI_JOUDAN", text(r, "AddressNameUpper", 40), 5)
            x.element("JUUSYO_SIMEI_GEDAN", text(r, "AddressNameLower", 40), 5)
            x.element("KOUJIMEI_SIZAIMEI_JOUDAN", text(r, "WorkOrMaterial", 20), 5)
            x.element("KOUJIMEI_SIZAIMEI_GEDAN", b"", 5)
            x.element("SIHARAINENGAPPI", count_text(r.get("PaymentDate", 0)), 5)
            x.element("SIHARAIKINGAKU", amount_text(amount(r, "Paid")), 5)
            x.element("HITUYOUKEIHIGAKU", amount_text(amount(r, "ExpenseShare")), 5)
            x.close("SYUUZENHI_UTIWAKE", 4)

    def rental_property(self):
        p = self.real_estate.get("PropertyCounts", {})
        x = self.xml
        for key, element, is_area in (
                ("ResidentialDetachedHouses", "JUUTAKU_TATEMONO_IKKODATE", False),
                ("ResidentialOtherBuildings", "JUUTAKU_TATEMONO_IKKODATEIGAI", False),
                ("ResidentialLandContracts", "JUUTAKU_TOTI_KEIYAKU", False),
                ("ResidentialLandArea", "JUUTAKU_TOTI_SOUMENSEKI", True),
                ("OtherDetachedHouses", "JUUTAKUIGAI_TATEMONO_IKKODATE", False),
                ("OtherOtherBuildings", "JUUTAKUIGAI_TATEMONO_IKKODATEIGAI", False),
                ("OtherLandContracts", "JUUTAKUIGAI_TOTI_KEIYAKU", False),
                ("OtherLandArea", "JUUTAKUIGAI_TOTI_SOUMENSEKI", True),
                ("RoofedParkingSpaces", "CHUUSYAJOU_YANETUKI", False),
                ("OpenParkingSpaces", "CHUUSYAJOU_AOZORA", False)):
            value = area_text(scaled(p.get(key))) if is_area else count_text(p.get(key, 0))
            x.element(element, value, 4)


def blue_deduction_values(real_estate_income, income_before, selection):
    """The five elements of the blue-return deduction: the fixed deduction
    (650,000 yen for selection 1, else 100,000 yen) is first used up by the
    real-estate income, and what remains goes to the business income, capped
    at that income. Negative incomes count as 0; all rounded half up."""
    real_estate = round_half_up_to_yen(max(0, real_estate_income))
    income = round_half_up_to_yen(max(0, income_before))
    limit = (650000 if selection == 1 else 100000) * 10000
    used = limit if limit < real_estate else real_estate
    remainder = round_half_up_to_yen(min(limit - used, income))
    granted = fixed_text(remainder)
    return [("FUDOUSANSYOTOKU", fixed_text(real_estate)),
            ("AOIROKOUJOMAESYOTOKU", fixed_text(income)),
            ("AOIROKOUJO_SENTAKU", b"1" if selection == 1 else b"2"),
            ("AOIROKOUJO_KOUJYOGAKU", granted if selection == 1 else b""),
            ("JOUKIIGAI_KOUJYOGAKU", b"" if selection == 1 else granted)]


def slot_value(values, n):
    return values[n - 1] if n <= len(values) else 0


def special_lines(stored, width, lines):
    """The line values of a special-circumstances text: lines at CR LF and at
    the width, never between the two bytes of a character, at most `lines`
    of them, padded with empty ones; 960 bytes are examined at most."""
    t = stored + b"\0" * (1025 - len(stored))
    out = []
    start, p = 0, 0
    while p < 960:
        crlf = t[p] == 0x0D and t[p + 1] == 0x0A
        if not (crlf or t[p] == 0 or p - start == width):
            p += 1
            continue
        if p != 0 and pair_starts_at(t, p - 1):
            p -= 1
            crlf = False
        out.append(t[start:p])
        if t[p] == 0:
            break
        if len(out) == lines:
            return out
        start = p + 2 if crlf else p
        p += 1
    while len(out) < lines:
        out.append(b"")
    return out


# ------------------------------------------------------------ SUPPORT.INF

SUPPORT_SIZE = 30000
PRODUCT_NAME_KEY = "[=製品名=]".encode(ENCODING)
PRODUCT_VERSION_KEY = "[=製品ﾊﾞｰｼﾞｮﾝ=]".encode(ENCODING)
MULTI_LINE_KEYS = ["[=お問い合わせ内容=]".encode(ENCODING),
                   "[=症状が再現する手順や条件=]".encode(ENCODING)]


def support_values(path):
    """(product name, product version) from a support information file;
    empty texts when it is absent or lacks a key."""
    if path is None:
        return b"", b""
    with open(path, "rb") as f:
        content = f.read(SUPPORT_SIZE)
    buf = bytearray(content) + bytearray(b"\xff" * (SUPPORT_SIZE - len(content)))
    i = 0
    while i < SUPPORT_SIZE:
        if buf[i] == 0x0D and i + 1 < SUPPORT_SIZE and buf[i + 1] == 0x0A:
            buf[i] = buf[i + 1] = 0
            i += 2
            continue
        if buf[i] == 0x1A:
            buf[i] = 0
        i += 1
    for start in range(SUPPORT_SIZE):
        for key in MULTI_LINE_KEYS:
            if buf.startswith(key, start):
                j = start + len(key)
                while j < SUPPORT_SIZE:
                    if buf[j] == 0xFF:
                        buf[j] = 0
                        break
                    if buf.startswith(b"[=", j):
                        buf[j - 2] = buf[j - 1] = 0
                        break
                    if buf[j] == 0 and j + 1 < SUPPORT_SIZE and buf[j + 1] == 0:
                        buf[j], buf[j + 1] = 0x0D, 0x0A
                    j += 1
    end_of_data = len(content)

    def lookup(key):
        at = buf.find(key)
        if at < 0:
            return b""
        value = bytearray()
        j = at + len(key)
        while j < end_of_data and buf[j] != 0:
            value.append(buf[j])
            j += 1
        return bytes(value)

    name, version = lookup(PRODUCT_NAME_KEY), lookup(PRODUCT_VERSION_KEY)
    if len(name) > 255 or len(version) > 255:
        raise ValueError("a support value over 255 bytes is left to the program")
    return name, version


# ------------------------------------------------------------ main

def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("data")
    parser.add_argument("output")
    parser.add_argument("--income-kind", type=int, required=True, choices=(1, 2, 3))
    parser.add_argument("--edition", choices=("std", "net"), default="std")
    parser.add_argument("--function-id", type=int, default=7)
    parser.add_argument("--support", default=None)
    args = parser.parse_args(argv)
    with open(args.data, encoding="utf-8") as f:
        document = json.load(f)
    report = Report(Data(document), args.income_kind, args.function_id, args.edition,
                    args.support)
    with open(args.output, "wb") as f:
        f.write(report.write())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
