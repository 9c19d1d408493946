#!/usr/bin/env python3
"""Writes the sample mail profile in regedit's export format: samples/quillon-sample.reg where
Outlook 97-2010 keep profiles, samples/quillon-sample-16.reg where Outlook 2016 and later do.

The .reg file is committed; rerun this after changing the profile here. Folder
EntryIDs must match those of samples/quillon-sample.json.

  make-sample-profile.py --large IDENTITIES ADDRESSES FILE
writes a big variant of the same profile (Outlook 97-2010 location) for benchmarks:
that many more identity accounts and directory addresses.
"""
import pathlib
import struct
import sys

PROFILE = "Quillon Sample"
PROFILES_KEY = r"HKEY_CURRENT_USER\Software\Microsoft\Windows NT\CurrentVersion\Windows Messaging Subsystem\Profiles"
OUTLOOK16_PROFILES_KEY = r"HKEY_CURRENT_USER\Software\Microsoft\Office\16.0\Outlook\Profiles"
ACCOUNTS = "9375CFF0413111d3B88A00104B2A6676"
DIRECTORY = "13dbb0c8aa05101a9bb000aa002fc45a"
POP3_CLSID = "{ED475411-B0D6-11D2-8C3B-00104B2A6676}"
ORDER_LIST = "{ED475418-B0D6-11D2-8C3B-00104B2A6676}"
EXCHANGE_CLSID = "{ED475414-B0D6-11D2-8C3B-00104B2A6676}"
# Folders of the sample's default mailbox that the add-in watches (see the scenario file).
MONITORED = ["00000000D1F1A0E5A11CE0C0FFEE000010A1", "00000000D1F1A0E5A11CE0C0FFEE000010B2"]


def text(value):
    """UTF-16LE text and a NUL code unit, as the profile store keeps its texts."""
    return (value + "\0").encode("utf-16-le")


def dword(value):
    return ("dword", value)


def multi_valued_utf16(items):
    """A multi-valued UTF-16 property: a count, one offset per string, then the strings."""
    header = 4 + 4 * len(items)
    offsets, body = [], b""
    for item in items:
        offsets.append(header + len(body))
        body += text(item)
    return struct.pack("<I", len(items)) + b"".join(struct.pack("<I", o) for o in offsets) + body


def identity(name, display, email, new_signature, reply_signature):
    """An identity account: a disabled POP3 account without servers."""
    return [("Account Name", text(name)), ("clsid", POP3_CLSID), ("Display Name", text(display)),
            ("Email", text(email)), ("POP3 Remember Passwd", dword(0)), ("POP3 Server", text("none")),
            ("POP3 User", text("none")), ("SMTP Server", text("none")), ("Is Account Disabled", dword(1)),
            ("New Signature", text(new_signature)), ("Reply-Forward Signature", text(reply_signature))]


def profile_keys(profiles_key, extra_identities=0, extra_addresses=0):
    profile = f"{profiles_key}\\{PROFILE}"
    accounts = f"{profile}\\{ACCOUNTS}"
    extra = list(range(13, 13 + extra_identities))
    order = [2, 3, 11, 12] + extra
    addresses = [f"smtp:jane.{n}@alias.quillon-sample.com" for n in range(extra_addresses)]
    identities = [(f"{accounts}\\{n:08x}", identity(f"EX [Jane Doe {n} <jane.{n}@quillon-sample.com>]",
                                                     f"Jane Doe {n}", f"jane.{n}@quillon-sample.com", "", ""))
                  for n in extra]
    return identities + [
        (profile, [("replyaddressformat", text("1")),
                   ("monitoredfolders", text("".join(e + "\t" for e in MONITORED)))]),
        (accounts, [("NextAccountID", dword(13 + extra_identities)), (ORDER_LIST, b"".join(struct.pack("<I", n) for n in order))]),
        (f"{accounts}\\00000002", [("Account Name", text("Microsoft Exchange Server")), ("clsid", EXCHANGE_CLSID),
                                   ("Service Name", text("MSEMS")), ("Display Name", text("Jane Doe"))]),
        (f"{accounts}\\00000003", [("Account Name", text("Jane at home")), ("clsid", POP3_CLSID),
                                   ("Display Name", text("Jane Doe")), ("Email", text("jane.doe@home-example.net")),
                                   ("POP3 Server", text("pop.home-example.net")), ("POP3 User", text("jane.doe")),
                                   ("SMTP Server", text("smtp.home-example.net")), ("SMTP Use Auth", dword(1)),
                                   ("POP3 Remember Passwd", dword(1))]),
        (f"{accounts}\\0000000b", identity("EX [Jane Doe - Sales <sales@quillon-sample.com>]", "Jane Doe - Sales",
                                           "sales@quillon-sample.com", "Sales", "Sales (reply)")),
        (f"{accounts}\\0000000c", identity("EX MBX [Support Desk]", "Support Desk",
                                           "/o=Quillon/ou=Exchange Administrative Group/cn=Recipients/cn=support",
                                           "Support", "Support")),
        (f"{profile}\\{DIRECTORY}", [("101f6637", multi_valued_utf16([
            "SMTP:jane.doe@quillon-sample.com", "smtp:jdoe@quillon-sample.com",
            "smtp:jane@sales.quillon-sample.com", "X400:c=US;a= ;p=Quillon;o=Exchange;s=Doe;g=Jane;"] + addresses))]),
        (r"HKEY_CLASSES_ROOT\CLSID" + "\\" + POP3_CLSID, [("", "POP3/SMTP Account")]),
    ]


def hex_lines(prefix, data):
    """regedit's hex layout: comma-separated bytes, lines of at most about 80 columns."""
    parts = [f"{b:02x}" for b in data]
    lines, line = [], prefix
    for i, part in enumerate(parts):
        piece = part + ("," if i + 1 < len(parts) else "")
        if len(line) + len(piece) > 77 and line.strip():
            lines.append(line + "\\")
            line = "  "
        line += piece
    lines.append(line)
    return lines


def value_lines(name, value):
    label = "@" if name == "" else '"' + name.replace("\\", "\\\\").replace('"', '\\"') + '"'
    if isinstance(value, str):
        return [label + '="' + value.replace("\\", "\\\\").replace('"', '\\"') + '"']
    if isinstance(value, tuple):
        return [f"{label}=dword:{value[1]:08x}"]
    return hex_lines(f"{label}=hex:", value)


def write_reg(file_name, profiles_key, keys=None):
    lines = ["Windows Registry Editor Version 5.00", ""]
    for key, values in keys or profile_keys(profiles_key):
        lines.append(f"[{key}]")
        for name, value in values:
            lines.extend(value_lines(name, value))
        lines.append("")
    out = pathlib.Path(__file__).with_name(file_name) if keys is None else pathlib.Path(file_name)
    out.write_bytes(b"\xff\xfe" + ("\r\n".join(lines) + "\r\n").encode("utf-16-le"))
    print(f"wrote {out}")


def main():
    if len(sys.argv) == 5 and sys.argv[1] == "--large":
        identities, addresses = int(sys.argv[2]), int(sys.argv[3])
        write_reg(sys.argv[4], PROFILES_KEY, profile_keys(PROFILES_KEY, identities, addresses))
        return
    write_reg("quillon-sample.reg", PROFILES_KEY)
    write_reg("quillon-sample-16.reg", OUTLOOK16_PROFILES_KEY)


if __name__ == "__main__":
    main()
