<?php
// Reads the fixed file version of a Windows program or library, so the table offers the same
// four numbers that the launcher reads from the installed copy. Pure PHP (no Windows API): it
// walks MZ -> PE header -> section table -> resource tree -> RT_VERSION, for PE32 and PE32+,
// reading only the few hundred bytes it needs, never the whole file.
declare(strict_types=1);

const KC_RT_VERSION = 16;
const KC_FIXEDFILEINFO_SIGNATURE = "\xBD\x04\xEF\xFE"; // 0xFEEF04BD, little-endian
// A version resource is a few kilobytes; a larger claim means a damaged file.
const KC_VERSION_RESOURCE_LIMIT = 1 << 20;

/**
 * The four parts [major, minor, release, build] of the file's fixed file version, or null when
 * the file is not a PE image or carries no (readable) version resource.
 * Throws RuntimeException only when the file cannot be opened.
 */
function kc_pe_file_version(string $path): ?array
{
    $fh = @fopen($path, 'rb');
    if ($fh === false) {
        throw new RuntimeException("cannot open $path");
    }
    try {
        return kc_pe_version_from_stream($fh);
    } finally {
        fclose($fh);
    }
}

/** Reads $len bytes at $offset, or null when the file is shorter (a truncated image). */
function kc_pe_read($fh, int $offset, int $len): ?string
{
    if ($offset < 0 || $len < 0 || fseek($fh, $offset) !== 0) {
        return null;
    }
    $data = $len === 0 ? '' : fread($fh, $len);
    return ($data !== false && strlen($data) === $len) ? $data : null;
}

function kc_pe_u16(string $b, int $at): int
{
    return unpack('v', $b, $at)[1];
}

function kc_pe_u32(string $b, int $at): int
{
    return unpack('V', $b, $at)[1];
}

function kc_pe_version_from_stream($fh): ?array
{
    $dos = kc_pe_read($fh, 0, 64);
    if ($dos === null || substr($dos, 0, 2) !== 'MZ') {
        return null;
    }
    $peAt = kc_pe_u32($dos, 0x3C);
    $head = kc_pe_read($fh, $peAt, 24);
    if ($head === null || substr($head, 0, 4) !== "PE\0\0") {
        return null;
    }
    $sectionCount = kc_pe_u16($head, 6);
    $optionalSize = kc_pe_u16($head, 20);
    $optional = kc_pe_read($fh, $peAt + 24, $optionalSize);
    if ($optional === null || $optionalSize < 2) {
        return null;
    }
    // The data directories sit after the fields that differ between the two formats.
    $magic = kc_pe_u16($optional, 0);
    if ($magic === 0x10B) {
        $dirCountAt = 92;
    } elseif ($magic === 0x20B) {
        $dirCountAt = 108;
    } else {
        return null;
    }
    $resourceEntryAt = $dirCountAt + 4 + 2 * 8; // directory 2 = resources
    if ($optionalSize < $resourceEntryAt + 8 || kc_pe_u32($optional, $dirCountAt) < 3) {
        return null;
    }
    $resourceRva = kc_pe_u32($optional, $resourceEntryAt);
    if ($resourceRva === 0) {
        return null;
    }

    $sectionTable = kc_pe_read($fh, $peAt + 24 + $optionalSize, 40 * $sectionCount);
    if ($sectionTable === null) {
        return null;
    }
    $sections = [];
    for ($i = 0; $i < $sectionCount; $i++) {
        $s = substr($sectionTable, 40 * $i, 40);
        $sections[] = [
            'va' => kc_pe_u32($s, 12),
            'span' => max(kc_pe_u32($s, 8), kc_pe_u32($s, 16)),
            'raw' => kc_pe_u32($s, 20),
        ];
    }
    $toOffset = static function (int $rva) use ($sections): ?int {
        foreach ($sections as $s) {
            if ($rva >= $s['va'] && $rva < $s['va'] + $s['span']) {
                return $rva - $s['va'] + $s['raw'];
            }
        }
        return null;
    };
    $root = $toOffset($resourceRva);
    if ($root === null) {
        return null;
    }

    // Level 1: the type RT_VERSION; levels 2 and 3 (name, language): the first entry, as Windows
    // takes the first version resource for a neutral query.
    $node = kc_pe_resource_child($fh, $root, 0, KC_RT_VERSION, true);
    $node = $node === null ? null : kc_pe_resource_child($fh, $root, $node, null, true);
    $leaf = $node === null ? null : kc_pe_resource_child($fh, $root, $node, null, false);
    if ($leaf === null) {
        return null;
    }
    $entry = kc_pe_read($fh, $root + $leaf, 16);
    if ($entry === null) {
        return null;
    }
    $dataAt = $toOffset(kc_pe_u32($entry, 0));
    $dataSize = min(kc_pe_u32($entry, 4), KC_VERSION_RESOURCE_LIMIT);
    $data = $dataAt === null ? null : kc_pe_read($fh, $dataAt, $dataSize);
    if ($data === null) {
        return null;
    }
    $sig = strpos($data, KC_FIXEDFILEINFO_SIGNATURE);
    if ($sig === false || strlen($data) < $sig + 16) {
        return null;
    }
    $ms = kc_pe_u32($data, $sig + 8);
    $ls = kc_pe_u32($data, $sig + 12);
    return [$ms >> 16, $ms & 0xFFFF, $ls >> 16, $ls & 0xFFFF];
}

/**
 * In the resource directory at $root + $dir, the entry with id $id (or the first entry when $id
 * is null); returns its target as an offset from $root. $wantDirectory says which kind of
 * target the level must have; anything else counts as "not found".
 */
function kc_pe_resource_child($fh, int $root, int $dir, ?int $id, bool $wantDirectory): ?int
{
    $header = kc_pe_read($fh, $root + $dir, 16);
    if ($header === null) {
        return null;
    }
    $count = kc_pe_u16($header, 12) + kc_pe_u16($header, 14); // named entries, then id entries
    $entries = kc_pe_read($fh, $root + $dir + 16, 8 * $count);
    if ($entries === null) {
        return null;
    }
    for ($i = 0; $i < $count; $i++) {
        $name = kc_pe_u32($entries, 8 * $i);
        $target = kc_pe_u32($entries, 8 * $i + 4);
        if ($id !== null && $name !== $id) { // a named entry has the high bit set, never equal
            continue;
        }
        $isDirectory = ($target & 0x80000000) !== 0;
        return $isDirectory === $wantDirectory ? ($target & 0x7FFFFFFF) : null;
    }
    return null;
}
