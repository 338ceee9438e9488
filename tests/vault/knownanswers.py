#!/usr/bin/python3
# Recomputes the known answers in knownanswers_test.cpp with libraries other
# than the one the program links, so the figures do not come from the code
# under test, into data/knownanswers.txt: the key slot line, then the sealed
# file in hex. Needs python3-nacl and python3-argon2; not run by CI.
import base64
import unicodedata

from argon2.low_level import Type, hash_secret_raw
from nacl.bindings import crypto_aead_xchacha20poly1305_ietf_encrypt as seal

MASTER = bytes(range(0x00, 0x20))
PASSWORD = unicodedata.normalize("NFC", "Pässwort-Quill").encode("utf-8")
SALT = bytes(range(0xA0, 0xB0))
SLOT_NONCE = bytes(range(0xB0, 0xC8))
OPS, MEM = 1, 8192  # libsodium takes bytes, argon2 KiB

FILE_KEY = bytes(range(0x40, 0x60))
FILE_NONCE = bytes(range(0x60, 0x78))
PLAIN = b"Vault known answer\r\n"
NAME = "pages/2026-12-08.dat"


def b64(data):
    return base64.b64encode(data).decode("ascii")


kek = hash_secret_raw(PASSWORD, SALT, time_cost=OPS, memory_cost=MEM // 1024, parallelism=1,
                      hash_len=32, type=Type.ID, version=19)
ad = f"quillnest-key 1 argon2id13 ops={OPS} mem={MEM} salt={b64(SALT)} nonce={b64(SLOT_NONCE)}"
wrapped = seal(MASTER, ad.encode("ascii"), SLOT_NONCE, kek)
print(ad + " key=" + b64(wrapped))

header = b"QNS\x01"
sealed = header + FILE_NONCE + seal(PLAIN, header + NAME.encode("utf-8"), FILE_NONCE, FILE_KEY)
print(sealed.hex())
