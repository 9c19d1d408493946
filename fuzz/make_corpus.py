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


def main():
    for target, samples in [("read_value_text", read_value_text()),
                          ("load_directory_addresses", load_directory_addresses()),
                          ("delete_account", delete_account()),
                          ("apply_identity_line", apply_identity_line()),
                          ("validate_input", validate_input())]:
        folder = ROOT / target
        folder.mkdir(parents=True, exist_ok=True)
        for name, data in samples.items():
            (folder / name).write_bytes(data)


if __name__ == "__main__":
    main()
