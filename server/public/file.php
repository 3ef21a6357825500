<?php
// Sends the bytes of one offered file to the launcher ("file.php?id=N"). The file is streamed
// in chunks with its exact length declared, so files of any size pass without filling memory
// and a cut transfer is recognisable by its short length.
declare(strict_types=1);

require_once dirname(__DIR__) . '/lib/protocol.php';

const KC_CHUNK = 1 << 20;

kc_install_guard();
kc_config();

if (($_SERVER['REQUEST_METHOD'] ?? '') !== 'POST') {
    header('Allow: POST');
    kc_finish(405, '', 'refused: files are fetched with POST');
}
kc_require_key();

// The id comes in the address and again as a form field; they must not disagree.
$fromQuery = isset($_GET['id']) && is_string($_GET['id']) ? trim($_GET['id']) : null;
$fromForm = kc_field('id');
if ($fromQuery !== null && $fromForm !== null && $fromQuery !== $fromForm) {
    kc_finish(404, '', 'refused: id in the address and in the form differ');
}
$id = $fromQuery ?? $fromForm ?? '';
if ($id === '') {
    kc_finish(404, '', 'refused: no id');
}

$offer = kc_open_offer();
$name = $offer->files()[$id] ?? null;
if ($name === null) {
    kc_finish(404, '', 'refused: unknown id ' . substr($id, 0, 40));
}
$fh = @fopen($offer->path($name), 'rb');
$stat = $fh === false ? false : fstat($fh);
if ($stat === false) {
    kc_finish(404, '', "refused: \"$name\" cannot be opened");
}
// The length is taken from the open handle: a file replaced by rename meanwhile is sent whole,
// in its old version.
$size = $stat['size'];

ini_set('zlib.output_compression', '0');
while (ob_get_level() > 0) {
    ob_end_clean();
}
set_time_limit(0);
ignore_user_abort(true);
http_response_code(200);
header('Content-Type: application/octet-stream');
header('Content-Length: ' . $size);
header('Content-Disposition: attachment; filename="' . kc_ascii($name) . '"');
header('Cache-Control: no-store');
header('X-Accel-Buffering: no'); // nginx: pass the stream on instead of spooling it

$left = $size;
while ($left > 0) {
    $chunk = fread($fh, min(KC_CHUNK, $left));
    if ($chunk === false || $chunk === '') {
        kc_log("\"$name\" ended early: " . ($size - $left) . " of $size bytes sent");
        break;
    }
    echo $chunk;
    flush();
    $left -= strlen($chunk);
    if (connection_aborted()) {
        kc_log("\"$name\": the client left after " . ($size - $left) . " of $size bytes");
        break;
    }
}
fclose($fh);
if ($left === 0) {
    kc_log("sent \"$name\" ($size bytes)");
}
