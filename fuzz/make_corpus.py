#!/usr/bin/env python3
"""Writes the sample inputs of every fuzz target into fuzz/corpus/<target>/.

FuzzedDataProvider takes texts and byte runs from the front of an input and
numbers and flags from its end (last byte first), so each sample is laid out as
front bytes + end bytes in reverse order of consumption.
"""
import pathlib
import struct

ROOT = pathlib.Path(__file__).resolve().parent / "corpus"


def utf16(text, nul=True):
    return text.encode("utf-16-le") + (b"\0\0" if nul else b"")


def multi_valued(items, wide=True):
    encoded = [utf16(i) if wide else i.encode("latin-1") + b"\0" for i in items]
    header = 4 + 4 * len(items)
    offsets, position = [], header
    for e in encoded:
        offsets.append(position)
        position += len(e)
    return struct.pack("<I", len(items)) + b"".join(struct.pack("<I", o) for o in offsets) + b"".join(encoded)


def ends(*values):
    """Bytes consumed from the end: the first value given is consumed first."""
    out = b""
    for v in values:
        out = v + out
    return out


ADDRESSES = ["SMTP:ann.lee@example.com", "smtp:ann@example.com", "X400:c=US;a= ;p=Example;", "smtp:lee@example.org"]


def read_value_text():
    def sample(name, value, smtp, large=False, rtype=3):
        front = name.encode("latin-1").replace(b"\\", b"\\\\") + b"\\|" + value
        return front + ends(bytes([smtp]), bytes([large]), struct.pack("<I", rtype))
    return {
        "smtp_wide": sample("101f6637", multi_valued(ADDRESSES), 1),
        "smtp_narrow": sample("101e6637", multi_valued(ADDRESSES, wide=False), 1),
        "text_with_nul": sample("Display Name", utf16("Ann"), 0),
        "text_without_nul": sample("Display Name", utf16("Ann", nul=False), 0),
        "narrow_text": sample("001e3001", b"Ann Lee\0", 0),
        "odd_length": sample("Email", utf16("ann@example.com")[:-1], 0),
        "empty_value": sample("101f6637", b"", 1),
        "large_smtp": sample("101f6637", multi_valued(ADDRESSES), 1, large=True),
        "offset_past_end": sample("101f6637", struct.pack("<II", 1, 0xFF) + utf16("SMTP:x@y.z"), 1),
    }


def load_directory_addresses():
    def sample(wide, narrow, section=1, wide_exists=1, narrow_exists=1):
        return wide + narrow + ends(bytes([section]), bytes([wide_exists]), bytes([narrow_exists]),
                                    struct.pack("<H", len(wide)))
    wide = multi_valued(ADDRESSES)
    narrow = multi_valued(ADDRESSES, wide=False)
    return {
        "wide_only": sample(wide, b"", narrow_exists=0),
        "narrow_only": sample(b"", narrow, wide_exists=0),
        "both": sample(wide, narrow),
        "wide_empty": sample(b"", narrow),
        "no_section": sample(wide, b"", section=0),
        "primary_with_spaces": sample(multi_valued(["SMTP:   ann@example.com  ", "smtp:a@b.c"]), b"", narrow_exists=0),
        "only_secondary": sample(multi_valued(["smtp:a@b.c", "smtp:d@e.f"]), b"", narrow_exists=0),
    }


def delete_account():
    def sample(number, entries, tail=b"", list_exists=1, account_exists=1):
        body = tail + b"".join(struct.pack("<I", e) for e in entries)
        return body + ends(struct.pack("<I", number), bytes([list_exists]), bytes([account_exists]))
    return {
        "first_of_three": sample(11, [11, 1, 2]),
        "last_of_three": sample(2, [11, 1, 2]),
        "absent": sample(7, [11, 1, 2]),
        "only_entry": sample(5, [5]),
        "duplicates": sample(5, [5, 1, 5, 5, 2]),
        "odd_length": sample(1, [1, 2], tail=b"\x01\x00"),
        "no_list": sample(3, [], list_exists=0),
        "empty_list": sample(3, []),
    }


def apply_identity_line():
    def sample(line, new_sig="", reply_sig=""):
        return utf16(new_sig, False) + utf16(reply_sig, False) + utf16(line, False) + ends(
            bytes([len(new_sig)]), bytes([len(reply_sig)]))
    return {
        "address": sample("Ann Lee <ann@example.com>", "Work", "Reply"),
        "mailbox": sample("Sales Team /o=Example/ou=First/cn=Recipients/cn=sales"),
        "spaces": sample("   Ann   <  ann@example.com >  ", " Work ", "   "),
        "no_name": sample(" <ann@example.com>"),
        "no_address": sample("Ann <>"),
        "neither": sample("just text"),
        "empty": sample(""),
        "non_ascii": sample("Zoë Núñez <zoe@example.es>", "Firma"),
    }


def validate_input():
    texts = {
        "plain": "Ann Lee ann@example.com",
        "angles": "Ann Lee <ann@example.com>",
        "padded": "   Ann    <ann@example.com>   ",
        "no_blank": "ann@example.com",
        "bad_name": "Ann/Lee ann@example.com",
        "short_address": "Ann a@b.c",
        "dot_first": "Ann .a@bcd",
        "at_last": "Ann abc.de@",
        "empty": "",
    }
    return {name: utf16(text, False) for name, text in texts.items()}


class Layout:
    """An input built in the order the target consumes it: texts and byte runs
    from the front, numbers and flags from the end."""

    def __init__(self):
        self.front = b""
        self.end = []

    def number(self, value, size=1):
        self.end.append((value & ((1 << 8 * size) - 1)).to_bytes(size, "little"))

    def int32(self, value):  # ConsumeIntegral<int32_t> counts up from INT32_MIN
        self.number(value + 2**31, 4)

    def string(self, text):  # ConsumeRandomLengthString: "\\" is one backslash, "\|" ends it
        self.front += text.encode("latin-1").replace(b"\\", b"\\\\") + b"\\|"

    def run(self, data):  # a length from the end, then the bytes from the front
        self.number(len(data))
        self.front += data

    def bytes(self):
        return self.front + ends(*self.end)


ACCOUNT_TEXTS = ["Account Name", "Display Name", "Email", "New Signature", "Reply-Forward Signature"]
IDENTITY, OTHER_CLASS, NO_CLASS = 0, 1, 2
SERVER_NONE, SERVER_NONE_UPPER, SERVER_REAL, SERVER_ABSENT = 0, 1, 2, 3


def page_load():
    def account(layout, key, kind=IDENTITY, pop=SERVER_NONE, smtp=SERVER_NONE, **texts):
        layout.number(isinstance(key, int))
        layout.int32(key) if isinstance(key, int) else layout.string(key)
        layout.number(kind)
        layout.number(pop)
        layout.number(smtp)
        for name in ACCOUNT_TEXTS:
            value = texts.get(name.replace(" ", "_").replace("-", "_").lower())
            layout.number(value is not None)
            if value is not None:
                layout.run(value if isinstance(value, bytes) else utf16(value))
                layout.number(isinstance(value, bytes))  # bytes given as such are stored REG_BINARY

    def profile_value(layout, data, binary=True):
        layout.number(data is not None)
        if data is not None:
            layout.run(data)
            layout.number(binary)

    def sample(exchange, accounts, order=None, next_id=None, reply_format=None, folders=None):
        layout = Layout()
        layout.number(exchange)
        layout.number(len(accounts))
        for key, kind, texts in accounts:
            account(layout, key, kind, **texts)
        for value in (order, next_id, reply_format, folders):
            profile_value(layout, value)
        return layout.bytes()

    def dwords(*numbers):
        return b"".join(struct.pack("<I", n) for n in numbers)

    ann = dict(display_name="Ann Lee", email="ann@example.com", account_name="EX [Ann Lee <ann@example.com>]")
    sales = dict(display_name="Sales", email="/o=Example/cn=sales", new_signature="Work",
                 reply_forward_signature="Reply")
    return {
        "empty": sample(1, []),
        "two_identities": sample(1, [(3, IDENTITY, ann), (4, IDENTITY, sales)], order=dwords(1, 3, 4),
                                 next_id=dwords(5), reply_format=dwords(1)),
        "odd_key_names": sample(2, [("0000000g", IDENTITY, ann), ("x y", IDENTITY, sales),
                                    ("000000003", IDENTITY, ann)], order=dwords(2, 3)),
        "other_kinds": sample(1, [(2, OTHER_CLASS, dict(pop=SERVER_REAL, smtp=SERVER_REAL)),
                                  (3, NO_CLASS, ann), (4, IDENTITY, dict(pop=SERVER_NONE_UPPER, **sales)),
                                  (5, IDENTITY, dict(pop=SERVER_ABSENT, smtp=SERVER_REAL, **ann))],
                             order=dwords(1, 2, 3, 4, 5), next_id=dwords(6)),
        "binary_texts": sample(1, [(3, IDENTITY, dict(display_name=utf16("Ann"), email=b"ann@x.org\0",
                                                      new_signature=utf16("Sig")[:-1]))],
                               order=dwords(3), next_id=dwords(4)),
        "broken_lists": sample(0, [(3, IDENTITY, ann), (4, IDENTITY, sales)],
                               order=dwords(4, 4, 9) + b"\x03", next_id=b"\x05",
                               reply_format=b"\xff\xff\xff\xff\x01", folders=utf16("Inbox\tnowhere")),
        "duplicate_numbers": sample(3, [(3, IDENTITY, ann), (3, IDENTITY, sales), (-1, IDENTITY, ann)],
                                    order=dwords(3, 3, 0xFFFFFFFF), next_id=dwords(0)),
    }


def main():
    for target, samples in [("read_value_text", read_value_text()),
                          ("load_directory_addresses", load_directory_addresses()),
                          ("delete_account", delete_account()),
                          ("apply_identity_line", apply_identity_line()),
                          ("validate_input", validate_input()),
                          ("page_load", page_load())]:
        folder = ROOT / target
        folder.mkdir(parents=True, exist_ok=True)
        for name, data in samples.items():
            (folder / name).write_bytes(data)


if __name__ == "__main__":
    main()
