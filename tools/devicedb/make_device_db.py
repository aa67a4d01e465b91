#!/usr/bin/env python3
"""Makes the hardware probe's device database (DeviceManuf.db3) from the PCI id repository's list
(pci.ids) and a small list of memory types and reference clocks. The layout is in README.md.

    make_device_db.py PCI_IDS EXTRAS OUTPUT
"""

import re
import struct
import sys

MAGIC = b"VMDB"
VERSION = 1
NO_STRING = 0xFFFFFFFF

# Devices and boards are kept for the makers of graphics chips; every vendor keeps its name,
# since any of them may make boards.
GRAPHICS_VENDORS = {
    0x1002,  # AMD/ATI
    0x10DE,  # NVIDIA
    0x8086,  # Intel
    0x102B,  # Matrox
    0x5333,  # S3
    0x1A03,  # ASPEED
    0x15AD,  # VMware
    0x1234,  # QEMU
    0x1AF4,  # virtio
    0x80EE,  # VirtualBox
    0x1414,  # Microsoft
}

VENDOR = re.compile(r"^([0-9a-fA-F]{4})  (.+)$")
DEVICE = re.compile(r"^\t([0-9a-fA-F]{4})  (.+)$")
SUBSYSTEM = re.compile(r"^\t\t([0-9a-fA-F]{4}) ([0-9a-fA-F]{4})  (.+)$")


def read_pci_ids(lines):
    """(vendors, devices, subsystems): {id: name}, {(v, d): name}, {(v, d, sv, sd): name}."""
    vendors, devices, subsystems = {}, {}, {}
    vendor = device = None
    for raw in lines:
        line = raw.rstrip("\r\n")
        if not line or line.startswith("#"):
            continue
        if line.startswith("C "):
            break  # the device classes follow the vendors
        match = VENDOR.match(line)
        if match:
            vendor, device = int(match.group(1), 16), None
            vendors.setdefault(vendor, match.group(2).strip())
            continue
        match = DEVICE.match(line)
        if match and vendor is not None:
            device = int(match.group(1), 16)
            if vendor in GRAPHICS_VENDORS:
                devices.setdefault((vendor, device), match.group(2).strip())
            continue
        match = SUBSYSTEM.match(line)
        if match and vendor in GRAPHICS_VENDORS and device is not None:
            key = (vendor, device, int(match.group(1), 16), int(match.group(2), 16))
            subsystems.setdefault(key, match.group(3).strip())
    return vendors, devices, subsystems


def read_extras(lines):
    """{(vendor, device): (memory type, core MHz, memory MHz)} from "vvvv dddd TYPE CORE MEM"."""
    extras = {}
    for raw in lines:
        line = raw.split("#", 1)[0].strip()
        if not line:
            continue
        vendor, device, memory_type, core, memory = line.split()
        extras[(int(vendor, 16), int(device, 16))] = (memory_type, int(core), int(memory))
    return extras


class StringPool:
    def __init__(self):
        self.data = bytearray()
        self.offsets = {}

    def add(self, text):
        if not text:
            return NO_STRING
        if text not in self.offsets:
            self.offsets[text] = len(self.data)
            self.data += text.encode("utf-8") + b"\0"
        return self.offsets[text]


def build(vendors, devices, subsystems, extras):
    pool = StringPool()
    vendor_rows = b"".join(struct.pack("<HHI", v, 0, pool.add(vendors[v])) for v in sorted(vendors))
    device_rows = bytearray()
    for key in sorted(set(devices) | set(extras)):
        memory_type, core, memory = extras.get(key, ("", 0, 0))
        device_rows += struct.pack("<HHIIHH", key[0], key[1], pool.add(devices.get(key, "")),
                                   pool.add(memory_type), core, memory)
    subsystem_rows = b"".join(struct.pack("<HHHHI", *key, pool.add(subsystems[key]))
                              for key in sorted(subsystems))
    header = struct.pack("<4sIIIII8x", MAGIC, VERSION, len(vendors), len(device_rows) // 16,
                         len(subsystems), len(pool.data))
    return header + vendor_rows + bytes(device_rows) + subsystem_rows + bytes(pool.data)


def main(argv):
    if len(argv) != 4:
        sys.stderr.write(__doc__)
        return 2
    with open(argv[1], encoding="utf-8", errors="replace") as f:
        vendors, devices, subsystems = read_pci_ids(f)
    with open(argv[2], encoding="utf-8") as f:
        extras = read_extras(f)
    data = build(vendors, devices, subsystems, extras)
    with open(argv[3], "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
