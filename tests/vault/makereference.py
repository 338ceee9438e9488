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

PLAIN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "data", "plain")


def plain(relative):
    with open(os.path.join(PLAIN, relative), "rb") as given:
        return given.read()


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

# The plain files hold what the stores give back: a page's RTF with its final
# CR LF, a note's text without it.
for name in sorted(os.listdir(os.path.join(PLAIN, "pages"))):
    put(f"pages/{name}", sealed(stored_page(plain(f"pages/{name}")[:-2]), f"pages/{name}"))
for name in sorted(os.listdir(os.path.join(PLAIN, "dates"))):
    put(f"dates/{name}", sealed(plain(f"dates/{name}") + b"\r\n", f"dates/{name}"))
put("history/pages/2026-12/2026-12-08@20261207-213000-000.dat",
    sealed(stored_page(plain("history/2026-12-08.dat")[:-2]), "pages/2026-12-08.dat"))
