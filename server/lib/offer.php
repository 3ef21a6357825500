<?php
// The offer folder as the launcher sees it: which files are offered, their download ids, their
// versions (versions.ini, else the version resource, else 1.0.0.0) and the 18-column rows.
// The folder is read afresh on every request, so publishing is just dropping a file in.
declare(strict_types=1);

require_once __DIR__ . '/pe_version.php';

const KC_MANIFEST = 'versions.ini';
const KC_GAUGE_MAX = 100;

final class KcOffer
{
    /** @var array<string, string> download id => bare file name, in file-name order */
    private array $files = [];
    /** @var array<string, int> download id => row number (column 1), from 1 */
    private array $numbers = [];
    /** @var array<string, array{int,int,int,int}>|null */
    private ?array $manifest = null;

    /** @param callable(string):void $log */
    public function __construct(private string $dir, private string $productId, private $log)
    {
        $names = scandir($dir);
        if ($names === false) {
            throw new RuntimeException("cannot list $dir");
        }
        sort($names, SORT_STRING);
        foreach ($names as $name) {
            if ($name[0] === '.' || strcasecmp($name, KC_MANIFEST) === 0) {
                continue; // hidden files are half-copied uploads, the manifest is not offered
            }
            $path = "$dir/$name";
            if (!is_file($path)) {
                continue;
            }
            $problem = self::unofferable($name) ?? (is_readable($path) ? null : 'not readable');
            if ($problem !== null) {
                ($this->log)("not offered: \"$name\": $problem");
                continue;
            }
            $id = self::idOf($name);
            if (isset($this->files[$id])) {
                ($this->log)("not offered: \"$name\": its id $id is taken by \"{$this->files[$id]}\"; rename one of them");
                continue;
            }
            $this->files[$id] = $name;
            $this->numbers[$id] = count($this->files);
        }
    }

    /**
     * A file name that would break the row: the launcher splits at "," and takes the first
     * "id=" as the download id, and reads the answer as UTF-8.
     */
    private static function unofferable(string $name): ?string
    {
        if (preg_match('/["\x00-\x1F\x7F]/', $name)) {
            return 'a double quote or control character in the name';
        }
        if (str_contains($name, 'id=')) {
            return 'the name contains "id="';
        }
        if (!preg_match('//u', $name)) {
            return 'the name is not UTF-8';
        }
        return null;
    }

    /**
     * Derived from the name alone, so an id stays valid however the folder changes between
     * the table query and the download: a stale id never fetches another file's bytes.
     */
    public static function idOf(string $name): string
    {
        return sprintf('%u', crc32($name));
    }

    /** @return array<string, string> download id => bare file name */
    public function files(): array
    {
        return $this->files;
    }

    public function path(string $name): string
    {
        return "$this->dir/$name";
    }

    /** The table: one row per offered file, separated by CR LF. */
    public function table(): string
    {
        $rows = [];
        foreach ($this->files as $id => $name) {
            $row = $this->row((string)$id);
            if ($row !== null) {
                $rows[] = $row;
            }
        }
        return implode("\r\n", $rows);
    }

    /** The row of one file, or null (logged) when the file vanished or cannot be read. */
    public function row(string $id): ?string
    {
        $name = $this->files[$id] ?? null;
        if ($name === null) {
            return null;
        }
        $path = $this->path($name);
        clearstatcache(true, $path);
        $md5 = @md5_file($path);
        $size = @filesize($path);
        $mtime = @filemtime($path);
        if ($md5 === false || $size === false || $mtime === false) {
            ($this->log)("not offered: \"$name\": cannot be read");
            return null;
        }
        [$version, $source] = $this->versionOf($name, $path);
        $columns = [
            (string)$this->numbers[$id],
            $this->productId,
            $name,
            self::kindOf($name),
            date('d.m.Y', $mtime),
            implode('.', $version),
            (string)$version[0],
            (string)$version[1],
            (string)$version[2],
            (string)$version[3],
            (string)KC_GAUGE_MAX,
            (string)$size,
            $source,
            '',
            '',
            '',
            "file.php?id=$id",
            strtoupper($md5),
        ];
        return '"' . implode('","', $columns) . '"';
    }

    /** @return array{0: array{int,int,int,int}, 1: string} the version and where it came from */
    private function versionOf(string $name, string $path): array
    {
        $listed = $this->manifest()[$name] ?? null;
        if ($listed === null) {
            foreach ($this->manifest() as $listedName => $version) {
                if (strcasecmp($listedName, $name) === 0) {
                    $listed = $version;
                    break;
                }
            }
        }
        if ($listed !== null) {
            return [$listed, KC_MANIFEST];
        }
        try {
            // Any file may be a PE image (.exe, .dll, .bpl, ...); the launcher asks Windows
            // for the version of every file that is not .pdf or .txt.
            $resource = kc_pe_file_version($path);
        } catch (RuntimeException $e) {
            ($this->log)("\"$name\": " . $e->getMessage());
            $resource = null;
        }
        return $resource !== null ? [$resource, 'resource'] : [[1, 0, 0, 0], 'default'];
    }

    private static function kindOf(string $name): string
    {
        $ext = strtolower(pathinfo($name, PATHINFO_EXTENSION));
        return match ($ext) {
            'exe' => 'program',
            'dll', 'bpl' => 'library',
            'pdf', 'txt' => 'document',
            default => 'file',
        };
    }

    /** versions.ini: lines "FileName=1.2.3.4"; ";" or "#" comments and [sections] are ignored. */
    private function manifest(): array
    {
        if ($this->manifest !== null) {
            return $this->manifest;
        }
        $this->manifest = [];
        $path = "$this->dir/" . KC_MANIFEST;
        foreach (scandir($this->dir) ?: [] as $entry) {
            if (strcasecmp($entry, KC_MANIFEST) === 0) {
                $path = "$this->dir/$entry";
                break;
            }
        }
        if (!is_file($path)) {
            return $this->manifest;
        }
        $lines = @file($path, FILE_IGNORE_NEW_LINES);
        if ($lines === false) {
            ($this->log)(KC_MANIFEST . ' cannot be read; versions come from the files');
            return $this->manifest;
        }
        foreach ($lines as $number => $line) {
            $line = trim($number === 0 ? preg_replace('/^\xEF\xBB\xBF/', '', $line) : $line);
            if ($line === '' || $line[0] === ';' || $line[0] === '#' || $line[0] === '[') {
                continue;
            }
            $eq = strrpos($line, '=');
            $name = $eq === false ? '' : rtrim(substr($line, 0, $eq));
            $value = $eq === false ? '' : ltrim(substr($line, $eq + 1));
            $parts = explode('.', $value);
            $valid = $name !== '' && count($parts) === 4;
            foreach ($parts as $part) {
                $valid = $valid && preg_match('/^\d{1,5}$/', $part) && (int)$part <= 0xFFFF;
            }
            if (!$valid) {
                ($this->log)(KC_MANIFEST . ' line ' . ($number + 1) . ' ignored, expected FileName=major.minor.release.build: ' . $line);
                continue;
            }
            $this->manifest[$name] = array_map('intval', $parts); // "01" becomes 1, as the launcher writes it
        }
        return $this->manifest;
    }
}
