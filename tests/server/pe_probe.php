<?php
// Prints what the server's version reader finds in each file given on the command line, one
// JSON object per line, so the tests can check the reader on images they build themselves.
declare(strict_types=1);

require_once dirname(__DIR__, 2) . '/server/lib/pe_version.php';

foreach (array_slice($argv, 1) as $path) {
    try {
        $result = ['file' => basename($path), 'version' => kc_pe_file_version($path)];
    } catch (RuntimeException $e) {
        $result = ['file' => basename($path), 'error' => $e->getMessage()];
    }
    echo json_encode($result), "\n";
}
