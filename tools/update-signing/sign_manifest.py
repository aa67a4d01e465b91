#!/usr/bin/env python3
"""Signs an update manifest for versync.dll, and exports the public key the library embeds.

    sign_manifest.py sign KEY.pem Update.xml        writes Update.xml.sig next to the manifest
    sign_manifest.py public-key KEY.pem OUT.der     writes the public key for the build

The signature is ECDSA P-256 over SHA-256 of the manifest's exact bytes, stored as the 64 raw
bytes r || s (big-endian, 32 bytes each), the layout Windows' CNG verifies. KEY.pem is a PKCS#8
or SEC1 PEM private key on the P-256 curve. The release key lives outside the repository; the
key under test-key/ signs only what the tests and development builds accept.
"""

import sys

from cryptography.hazmat.primitives import hashes, serialization
from cryptography.hazmat.primitives.asymmetric import ec
from cryptography.hazmat.primitives.asymmetric.utils import decode_dss_signature

COORDINATE_BYTES = 32


def load_private_key(path):
    with open(path, "rb") as f:
        key = serialization.load_pem_private_key(f.read(), password=None)
    if not isinstance(key, ec.EllipticCurvePrivateKey) or key.curve.name != "secp256r1":
        raise ValueError("%s is not a P-256 private key" % path)
    return key


def sign_bytes(key, data):
    """The raw r || s signature of data."""
    r, s = decode_dss_signature(key.sign(data, ec.ECDSA(hashes.SHA256())))
    return r.to_bytes(COORDINATE_BYTES, "big") + s.to_bytes(COORDINATE_BYTES, "big")


def public_key_der(key):
    return key.public_key().public_bytes(serialization.Encoding.DER,
                                         serialization.PublicFormat.SubjectPublicKeyInfo)


def main(argv):
    if len(argv) == 4 and argv[1] == "sign":
        key = load_private_key(argv[2])
        with open(argv[3], "rb") as f:
            signature = sign_bytes(key, f.read())
        with open(argv[3] + ".sig", "wb") as f:
            f.write(signature)
        return 0
    if len(argv) == 4 and argv[1] == "public-key":
        with open(argv[3], "wb") as f:
            f.write(public_key_der(load_private_key(argv[2])))
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
