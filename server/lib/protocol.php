<?php
// What both entry points share: settings, the digests that the launcher computes, the session
// token, the refusal log and whole-or-nothing answers. Every refusal goes through kc_finish, so
// a bad request always ends with one status, an empty body and one log line.
declare(strict_types=1);

require_once __DIR__ . '/pe_version.php';
require_once __DIR__ . '/offer.php';

const KC_KEY_PHRASE = 'Pet sinkavi kozi!';
const KC_SESSION_NAME = 'KCSESSION';
const KC_SESSION_TOKEN = 'kc_token';

/** Settings: config.php next to public/, overridden by the environment (KC_OFFER_DIR, ...). */
function kc_config(): array
{
    static $config = null;
    if ($config !== null) {
        return $config;
    }
    $file = dirname(__DIR__) . '/config.php';
    $loaded = is_file($file) ? require $file : [];
    $config = (is_array($loaded) ? $loaded : []) + [
        'offer_dir' => dirname(__DIR__) . '/offer',
        'product_id' => '10001',
        'session_dir' => null,
        'timezone' => null,
    ];
    foreach (['offer_dir' => 'KC_OFFER_DIR', 'session_dir' => 'KC_SESSION_DIR'] as $key => $var) {
        $value = getenv($var);
        if ($value === false || $value === '') {
            $value = $_SERVER[$var] ?? null; // php-fpm and Apache may hand it over only here
        }
        if (is_string($value) && $value !== '') {
            $config[$key] = $value;
        }
    }
    $product = (string)$config['product_id'];
    if ($product === '' || preg_match('/["\r\n]|id=/', $product)) {
        throw new RuntimeException('config: product_id must be non-empty, without quotes or "id="');
    }
    if (is_string($config['timezone']) && $config['timezone'] !== '') {
        date_default_timezone_set($config['timezone']);
    }
    return $config;
}

function kc_log(string $message): void
{
    $who = $_SERVER['REMOTE_ADDR'] ?? '-';
    $what = ($_SERVER['REQUEST_METHOD'] ?? '-') . ' ' . ($_SERVER['REQUEST_URI'] ?? '-');
    // Control characters from the request must not forge extra log lines.
    error_log(preg_replace('/[\x00-\x1F\x7F]/', '?', "kestrum-update: $who $what: $message"));
}

/** Sends a complete text answer (possibly empty) and ends the request. */
function kc_finish(int $status, string $body = '', ?string $refusal = null): never
{
    if ($refusal !== null) {
        kc_log("$status $refusal");
    }
    http_response_code($status);
    header('Content-Type: text/plain; charset=utf-8');
    header('Content-Length: ' . strlen($body));
    header('Cache-Control: no-store');
    echo $body;
    exit;
}

/** Unexpected failures become a logged 500 with an empty body instead of a PHP error page. */
function kc_install_guard(): void
{
    ini_set('display_errors', '0');
    set_error_handler(static function (int $no, string $text, string $file, int $line): bool {
        if (!(error_reporting() & $no)) {
            return false; // silenced with @
        }
        throw new ErrorException($text, 0, $no, $file, $line);
    });
    set_exception_handler(static function (Throwable $e): void {
        kc_log('500 internal error: ' . $e->getMessage() . ' at ' . basename($e->getFile()) . ':' . $e->getLine());
        if (!headers_sent()) {
            http_response_code(500);
            header('Content-Type: text/plain; charset=utf-8');
            header('Content-Length: 0');
        }
    });
}

/** The launcher hashes one byte per UTF-16 unit and writes "?" for anything outside ASCII. */
function kc_ascii(string $text): string
{
    $folded = preg_replace_callback('/[^\x00-\x7F]/u', static fn(array $m): string => strlen($m[0]) === 4 ? '??' : '?', $text);
    return $folded ?? preg_replace('/[\x80-\xFF]/', '?', $text); // not UTF-8: one "?" per byte
}

/** lowercase(MD5(lowercase(MD5(x)))), the form in which the launcher sends "key" and "filename". */
function kc_double_digest(string $text): string
{
    return md5(strtolower(md5(kc_ascii($text))));
}

/** A posted text field; a missing or array-valued field ("key[]=...") gives null. */
function kc_field(string $name): ?string
{
    $value = $_POST[$name] ?? null;
    return is_string($value) ? strtolower(trim($value)) : null;
}

/** Starts the session of the cookie; false when the cookie is malformed (and $mayCreate is not set). */
function kc_start_session(bool $mayCreate): bool
{
    $config = kc_config();
    if (is_string($config['session_dir']) && $config['session_dir'] !== '') {
        session_save_path($config['session_dir']);
        // Nobody else cleans a folder of our own; a launcher probes again at every update run.
        ini_set('session.gc_probability', '1');
        ini_set('session.gc_divisor', '100');
        ini_set('session.gc_maxlifetime', '86400');
    }
    ini_set('session.use_strict_mode', '1');
    ini_set('session.use_only_cookies', '1');
    ini_set('session.use_trans_sid', '0');
    session_name(KC_SESSION_NAME);
    // A malformed cookie would make session_start() warn; such a client simply has no session.
    $cookie = $_COOKIE[KC_SESSION_NAME] ?? null;
    if ($cookie !== null && (!is_string($cookie) || !preg_match('/^[A-Za-z0-9,-]{22,128}$/', $cookie))) {
        if (!$mayCreate) {
            return false;
        }
        session_id(session_create_id());
    }
    return session_start();
}

/** Starts (or reuses) the caller's session and gives it a fresh token. */
function kc_issue_token(): string
{
    if (!kc_start_session(true)) {
        throw new RuntimeException('the session cannot be started');
    }
    $token = bin2hex(random_bytes(16));
    $_SESSION[KC_SESSION_TOKEN] = $token;
    session_write_close();
    return $token;
}

/** The token of the caller's session, or null when the caller has none. */
function kc_session_token(): ?string
{
    if (!isset($_COOKIE[KC_SESSION_NAME]) || !kc_start_session(false)) {
        return null; // no usable cookie: do not create a session just to find it empty
    }
    $token = $_SESSION[KC_SESSION_TOKEN] ?? null;
    if (!is_string($token) || $token === '') {
        session_destroy(); // an unknown id got a fresh, empty session: do not keep it
        return null;
    }
    // Closing at once releases the session lock before a long download and, unchanged,
    // only refreshes the session's age, so a long update run keeps its token.
    session_write_close();
    return $token;
}

/** Ends the request with 403 unless "key" is the double digest of the key phrase and the token. */
function kc_require_key(): void
{
    $key = kc_field('key');
    if ($key === null || $key === '') {
        kc_finish(403, '', 'refused: no key');
    }
    $token = kc_session_token();
    if ($token === null) {
        kc_finish(403, '', 'refused: no session token (the probe GET index.php must come first, with its cookie)');
    }
    if (!hash_equals(kc_double_digest(KC_KEY_PHRASE . $token), $key)) {
        kc_finish(403, '', 'refused: wrong key');
    }
}

/** The offer folder, or a logged 503 when it is not there. */
function kc_open_offer(): KcOffer
{
    $config = kc_config();
    $dir = (string)$config['offer_dir'];
    if (!is_dir($dir) || !is_readable($dir)) {
        kc_finish(503, '', "offer folder missing or unreadable: $dir");
    }
    return new KcOffer($dir, (string)$config['product_id'], 'kc_log');
}
