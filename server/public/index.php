<?php
// The launcher's three questions to "index.php": GET gives a session token (the connectivity
// probe); POST with "key" gives the whole table; POST with "key" and "filename" gives the one
// row whose file name, hashed with the date, matches.
declare(strict_types=1);

require_once dirname(__DIR__) . '/lib/protocol.php';

kc_install_guard();
kc_config();

$method = $_SERVER['REQUEST_METHOD'] ?? '';
if ($method === 'GET') {
    kc_finish(200, kc_issue_token());
}
if ($method !== 'POST') {
    header('Allow: GET, POST');
    kc_finish(405, '', 'refused: only GET and POST are answered');
}

kc_require_key();
$offer = kc_open_offer();

if (!array_key_exists('filename', $_POST)) {
    $table = $offer->table();
    if ($table === '') {
        kc_log('the offer folder holds no offered file; answered an empty table');
    }
    kc_finish(200, $table);
}

$wanted = kc_field('filename');
if ($wanted === null || $wanted === '') {
    kc_finish(404, '', 'refused: empty filename');
}
// The launcher's clock and ours may straddle midnight or time zones: accept the day either side.
$today = new DateTimeImmutable('today');
$dates = [$today->format('d.m.Y'), $today->modify('-1 day')->format('d.m.Y'), $today->modify('+1 day')->format('d.m.Y')];
foreach ($offer->files() as $id => $name) {
    foreach ($dates as $date) {
        if (hash_equals(kc_double_digest($name . $date), $wanted)) {
            $row = $offer->row((string)$id);
            if ($row === null) {
                kc_finish(404, '', "refused: \"$name\" cannot be read");
            }
            kc_finish(200, $row);
        }
    }
}
kc_finish(404, '', 'refused: filename matches no offered file for ' . implode(', ', $dates));
