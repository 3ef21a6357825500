# Builds small Windows PE images (PE32 and PE32+) with a chosen version resource, so the server's
# version reading can be checked without a Windows toolchain. Only what a version reader walks
# is filled in: DOS header, PE header, section table and the resource tree.
import struct

RT_ICON = 3
RT_VERSION = 16
FILE_ALIGN = 0x200


def version_info(file_version, product_version=(9, 9, 9, 9)):
    """A VS_VERSIONINFO block whose VS_FIXEDFILEINFO carries the given file version."""
    def pair(v):
        return (v[0] << 16) | v[1], (v[2] << 16) | v[3]
    fms, fls = pair(file_version)
    pms, pls = pair(product_version)
    fixed = struct.pack("<13I", 0xFEEF04BD, 0x10000, fms, fls, pms, pls, 0x3F, 0, 0x40004, 1, 0, 0, 0)
    key = "VS_VERSION_INFO\0".encode("utf-16-le")
    head_len = 6 + len(key)
    padding = b"\0" * ((4 - head_len % 4) % 4)
    total = head_len + len(padding) + len(fixed)
    return struct.pack("<HHH", total, len(fixed), 0) + key + padding + fixed


def resource_tree(resources, section_rva):
    """The .rsrc section: resources is a list of (type id or name, payload)."""
    named = [r for r in resources if isinstance(r[0], str)]
    numbered = sorted((r for r in resources if isinstance(r[0], int)), key=lambda r: r[0])
    ordered = named + numbered
    root_size = 16 + 8 * len(ordered)
    per_type = 24 + 24 + 16  # name level, language level, data entry
    strings_at = root_size + per_type * len(ordered)
    strings = b""
    name_offsets = {}
    for key, _ in named:
        name_offsets[key] = strings_at + len(strings)
        strings += struct.pack("<H", len(key)) + key.encode("utf-16-le")
    data_at = strings_at + len(strings)
    data_at += (-data_at) % 8
    blobs = b""
    blob_offsets = []
    for _, payload in ordered:
        blob_offsets.append(data_at + len(blobs))
        blobs += payload + b"\0" * ((-len(payload)) % 8)

    def directory(named_count, id_count):
        return struct.pack("<IIHHHH", 0, 0, 0, 0, named_count, id_count)

    out = directory(len(named), len(numbered))
    for i, (key, _) in enumerate(ordered):
        name = (0x80000000 | name_offsets[key]) if isinstance(key, str) else key
        out += struct.pack("<II", name, 0x80000000 | (root_size + per_type * i))
    for i, (_, payload) in enumerate(ordered):
        base = root_size + per_type * i
        out += directory(0, 1) + struct.pack("<II", 1, 0x80000000 | (base + 24))
        out += directory(0, 1) + struct.pack("<II", 0x409, base + 48)
        out += struct.pack("<IIII", section_rva + blob_offsets[i], len(payload), 0, 0)
    out += strings
    out += b"\0" * (data_at - len(out))
    return out + blobs


def build_pe(resources=None, plus=False, with_resource_directory=True):
    """A PE image with a .text section and, when resources is given, a .rsrc section after it."""
    sections = [(b".text", 0x1000, b"\xC3" + b"\0" * 0x1FF)]
    if resources is not None:
        sections.append((b".rsrc", 0x2000, resource_tree(resources, 0x2000)))

    optional_size = 240 if plus else 224
    optional = bytearray(optional_size)
    struct.pack_into("<H", optional, 0, 0x20B if plus else 0x10B)
    count_at = 108 if plus else 92
    struct.pack_into("<I", optional, count_at, 16)
    if resources is not None and with_resource_directory:
        struct.pack_into("<II", optional, count_at + 4 + 2 * 8, 0x2000, len(sections[1][2]))

    dos = bytearray(64)
    dos[0:2] = b"MZ"
    struct.pack_into("<I", dos, 0x3C, 64)
    machine = 0x8664 if plus else 0x14C
    coff = struct.pack("<4sHHIIIHH", b"PE\0\0", machine, len(sections), 0, 0, 0, optional_size, 0x2102)
    headers = bytes(dos) + coff + bytes(optional)
    table_at = len(headers)
    headers += b"\0" * (40 * len(sections))
    raw_at = len(headers) + (-len(headers)) % FILE_ALIGN
    image = bytearray(headers + b"\0" * (raw_at - len(headers)))
    for i, (name, rva, body) in enumerate(sections):
        raw_size = len(body) + (-len(body)) % FILE_ALIGN
        struct.pack_into("<8sIIII", image, table_at + 40 * i, name, len(body), rva, raw_size, len(image))
        image += body + b"\0" * (raw_size - len(body))
    return bytes(image)


def versioned_pe(version, plus=False):
    return build_pe([(RT_VERSION, version_info(version))], plus=plus)
