#!/usr/bin/env python3
"""Reads the version resource and the section names of a Windows PE file (DLL or EXE) without
Windows.

version_info(path) -> {"FileVersion": (1, 2, 3, 0), "ProductVersion": (...),
                       "Strings": {"ProductName": "...", ...}}
or None when the file has no version resource; section_names(path) -> [".text", ...].
Both raise ValueError for a file that is not PE.

Usage: pe_version.py FILE   (prints what it found)
"""
import struct
import sys

RT_VERSION = 16
FIXED_SIGNATURE = 0xFEEF04BD


def _align4(offset):
    return (offset + 3) & ~3


def _sections(data):
    if data[:2] != b"MZ":
        raise ValueError("no MZ header")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("no PE signature")
    count, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (112 if magic == 0x20B else 96)
    resource_rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]
    table = optional + optional_size
    headers = [table + 40 * i for i in range(count)]
    names = [data[header:header + 8].rstrip(b"\0").decode("ascii") for header in headers]
    sections = [struct.unpack_from("<8xIIII", data, header) for header in headers]
    return resource_rva, sections, names


def _offset(sections, rva):
    for virtual_size, address, raw_size, raw_pointer in sections:
        if address <= rva < address + max(virtual_size, raw_size):
            return raw_pointer + rva - address
    raise ValueError(f"RVA {rva:#x} lies in no section")


def _first_entry(data, directory):
    """The first entry of a resource directory: (id, offset of what it points to, is a directory)."""
    named, ids = struct.unpack_from("<12xHH", data, directory)
    if named + ids == 0:
        return None
    name, target = struct.unpack_from("<II", data, directory + 16)
    return name, target & 0x7FFFFFFF, bool(target & 0x80000000)


def _version_resource(data):
    resource_rva, sections, _ = _sections(data)
    if resource_rva == 0:
        return None
    root = _offset(sections, resource_rva)
    named, ids = struct.unpack_from("<12xHH", data, root)
    for i in range(named + ids):
        name, target = struct.unpack_from("<II", data, root + 16 + 8 * i)
        if name != RT_VERSION:
            continue
        # Type -> name -> language -> data entry: two directories, then the leaf.
        node = root + (target & 0x7FFFFFFF)
        for leaf in (False, True):
            entry = _first_entry(data, node)
            if entry is None or entry[2] == leaf:
                return None
            node = root + entry[1]
        rva, size = struct.unpack_from("<II", data, node)
        start = _offset(sections, rva)
        return data[start:start + size]
    return None


def _blocks(data, start, end):
    """The blocks of a version resource between start and end: (key, type, value, children)."""
    while start + 6 <= end:
        length, value_length, kind = struct.unpack_from("<HHH", data, start)
        if length == 0:
            break
        key_end = start + 6
        while data[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = data[start + 6:key_end].decode("utf-16-le")
        value_start = _align4(key_end + 2)
        value_size = value_length * 2 if kind == 1 else value_length
        value = data[value_start:value_start + value_size]
        yield key, kind, value, (_align4(value_start + value_size), start + length)
        start = _align4(start + length)


def _version(most, least):
    return (most >> 16, most & 0xFFFF, least >> 16, least & 0xFFFF)


def section_names(path):
    """The names in the section table; a long name ("/4": debug information) as its reference."""
    with open(path, "rb") as file:
        return _sections(file.read())[2]


def version_info(path):
    with open(path, "rb") as file:
        data = file.read()
    resource = _version_resource(data)
    if resource is None:
        return None
    key, _, fixed, children = next(_blocks(resource, 0, len(resource)))
    if key != "VS_VERSION_INFO":
        raise ValueError(f"version resource starts with {key!r}")
    signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", fixed)
    if signature != FIXED_SIGNATURE:
        raise ValueError("version resource without its fixed part")
    strings = {}
    for key, _, _, (start, end) in _blocks(resource, *children):
        if key != "StringFileInfo":
            continue
        for _, _, _, (table_start, table_end) in _blocks(resource, start, end):
            for name, _, value, _ in _blocks(resource, table_start, table_end):
                strings[name] = value.decode("utf-16-le").rstrip("\0")
    return {"FileVersion": _version(file_ms, file_ls),
            "ProductVersion": _version(product_ms, product_ls),
            "Strings": strings}


if __name__ == "__main__":
    print(version_info(sys.argv[1]))
    print(section_names(sys.argv[1]))
