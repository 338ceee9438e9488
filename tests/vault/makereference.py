#!/usr/bin/python3
# Writes the reference encrypted diary in reference/ from the stored formats
# alone, with libraries other than the one the program links, so the test
# shows the program opens a diary it did not write itself. Deterministic:
# running it again gives the same bytes. Needs python3-nacl and python3-argon2.
import base64
import hashlib
import os
import unicodedata

from argon2.low_level import Type, hash_secret_raw
from nacl.bindings import crypto_aead_xchacha20poly1305_ietf_encrypt as seal

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "reference")
PASSWORD = "Schlüssel zum Tagebuch"
MASTER = hashlib.sha256(b"quillnest reference master key").digest()
OPS, MEM = 1, 8192

PAGES = {
    "2026-11-30": rb"{\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0 Times New Roman;}}" b"\r\n"
                  rb"\pard Rain all day, so \b nothing\b0  but \i reading\i0 .\par" b"\r\n}",
    "2026-12-08": rb"{\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0 Times New Roman;}}" b"\r\n"
                  rb"\pard Caf\'e9 with Ines at the harbour.\par" b"\r\n"
                  rb"\pard\ul Remember\ulnone  the tickets.\par" b"\r\n}",
    "2027-01-01": rb"{\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0 Times New Roman;}}{\colortbl;\red200\green0\blue0;}" b"\r\n"
                  rb"\pard\cf1\fs32 New year, new page.\cf0\fs24\par" b"\r\n}",
}
EARLIER = ("2026-12-08", "20261207-213000-000",
           rb"{\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0 Times New Roman;}}" b"\r\n"
           rb"\pard Caf\'e9 with Ines.\par" b"\r\n}")
NOTES = {
    "Dec-8": "Crème brûlée at Ines's",
    "Jan-1": "Call grandmother\r\nWater the plants",
}


def b64(data):
    return base64.b64encode(data).decode("ascii")


def stored_page(rtf):
    # Each line of the RTF and a final CR LF, every byte shifted up by 14.
    lines = (rtf + b"\r\n").split(b"\r\n")[:-1]
    return b"".join(bytes(b + 14 for b in line) + b"\r\n" for line in lines)


def sealed(plain, name):
    header = b"QNS\x01"
    nonce = hashlib.sha256(b"nonce " + name.encode() + plain).digest()[:24]
    return header + nonce + seal(plain, header + name.encode("utf-8"), nonce, MASTER)


def put(relative, data):
    path = os.path.join(HERE, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


salt = hashlib.sha256(b"reference salt").digest()[:16]
slot_nonce = hashlib.sha256(b"reference slot nonce").digest()[:24]
kek = hash_secret_raw(unicodedata.normalize("NFC", PASSWORD).encode("utf-8"), salt, time_cost=OPS,
                      memory_cost=MEM // 1024, parallelism=1, hash_len=32, type=Type.ID, version=19)
ad = f"quillnest-key 1 argon2id13 ops={OPS} mem={MEM} salt={b64(salt)} nonce={b64(slot_nonce)}"
put("pw.dat", (ad + " key=" + b64(seal(MASTER, ad.encode(), slot_nonce, kek)) + "\r\n").encode("ascii"))

for day, rtf in PAGES.items():
    put(f"pages/{day}.dat", sealed(stored_page(rtf), f"pages/{day}.dat"))
for key, text in NOTES.items():
    put(f"dates/{key}.dat", sealed(text.encode("cp1252") + b"\r\n", f"dates/{key}.dat"))
day, version, rtf = EARLIER
put(f"history/pages/{day[:7]}/{day}@{version}.dat", sealed(stored_page(rtf), f"pages/{day}.dat"))
