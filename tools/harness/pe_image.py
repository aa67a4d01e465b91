"""Reads what the tests need from a Windows executable or library without running it: the
machine and optional-header kind, the exported names and a resource's bytes."""

import struct

MACHINE_I386 = 0x14C
MACHINE_AMD64 = 0x8664
PE32_MAGIC = 0x10B
RT_MANIFEST = 24


class PeImage:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        if self.data[:2] != b"MZ":
            raise ValueError("%s: no MZ header" % path)
        pe = struct.unpack_from("<I", self.data, 0x3C)[0]
        if self.data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("%s: no PE signature" % path)
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from(
            "<HHIIIHH", self.data, pe + 4)
        optional = pe + 24
        self.magic = struct.unpack_from("<H", self.data, optional)[0]
        directories = optional + (96 if self.magic == PE32_MAGIC else 112)
        count = struct.unpack_from("<I", self.data, directories - 4)[0]
        self.directories = [struct.unpack_from("<II", self.data, directories + 8 * i)
                            for i in range(count)]
        table = optional + optional_size
        self.sections = []
        for i in range(sections):
            _, vsize, vaddr, rsize, raw = struct.unpack_from("<8sIIII", self.data, table + 40 * i)
            self.sections.append((vaddr, max(vsize, rsize), raw))

    @property
    def is_pe32(self):
        return self.machine == MACHINE_I386 and self.magic == PE32_MAGIC

    def _offset(self, rva):
        for vaddr, size, raw in self.sections:
            if vaddr <= rva < vaddr + size:
                return raw + rva - vaddr
        raise ValueError("RVA 0x%x is in no section" % rva)

    def _cstring(self, rva):
        start = self._offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def exports(self):
        """The exported names, as GetProcAddress looks them up."""
        if not self.directories or self.directories[0][0] == 0:
            return []
        base = self._offset(self.directories[0][0])
        names, name_table = struct.unpack_from("<II", self.data, base + 24)[0], \
            struct.unpack_from("<I", self.data, base + 32)[0]
        table = self._offset(name_table)
        return [self._cstring(struct.unpack_from("<I", self.data, table + 4 * i)[0])
                for i in range(names)]

    def resource(self, kind, ident):
        """The bytes of the first language of resource kind/ident, or None."""
        if len(self.directories) < 3 or self.directories[2][0] == 0:
            return None
        root = self._offset(self.directories[2][0])

        def entry(directory, wanted):
            named, ids = struct.unpack_from("<HH", self.data, directory + 12)
            for i in range(named + ids):
                name, target = struct.unpack_from("<II", self.data, directory + 16 + 8 * i)
                if wanted is None or (not name & 0x80000000 and name == wanted):
                    return target
            return None

        directory = root
        for wanted in (kind, ident, None):
            target = entry(directory, wanted)
            if target is None:
                return None
            directory = root + (target & 0x7FFFFFFF)
        rva, size = struct.unpack_from("<II", self.data, directory)
        start = self._offset(rva)
        return self.data[start:start + size]
