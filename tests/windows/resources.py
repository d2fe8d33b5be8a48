#!/usr/bin/env python3
"""Reads resources back from a built PE file (the .scr), not from the .rc it came from.

  resources.py string FILE ID     the string table's string ID
  resources.py manifest FILE      the application manifest (type 24, id 1)
"""
import struct
import sys


class Pe:
    def __init__(self, path):
        self.data = open(path, 'rb').read()
        pe = struct.unpack_from('<I', self.data, 0x3c)[0]
        if self.data[pe:pe + 4] != b'PE\0\0':
            raise SystemExit(f'{path}: not a PE file')
        sections, optional_size = struct.unpack_from('<H12xH', self.data, pe + 6)
        optional = pe + 24
        directories = optional + (112 if struct.unpack_from('<H', self.data, optional)[0] == 0x20b else 96)
        self.rsrc_rva = struct.unpack_from('<I', self.data, directories + 2 * 8)[0]
        self.sections = []
        for i in range(sections):
            header = optional + optional_size + 40 * i
            size, rva, raw_size, raw = struct.unpack_from('<IIII', self.data, header + 8)
            self.sections.append((rva, max(size, raw_size), raw))

    def offset(self, rva):
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise SystemExit(f'RVA {rva:#x} in no section')

    def entries(self, directory):
        named, ids = struct.unpack_from('<HH', self.data, directory + 12)
        for i in range(named + ids):
            name, target = struct.unpack_from('<II', self.data, directory + 16 + 8 * i)
            yield name, target

    def resource(self, kind, ident):
        """The bytes of the first language of resource (kind, ident), or None."""
        base = self.offset(self.rsrc_rva)
        node = base
        for wanted in (kind, ident, None):
            for name, target in self.entries(node):
                if wanted is None or name == wanted:
                    node = base + (target & 0x7fffffff)
                    break
            else:
                return None
        rva, size = struct.unpack_from('<II', self.data, node)
        start = self.offset(rva)
        return self.data[start:start + size]


def string(pe, ident):
    block = pe.resource(6, ident // 16 + 1)
    if block is None:
        return None
    pos = 0
    for index in range(16):
        length = struct.unpack_from('<H', block, pos)[0]
        text = block[pos + 2:pos + 2 + 2 * length].decode('utf-16-le')
        if index == ident % 16:
            return text if length else None
        pos += 2 + 2 * length
    return None


def main():
    if len(sys.argv) < 3 or sys.argv[1] not in ('string', 'manifest'):
        raise SystemExit(__doc__)
    pe = Pe(sys.argv[2])
    if sys.argv[1] == 'string':
        text = string(pe, int(sys.argv[3]))
    else:
        body = pe.resource(24, 1)
        text = body.decode('utf-8-sig') if body is not None else None
    if text is None:
        raise SystemExit(f'{sys.argv[2]}: no such resource')
    print(text)


main()
