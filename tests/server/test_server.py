# Checks the reference update server from the outside, the way the launcher uses it: a real PHP
# built-in server started through serve.sh on a loopback port, real HTTP requests, a temporary
# offer folder with PE images built here. Also checks the PE version reader on its own.
import datetime
import hashlib
import http.client
import http.cookiejar
import json
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.error
import urllib.request
import zlib

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pe_builder  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
SERVER_DIR = os.path.normpath(os.path.join(HERE, "..", "..", "server"))
KEY_PHRASE = "Pet sinkavi kozi!"
PRODUCT_ID = "10001"
BIG_SIZE = 24 * 1024 * 1024  # above the server's memory limit in these tests
PHP_TROUBLE = re.compile(r"PHP (Warning|Notice|Deprecated|Fatal|Parse)|internal error|Stack trace")
# PHP's own form parser reports a broken form before any script runs; that line is expected.
PHP_PARSER = re.compile(r"in Unknown on line 0$")


def md5_upper(text):
    """The launcher's MD5 of a text: one byte per character, "?" outside ASCII, uppercase."""
    return hashlib.md5("".join(c if ord(c) < 128 else "?" for c in text).encode("ascii")).hexdigest().upper()


def double_digest(text):
    return hashlib.md5(md5_upper(text).lower().encode("ascii")).hexdigest()


def day(offset):
    return (datetime.date.today() + datetime.timedelta(days=offset)).strftime("%d.%m.%Y")


def crc_id(name):
    return str(zlib.crc32(name.encode("utf-8")))


def multipart(fields, boundary="=_KestrumBoundary_0042"):
    """A form as the launcher sends it: text parts, in order, repeated names allowed."""
    body = b""
    for name, value in fields:
        body += (
            f"--{boundary}\r\n"
            f'Content-Disposition: form-data; name="{name}"\r\n'
            "Content-Type: text/plain\r\n"
            "Content-Transfer-Encoding: quoted-printable\r\n\r\n"
            f"{value}\r\n"
        ).encode("utf-8")
    body += f"--{boundary}--\r\n".encode("ascii")
    return body, f"multipart/form-data; boundary={boundary}"


def columns(row):
    """The 18 columns of a row, as the launcher cuts them (no column holds the separator)."""
    return row[1:-1].split('","')


class Server:
    """serve.sh on a free loopback port, its log captured to a file."""

    def __init__(self, offer_dir, work_dir):
        self.offer_dir = offer_dir
        self.log_path = os.path.join(work_dir, "server.log")
        self.sessions = os.path.join(work_dir, "sessions")
        os.makedirs(self.sessions, exist_ok=True)
        self.process = None
        for _ in range(5):  # another program may take the port between choosing and binding
            self.port = self._free_port()
            if self._start():
                return
        raise RuntimeError("the server did not start; log:\n" + self.log())

    @staticmethod
    def _free_port():
        with socket.socket() as s:
            s.bind(("127.0.0.1", 0))
            return s.getsockname()[1]

    def _start(self):
        env = dict(os.environ, KC_SESSION_DIR=self.sessions)
        self.log_file = open(self.log_path, "ab")
        self.process = subprocess.Popen(
            [os.path.join(SERVER_DIR, "serve.sh"), self.offer_dir, str(self.port), "-d", "memory_limit=16M"],
            stdin=subprocess.DEVNULL, stdout=self.log_file, stderr=subprocess.STDOUT, env=env)
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                self.log_file.close()
                return False
            try:
                socket.create_connection(("127.0.0.1", self.port), timeout=1).close()
                return True
            except OSError:
                time.sleep(0.05)
        self.stop()
        return False

    @property
    def base(self):
        return f"http://127.0.0.1:{self.port}/"

    def log(self, since=0):
        with open(self.log_path, "rb") as f:
            f.seek(since)
            return f.read().decode("utf-8", "replace")

    def log_size(self):
        return os.path.getsize(self.log_path)

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            self.process.wait(timeout=20)
        self.log_file.close()


class Client:
    """One launcher: keeps its cookies, computes its key from its own token."""

    def __init__(self, base):
        self.base = base
        self.cookies = http.cookiejar.CookieJar()
        self.opener = urllib.request.build_opener(urllib.request.HTTPCookieProcessor(self.cookies))
        self.token = None

    def request(self, path, data=None, content_type=None, method=None):
        req = urllib.request.Request(self.base + path, data=data, method=method)
        if content_type:
            req.add_header("Content-Type", content_type)
        try:
            with self.opener.open(req, timeout=60) as resp:
                return resp.status, resp.headers, resp.read()
        except urllib.error.HTTPError as e:
            with e:
                return e.code, e.headers, e.read()

    def probe(self):
        status, headers, body = self.request("index.php")
        self.token = body.decode("utf-8").strip()
        return status, headers, body

    def key(self):
        return double_digest(KEY_PHRASE + self.token)

    def post(self, path, fields):
        body, content_type = multipart(fields)
        return self.request(path, body, content_type)

    def table(self):
        status, _, body = self.post("index.php", [("key", self.key())])
        return status, body.decode("utf-8")


class ServerTestCase(unittest.TestCase):
    """One server for all tests; every test must leave the server's log free of PHP trouble."""

    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="kc-server-test-")
        cls.offer = os.path.join(cls.work, "offer")
        os.makedirs(cls.offer)
        cls.server = Server(cls.offer, cls.work)

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()
        shutil.rmtree(cls.work, ignore_errors=True)

    def setUp(self):
        for entry in os.listdir(self.offer):
            path = os.path.join(self.offer, entry)
            shutil.rmtree(path) if os.path.isdir(path) else os.remove(path)
        self.files = {}
        self.log_start = self.server.log_size()
        self.client = Client(self.server.base)
        self.client.probe()

    def tearDown(self):
        trouble = [line for line in self.new_log().splitlines()
                   if PHP_TROUBLE.search(line) and not PHP_PARSER.search(line)]
        self.assertEqual(trouble, [], "PHP reported problems")

    def new_log(self):
        return self.server.log(self.log_start)

    def put(self, name, data):
        with open(os.path.join(self.offer, name), "wb") as f:
            f.write(data)
        self.files[name] = data

    def rows_by_name(self, table):
        return {columns(row)[2]: row for row in table.split("\r\n")}


class PeVersionTest(unittest.TestCase):
    """The version reader alone, on images built here."""

    def test_reads_file_version_or_reports_none(self):
        v = pe_builder.version_info
        cases = {
            "pe32.dll": (pe_builder.versioned_pe((1, 2, 3, 4)), [1, 2, 3, 4]),
            "pe32plus.dll": (pe_builder.versioned_pe((65535, 0, 7, 300), plus=True), [65535, 0, 7, 300]),
            "other_types_first.exe": (pe_builder.build_pe(
                [("MYDATA", b"abc"), (pe_builder.RT_ICON, b"\0" * 40), (pe_builder.RT_VERSION, v((2, 0, 0, 5)))]),
                [2, 0, 0, 5]),
            "plus_named_first.exe": (pe_builder.build_pe(
                [("TYPELIB", b"x" * 9), (pe_builder.RT_VERSION, v((10, 9, 8, 7)))], plus=True), [10, 9, 8, 7]),
            "no_version_resource.dll": (pe_builder.build_pe([(pe_builder.RT_ICON, b"\0" * 40)]), None),
            "no_resources.dll": (pe_builder.build_pe(None), None),
            "directory_not_set.dll": (pe_builder.build_pe(
                [(pe_builder.RT_VERSION, v((1, 1, 1, 1)))], with_resource_directory=False), None),
            "no_signature.dll": (pe_builder.build_pe([(pe_builder.RT_VERSION, b"\0" * 92)]), None),
            "cut_in_resource_tree.dll": (pe_builder.versioned_pe((1, 2, 3, 4))[:0x420], None),
            "cut_in_version_data.dll": (pe_builder.versioned_pe((1, 2, 3, 4))[:0x470], None),
            "header_only.dll": (pe_builder.versioned_pe((1, 2, 3, 4))[:0x90], None),
            "pe_offset_outside.dll": (b"MZ" + b"\0" * 58 + b"\xff\xff\xff\x7f" + b"\0" * 64, None),
            "manual.txt": (b"MZ is just text here\r\n", None),
            "empty.pdf": (b"", None),
        }
        with tempfile.TemporaryDirectory() as tmp:
            for name, (data, _) in cases.items():
                with open(os.path.join(tmp, name), "wb") as f:
                    f.write(data)
            paths = [os.path.join(tmp, name) for name in cases] + [os.path.join(tmp, "missing.dll")]
            run = subprocess.run(["php", "-d", "error_reporting=-1", "-d", "display_errors=stderr",
                                  os.path.join(HERE, "pe_probe.php"), *paths],
                                 capture_output=True, text=True, timeout=60)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(run.stderr, "")
        results = {r["file"]: r for r in map(json.loads, run.stdout.splitlines())}
        for name, (_, expected) in cases.items():
            with self.subTest(name):
                self.assertEqual(results[name], {"file": name, "version": expected})
        self.assertIn("cannot open", results["missing.dll"]["error"])


class ProtocolTest(ServerTestCase):

    def offer_standard_set(self):
        """Programs, libraries and documents as a vendor publishes them; returns name -> version."""
        self.put("Orvalis.dll", pe_builder.versioned_pe((2, 5, 0, 17)))
        self.put("Saldrin.dll", pe_builder.versioned_pe((1, 0, 3, 0), plus=True))
        self.put("KestrumClient.exe", pe_builder.versioned_pe((1, 0, 0, 49)))
        self.put("Kelvasto.dll", pe_builder.build_pe(None))
        self.put("LSUPP_DEF.txt", "Start\r\nСтарт\r\n".encode("utf-8"))
        self.put("KESTRUMC_ENUSRMANUAL.pdf", b"%PDF-1.4\n" + bytes(range(256)) * 40)
        self.put("Ръководство.pdf", b"%PDF-1.4\nmanual\n")
        return {
            "Orvalis.dll": "2.5.0.17",
            "Saldrin.dll": "1.0.3.0",
            "KestrumClient.exe": "1.0.0.49",
            "Kelvasto.dll": "1.0.0.0",
            "LSUPP_DEF.txt": "1.0.0.0",
            "KESTRUMC_ENUSRMANUAL.pdf": "1.0.0.0",
            "Ръководство.pdf": "1.0.0.0",
        }

    def test_probe_answers_a_token_and_sets_a_session_cookie(self):
        client = Client(self.server.base)
        status, headers, body = client.probe()
        self.assertEqual(status, 200)
        self.assertRegex(client.token, r"^[0-9a-f]{32}$")
        self.assertEqual(body.decode(), client.token)
        self.assertEqual([c.name for c in client.cookies], ["KCSESSION"])
        first_token, cookie = client.token, next(iter(client.cookies)).value
        client.probe()
        self.assertNotEqual(client.token, first_token)
        self.assertEqual(next(iter(client.cookies)).value, cookie, "the session is kept across probes")

    def test_table_holds_one_well_formed_row_per_offered_file(self):
        versions = self.offer_standard_set()
        status, table = self.client.table()
        self.assertEqual(status, 200)
        self.assertGreater(len(table), 100)
        self.assertFalse(table.endswith("\r\n"))
        rows = table.split("\r\n")
        self.assertNotIn("\n", table.replace("\r\n", ""))
        self.assertEqual(sorted(columns(r)[2] for r in rows), sorted(versions))
        ids = set()
        for row in rows:
            c = columns(row)
            name = c[2]
            with self.subTest(name):
                self.assertTrue(row.startswith('"') and row.endswith('"'))
                self.assertEqual(len(c), 18)
                self.assertEqual(c[1], PRODUCT_ID)
                self.assertIn(PRODUCT_ID, row[1:-1])
                self.assertIn(name, row[1:-1])
                self.assertEqual(c[5], versions[name])
                self.assertEqual(c[6:10], versions[name].split("."))
                self.assertEqual(c[10], "100")
                self.assertEqual(c[17], hashlib.md5(self.files[name]).hexdigest().upper())
                # The launcher takes the text after the first "id=" up to the next quote.
                found = row[row.index("id=") + 3:].split('"')[0]
                self.assertEqual(c[16], "file.php?id=" + found)
                self.assertEqual(row.count("id="), 1)
                self.assertRegex(found, r"^\d+$")
                ids.add(found)
        self.assertEqual(len(ids), len(rows))

    def test_wrong_or_missing_key_is_refused_and_logged(self):
        self.offer_standard_set()
        token = self.client.token
        stranger = Client(self.server.base)
        stranger.probe()
        cases = [
            ("no fields", []),
            ("empty key", [("key", "")]),
            ("wrong key", [("key", "0" * 32)]),
            ("inner digest not lowercased",
             [("key", hashlib.md5(md5_upper(KEY_PHRASE + token).encode()).hexdigest())]),
            ("single digest", [("key", md5_upper(KEY_PHRASE + token).lower())]),
            ("another session's key", [("key", stranger.key())]),
            ("key as a list", [("key[]", self.client.key())]),
        ]
        for label, fields in cases:
            with self.subTest(label):
                status, _, body = self.client.post("index.php", fields)
                self.assertEqual((status, body), (403, b""))
        # The right key without the session cookie is refused as well.
        cookieless = Client(self.server.base)
        status, _, body = cookieless.post("index.php", [("key", self.client.key())])
        self.assertEqual((status, body), (403, b""))
        log = self.new_log()
        self.assertEqual(log.count("403 refused: wrong key"), 4)
        self.assertEqual(log.count("403 refused: no key"), 3)
        self.assertEqual(log.count("403 refused: no session token"), 1)
        # ... while the session still works with its own key.
        self.assertEqual(self.client.table()[0], 200)

    def test_per_file_query_answers_that_files_row(self):
        self.offer_standard_set()
        rows = self.rows_by_name(self.client.table()[1])
        key = self.client.key()
        cases = [
            ("today", "Orvalis.dll", day(0), 200),
            ("yesterday", "KestrumClient.exe", day(-1), 200),
            ("tomorrow", "LSUPP_DEF.txt", day(1), 200),
            ("non-ASCII name", "Ръководство.pdf", day(0), 200),
            ("three days ago", "Orvalis.dll", day(-3), 404),
            ("in three days", "Orvalis.dll", day(3), 404),
            ("file not offered", "Durnemar.dll", day(0), 404),
            ("other case", "orvalis.dll", day(0), 404),
            ("date written otherwise", "Orvalis.dll", datetime.date.today().isoformat(), 404),
        ]
        for label, name, date, expected in cases:
            with self.subTest(label):
                status, _, body = self.client.post("index.php", [("key", key), ("filename", double_digest(name + date))])
                self.assertEqual(status, expected)
                self.assertEqual(body.decode("utf-8"), rows[name] if expected == 200 else "")
        for label, fields, expected in [
            ("empty filename", [("key", key), ("filename", "")], 404),
            ("garbage filename", [("key", key), ("filename", "../../etc/passwd")], 404),
            ("wrong key", [("key", "f" * 32), ("filename", double_digest("Orvalis.dll" + day(0)))], 403),
        ]:
            with self.subTest(label):
                self.assertEqual(self.client.post("index.php", fields)[::2], (expected, b""))
        self.assertIn("404 refused: filename matches no offered file", self.new_log())

    def test_file_request_sends_the_exact_bytes(self):
        self.offer_standard_set()
        rows = self.rows_by_name(self.client.table()[1])
        key = self.client.key()
        for name in ["Orvalis.dll", "LSUPP_DEF.txt", "Ръководство.pdf", "KESTRUMC_ENUSRMANUAL.pdf"]:
            file_id = columns(rows[name])[16].split("id=")[1]
            forms = {
                "after the table": [("key", key), ("key", key), ("id", file_id)],
                "after a per-file query": [("key", key), ("filename", double_digest(name + day(0))),
                                           ("key", key), ("key", key), ("id", file_id)],
            }
            for label, fields in forms.items():
                with self.subTest(name=name, form=label):
                    status, headers, body = self.client.post("file.php?id=" + file_id, fields)
                    self.assertEqual(status, 200)
                    self.assertEqual(headers["Content-Type"], "application/octet-stream")
                    self.assertEqual(headers["Content-Length"], str(len(self.files[name])))
                    self.assertEqual(body, self.files[name])

    def test_large_file_is_streamed_intact(self):
        self.put("Small.txt", b"small\r\n")
        big = bytes(range(256)) * (BIG_SIZE // 256 - 1) + os.urandom(256)
        self.put("Hestrova.dll", big)
        row = self.rows_by_name(self.client.table()[1])["Hestrova.dll"]
        self.assertEqual(columns(row)[17], hashlib.md5(big).hexdigest().upper())
        file_id = columns(row)[16].split("id=")[1]
        body, content_type = multipart([("key", self.client.key()), ("key", self.client.key()), ("id", file_id)])
        req = urllib.request.Request(self.server.base + "file.php?id=" + file_id, data=body)
        req.add_header("Content-Type", content_type)
        digest, received = hashlib.md5(), 0
        with self.client.opener.open(req, timeout=120) as resp:
            self.assertEqual(resp.headers["Content-Length"], str(BIG_SIZE))
            while chunk := resp.read(1 << 20):
                digest.update(chunk)
                received += len(chunk)
        self.assertEqual(received, BIG_SIZE)
        self.assertEqual(digest.hexdigest(), hashlib.md5(big).hexdigest())
        self.assertIn(f'sent "Hestrova.dll" ({BIG_SIZE} bytes)', self.new_log())

    def test_file_request_refusals(self):
        self.offer_standard_set()
        self.put(".Orvalis.dll.part", b"half an upload")
        key = self.client.key()
        good = crc_id("Orvalis.dll")
        cases = [
            ("unknown id", "file.php?id=999", [("key", key), ("key", key), ("id", "999")], 404),
            ("id of a hidden file", "file.php?id=" + crc_id(".Orvalis.dll.part"),
             [("key", key), ("id", crc_id(".Orvalis.dll.part"))], 404),
            ("path instead of id", "file.php?id=../../etc/passwd", [("key", key), ("id", "../../etc/passwd")], 404),
            ("ids disagree", "file.php?id=" + good, [("key", key), ("id", crc_id("Saldrin.dll"))], 404),
            ("no id", "file.php", [("key", key)], 404),
            ("id as a list", "file.php?id[]=" + good, [("key", key), ("id[]", good)], 404),
            ("wrong key", "file.php?id=" + good, [("key", "a" * 32), ("id", good)], 403),
            ("no key", "file.php?id=" + good, [("id", good)], 403),
        ]
        for label, path, fields, expected in cases:
            with self.subTest(label):
                status, _, body = self.client.post(path, fields)
                self.assertEqual((status, body), (expected, b""))
        self.assertIn("404 refused: unknown id 999", self.new_log())
        # The id from the address alone is enough.
        self.assertEqual(self.client.post("file.php?id=" + good, [("key", key)])[2], self.files["Orvalis.dll"])

    def test_garbage_requests_get_a_clear_answer(self):
        self.offer_standard_set()
        key = self.client.key()
        cases = [
            ("GET file.php", "file.php", None, None, "GET", 405),
            ("PUT index.php", "index.php", b"x", "text/plain", "PUT", 405),
            ("DELETE file.php", "file.php?id=1", None, None, "DELETE", 405),
            ("POST index.php without a body", "index.php", b"", None, "POST", 403),
            ("POST file.php without a body", "file.php", b"", None, "POST", 403),
            ("binary body", "index.php", os.urandom(4096), "application/octet-stream", "POST", 403),
            ("form without boundary", "index.php", b"--x\r\n\r\nkey\r\n", "multipart/form-data", "POST", 403),
            ("url-encoded key", "index.php", f"key={key}".encode(), "application/x-www-form-urlencoded", "POST", 200),
            ("key of 1 MB", "index.php", f"key={'a' * (1 << 20)}".encode(), "application/x-www-form-urlencoded",
             "POST", 403),
        ]
        for label, path, data, content_type, method, expected in cases:
            with self.subTest(label):
                status, _, body = self.client.request(path, data, content_type, method)
                self.assertEqual(status, expected)
                if expected != 200:
                    self.assertEqual(body, b"")
        # A forged session cookie is no session: the probe starts a new one, a POST is refused.
        forged = Client(self.server.base)
        forged.opener = urllib.request.build_opener()  # keeps sending only the forged cookie
        forged.opener.addheaders = [("Cookie", "KCSESSION=../../../etc/passwd")]
        status, _, _ = forged.probe()
        self.assertEqual(status, 200)
        self.assertRegex(forged.token, r"^[0-9a-f]{32}$")
        self.assertEqual(forged.post("index.php", [("key", forged.key())])[::2], (403, b""))
        log = self.new_log()
        self.assertIn("405 refused: files are fetched with POST", log)
        self.assertIn("Missing boundary in multipart/form-data POST data", log)

    def test_versions_ini_wins_and_bad_lines_are_skipped(self):
        self.put("KestrumClient.exe", pe_builder.versioned_pe((1, 0, 0, 49)))
        self.put("KESTRUMC_ENUSRMANUAL.pdf", b"%PDF-1.4\n")
        self.put("Orvalis.dll", pe_builder.versioned_pe((2, 5, 0, 17)))
        self.put("Kelvasto.dll", b"no PE at all")
        with open(os.path.join(self.offer, "versions.ini"), "wb") as f:
            f.write(b"\xef\xbb\xbf; versions the files do not carry themselves\r\n"
                    b"KestrumClient.exe=1.0.0.50\r\n"
                    b"kestrumc_enusrmanual.pdf = 03.01.0.0\r\n"
                    b"Orvalis.dll=2.5\r\n"
                    b"Kelvasto.dll=1.70000.0.0\r\n")
        rows = self.rows_by_name(self.client.table()[1])
        self.assertNotIn("versions.ini", rows)
        expected = {
            "KestrumClient.exe": ["1.0.0.50", "1", "0", "0", "50"],
            "KESTRUMC_ENUSRMANUAL.pdf": ["3.1.0.0", "3", "1", "0", "0"],
            "Orvalis.dll": ["2.5.0.17", "2", "5", "0", "17"],
            "Kelvasto.dll": ["1.0.0.0", "1", "0", "0", "0"],
        }
        for name, version in expected.items():
            with self.subTest(name):
                self.assertEqual(columns(rows[name])[5:10], version)
        log = self.new_log()
        self.assertIn("versions.ini line 4 ignored", log)
        self.assertIn("versions.ini line 5 ignored", log)

    def test_publishing_follows_the_folder(self):
        versions = self.offer_standard_set()
        self.put(".upload.tmp", b"not yet")
        os.makedirs(os.path.join(self.offer, "old"))
        self.put("Paid=1.txt", b"would break the id")
        self.put('say"hi".txt', b"would break the row")
        before = self.rows_by_name(self.client.table()[1])
        self.assertEqual(sorted(before), sorted(versions))
        log = self.new_log()
        self.assertIn('not offered: "Paid=1.txt": the name contains "id="', log)
        self.assertIn('not offered: "say"hi".txt": a double quote', log)

        # A new version replaces the file under the same name (renamed into place); a new file
        # appears; a removed one is gone, and so is its id.
        self.put(".Orvalis.dll.new", pe_builder.versioned_pe((2, 6, 0, 0)))
        os.replace(os.path.join(self.offer, ".Orvalis.dll.new"), os.path.join(self.offer, "Orvalis.dll"))
        self.files["Orvalis.dll"] = self.files.pop(".Orvalis.dll.new")
        self.put("Jannovir.dll", pe_builder.versioned_pe((1, 0, 0, 1), plus=True))
        os.remove(os.path.join(self.offer, "Saldrin.dll"))
        after = self.rows_by_name(self.client.table()[1])
        self.assertEqual(columns(after["Orvalis.dll"])[5], "2.6.0.0")
        self.assertEqual(columns(after["Orvalis.dll"])[17], hashlib.md5(self.files["Orvalis.dll"]).hexdigest().upper())
        self.assertEqual(columns(after["Orvalis.dll"])[16], columns(before["Orvalis.dll"])[16], "the id is kept")
        self.assertEqual(columns(after["Jannovir.dll"])[5], "1.0.0.1")
        self.assertNotIn("Saldrin.dll", after)
        key = self.client.key()
        gone = columns(before["Saldrin.dll"])[16].split("id=")[1]
        self.assertEqual(self.client.post("file.php?id=" + gone, [("key", key), ("id", gone)])[::2], (404, b""))

    def test_empty_or_missing_offer_folder(self):
        status, table = self.client.table()
        self.assertEqual((status, table), (200, ""))
        self.assertIn("the offer folder holds no offered file", self.new_log())
        moved = self.offer + ".away"
        os.rename(self.offer, moved)
        try:
            status, table = self.client.table()
            self.assertEqual((status, table), (503, ""))
        finally:
            os.rename(moved, self.offer)
        self.assertIn("503 offer folder missing or unreadable", self.new_log())

    def test_the_launchers_own_conversation(self):
        """HTTP/1.0 with the launcher's headers and its cookie handling, from probe to file."""
        self.offer_standard_set()
        self.put("OLD_Orvalis.dll", b"a leftover that also matches the name")

        class Http10(http.client.HTTPConnection):
            _http_vsn = 10
            _http_vsn_str = "HTTP/1.0"

        cookie = None

        def exchange(method, path, fields=None):
            nonlocal cookie
            conn = Http10("127.0.0.1", self.server.port, timeout=60)
            headers = {"Accept": "text/html, */*", "Accept-Charset": "utf-8", "Accept-Encoding": "utf-8",
                       "User-Agent": "Mozilla/3.0 (compatible; Indy Library)"}
            if cookie:
                headers["Cookie"] = cookie
            body = None
            if fields is not None:
                body, headers["Content-Type"] = multipart(fields, boundary="--------121015193817145")
            conn.request(method, path, body=body, headers=headers)
            resp = conn.getresponse()
            data = resp.read()
            set_cookie = resp.getheader("Set-Cookie")
            if set_cookie:
                cookie = set_cookie.split(";")[0]
            conn.close()
            return resp.status, resp.getheader("Content-Length"), data

        status, _, token = exchange("GET", "/index.php")
        self.assertEqual(status, 200)
        key = double_digest(KEY_PHRASE + token.decode().strip())
        status, _, table = exchange("POST", "/index.php", [("key", key)])
        self.assertEqual(status, 200)
        # The launcher keeps the rows holding both the product id and the name: two here.
        name = "Orvalis.dll"
        kept = [line for line in re.split(r"\r\n|\r|\n", table.decode()) if name in line[1:-1] and PRODUCT_ID in line[1:-1]]
        self.assertEqual(len(kept), 2)
        # ... so it asks for the row of its file, then for the file with the same form.
        form = [("key", key), ("filename", double_digest(name + day(0)))]
        status, _, row = exchange("POST", "/index.php", form)
        self.assertEqual(status, 200)
        row = row.decode()
        self.assertEqual(columns(row)[2], name)
        file_id = row[row.index("id=") + 3:].split('"')[0]
        form += [("key", key), ("key", key), ("id", file_id)]
        status, length, data = exchange("POST", "/file.php?id=" + file_id, form)
        self.assertEqual((status, length, data), (200, str(len(self.files[name])), self.files[name]))


if __name__ == "__main__":
    unittest.main(verbosity=2)
