#!/usr/bin/env python3
"""The whole update cycle with the real programs: KestrumClient.exe under Wine, its elevated
updater Brevan.exe and the reference update server on 127.0.0.1. The launcher checks for
updates on start (from its settings file), hands its own executable to Brevan.exe, which
starts the new version; that one installs the newer plugin and language file. Further cases:
a plugin the launcher cannot replace itself goes through Brevan.exe, and a server that is down
or answers garbage changes nothing. Results are checked in the files and logs, and in the
running window (read by a small probe program)."""

import argparse
import hashlib
import http.server
import os
import shutil
import socketserver
import subprocess
import sys
import tempfile
import threading
import time

PORT = 47801  # the launcher's built-in update address
FAILURES = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        FAILURES.append(what)


def pe_version(path):
    """The fixed file version of a PE file, as a dotted text; None without a resource."""
    try:
        data = open(path, "rb").read()
    except OSError:
        return None
    at = data.find(b"\xbd\x04\xef\xfe")
    if at < 0:
        return None
    ms = int.from_bytes(data[at + 8:at + 12], "little")
    ls = int.from_bytes(data[at + 12:at + 16], "little")
    return "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


def md5(path):
    return hashlib.md5(open(path, "rb").read()).hexdigest() if os.path.exists(path) else None


def wait_for(condition, seconds, step=0.5):
    end = time.time() + seconds
    while time.time() < end:
        if condition():
            return True
        time.sleep(step)
    return condition()


class Case:
    """One installation of the launcher with its own settings and an offer folder."""

    def __init__(self, args, name):
        self.args = args
        self.root = tempfile.mkdtemp(prefix="kc-e2e-%s-" % name)
        self.inst = os.path.join(self.root, "inst")
        self.offer = os.path.join(self.root, "offer")
        os.makedirs(os.path.join(self.inst, "PLUGINS"))
        os.makedirs(os.path.join(self.inst, "DOCUMENTATION"))
        os.makedirs(self.offer)
        b = args.build
        shutil.copy(os.path.join(b, "src", "KestrumClient.exe"), self.inst)
        shutil.copy(os.path.join(b, "updater", "Brevan.exe"), self.inst)
        for plugin in ("Orvalis.dll", "Saldrin.dll"):
            shutil.copy(os.path.join(b, "sdk", "demo", plugin), os.path.join(self.inst, "PLUGINS"))
        with open(os.path.join(self.inst, "DOCUMENTATION", "LSUPP_DEF.txt"), "wb") as f:
            f.write(b"#\r\nPlease choose country:\r\n")
        self.server = None
        self.launcher = None

    def path(self, *parts):
        return os.path.join(self.inst, *parts)

    def offer_file(self, source, name=None):
        shutil.copy(source, os.path.join(self.offer, name or os.path.basename(source)))

    def settings(self, country, check_on_start):
        import pwd
        docs = os.path.join(os.environ["WINEPREFIX"], "drive_c", "users", pwd.getpwuid(os.getuid()).pw_name,
                            "Documents", "Kestrum Client")
        os.makedirs(docs, exist_ok=True)
        lines = ["Country:", country, "Plugin name:", "", "COM Port:", "0", "Baudrate:", "7", "Port:", "",
                 "IP Address:", "", "Logical number:", "1", "Last device:", "", "Communication type:", "0",
                 "Check for Kestrum updates on start:", "1" if check_on_start else "0", "Last device:", "0"]
        with open(os.path.join(docs, "Config.txt"), "wb") as f:
            f.write("".join(l + "\r\n" for l in lines).encode("ascii"))
        self.log_folder = os.path.join(docs, "LOG_FOLDER")

    def serve(self):
        self.server = subprocess.Popen([os.path.join(self.args.source, "server", "serve.sh"), self.offer, str(PORT)],
                                       stdout=open(os.path.join(self.root, "server.log"), "wb"),
                                       stderr=subprocess.STDOUT)
        time.sleep(0.7)

    def serve_garbage(self):
        class Garbage(http.server.BaseHTTPRequestHandler):
            def reply(self):
                body = b"<html>this is not an update server</html>" * 5
                self.send_response(200)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)
            do_GET = do_POST = reply

            def log_message(self, *a):
                pass
        socketserver.TCPServer.allow_reuse_address = True
        self.garbage = socketserver.TCPServer(("127.0.0.1", PORT), Garbage)
        threading.Thread(target=self.garbage.serve_forever, daemon=True).start()

    def start(self):
        self.launcher = subprocess.Popen(["wine", self.path("KestrumClient.exe")], stdin=subprocess.DEVNULL,
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def probe(self, *extra):
        marker = os.path.basename(self.root)  # only this installation's windows
        out = subprocess.run(["wine", os.path.join(self.args.build, "tests", "e2e", "kc_probe.exe"), marker, *extra],
                             capture_output=True, timeout=60).stdout.decode("utf-8", "replace")
        result = {"countries_list": []}
        for line in out.splitlines():
            key, _, value = line.strip().partition("=")
            if key == "country":
                result["countries_list"].append(value)
            else:
                result[key] = value
        return result

    def launcher_processes(self):
        out = subprocess.run(["ps", "-eo", "args"], capture_output=True).stdout.decode("utf-8", "replace")
        return [l for l in out.splitlines() if "KestrumClient.exe" in l and self.inst.split("/")[-2] in l]

    def stop(self):
        if wait_for(lambda: self.probe().get("window") not in (None, "none"), 5):
            self.probe("--close")
        if not wait_for(lambda: not self.launcher_processes(), 20):
            subprocess.run(["wine", "taskkill", "/F", "/IM", "KestrumClient.exe"], capture_output=True)
        if self.server:
            self.server.terminate()
            self.server.wait()
        if getattr(self, "garbage", None):
            self.garbage.shutdown()
            self.garbage.server_close()
        if not FAILURES:
            shutil.rmtree(self.root, ignore_errors=True)

    def error_log(self):
        try:
            return open(os.path.join(self.log_folder, "KestrumClient_LOG.txt"), "rb").read().decode("cp1252", "replace")
        except OSError:
            return ""


def self_update(args):
    print("== the program updates itself, then the new version updates a plugin and the language file")
    c = Case(args, "self")
    b = args.build
    c.offer_file(os.path.join(b, "tests", "e2e", "next", "KestrumClient.exe"))
    c.offer_file(os.path.join(b, "sdk", "demo-next", "Orvalis.dll"))
    c.offer_file(os.path.join(b, "sdk", "demo", "Saldrin.dll"))
    c.offer_file(os.path.join(b, "tests", "e2e", "offer", "Kelvasto.dll"))
    with open(os.path.join(c.offer, "LSUPP_DEF.txt"), "wb") as f:
        f.write(b"#\r\nChoose the country (updated):\r\n")
    c.settings("POLAND", True)
    c.serve()
    try:
        check(pe_version(c.path("KestrumClient.exe")) == "1.0.0.49", "the installed program is 1.0.0.49")
        c.start()
        check(wait_for(lambda: pe_version(c.path("KestrumClient.exe")) == "1.0.1.50", 150),
              "Brevan.exe replaced the program with 1.0.1.50")
        check(wait_for(lambda: pe_version(c.path("PLUGINS", "Orvalis.dll")) == "1.1.0.0", 150),
              "the new program installed Orvalis.dll 1.1.0.0")
        check(wait_for(lambda: os.path.exists(c.path("PLUGINS", "Kelvasto.dll")), 60), "Kelvasto.dll was installed")
        check(wait_for(lambda: c.probe().get("update_window") == "no", 60), "the update window closed by itself")
        state = c.probe()
        check(state.get("window") == "visible", "the new launcher is running, its window visible")
        check(state.get("country_label") == "Choose the country (updated):",
              "the new language file is applied (%r)" % state.get("country_label"))
        check("ATLANTIS" in state["countries_list"], "the country list was rebuilt with the new plugin's country")
        check(open(c.path("DOCUMENTATION", "LSUPP_DEF.txt"), "rb").read() == b"#\r\nChoose the country (updated):\r\n",
              "LSUPP_DEF.txt replaced")
        check(not [f for f in os.listdir(c.path("PLUGINS")) if f.startswith("OLD_")], "no OLD_ file left")
        check(md5(c.path("PLUGINS", "Saldrin.dll")) == md5(os.path.join(b, "sdk", "demo", "Saldrin.dll")),
              "Saldrin.dll (not newer) untouched")
        brevan_log = open(c.path("Brevan_log.txt"), "rb").read().decode("utf-8", "replace") \
            if os.path.exists(c.path("Brevan_log.txt")) else ""
        check("KestrumClient.exe" in brevan_log, "Brevan.exe logged the hand-over")
        check("Unhandled" not in c.error_log(), "no unhandled error in the launcher's log")
    finally:
        c.stop()


def through_updater(args):
    print("== a plugin the launcher cannot replace itself goes through Brevan.exe")
    c = Case(args, "brevan")
    b = args.build
    shutil.copy(c.path("PLUGINS", "Orvalis.dll"), c.path("PLUGINS", "OLD_Orvalis.dll"))  # a leftover backup
    c.offer_file(os.path.join(b, "sdk", "demo-next", "Orvalis.dll"))
    c.offer_file(os.path.join(b, "sdk", "demo", "Saldrin.dll"))
    c.settings("POLAND", True)
    c.serve()
    try:
        c.start()
        check(wait_for(lambda: pe_version(c.path("PLUGINS", "Orvalis.dll")) == "1.1.0.0", 120),
              "Orvalis.dll 1.1.0.0 installed through Brevan.exe")
        check(wait_for(lambda: c.probe().get("update_window") == "no", 60), "the update window closed by itself")
        brevan_log = open(c.path("Brevan_log.txt"), "rb").read().decode("utf-8", "replace") \
            if os.path.exists(c.path("Brevan_log.txt")) else ""
        check("Orvalis.dll" in brevan_log, "Brevan.exe logged mode 0 for Orvalis.dll")
        check(c.probe().get("window") == "visible", "the launcher is back")
    finally:
        c.stop()


def broken_server(args):
    for kind in ("down", "garbage"):
        print("== the server is %s: nothing changes, the launcher stays usable" % kind)
        c = Case(args, kind)
        before = {f: md5(c.path("PLUGINS", f)) for f in os.listdir(c.path("PLUGINS"))}
        c.settings("POLAND", True)
        if kind == "garbage":
            c.serve_garbage()
        try:
            c.start()
            check(wait_for(lambda: c.probe().get("window") == "visible", 60), "the launcher window is shown")
            time.sleep(3)
            check(wait_for(lambda: c.probe().get("update_window") == "no", 30), "no update window is left open")
            state = c.probe()
            check(state.get("window") == "visible" and int(state.get("countries", "0")) >= 28,
                  "the launcher is usable (%s countries)" % state.get("countries"))
            after = {f: md5(c.path("PLUGINS", f)) for f in os.listdir(c.path("PLUGINS"))}
            check(before == after, "the installed plugins are unchanged")
        finally:
            c.stop()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--only", default="")
    args = parser.parse_args()
    if "WINEPREFIX" not in os.environ:
        print("run under scripts/test.sh (it provides the Wine prefix and display)")
        return 2
    os.environ["KESTRUM_UPDATER_SILENT"] = "1"
    for case in (self_update, through_updater, broken_server):
        if not args.only or args.only in case.__name__:
            case(args)
    print("%d failure(s)" % len(FAILURES))
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
