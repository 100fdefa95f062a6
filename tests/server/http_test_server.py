#!/usr/bin/env python3
"""Scriptable HTTP server for the download tests and benchmarks, on 127.0.0.1 only.

  http_test_server.py --run CMD...   serves on a free port while CMD runs, with
                                     ORVANTO_TEST_HTTP_URL=http://127.0.0.1:PORT in
                                     CMD's environment; exits with CMD's status.
                                     ctest starts the download tests this way, so
                                     the server lives exactly as long as they do.
  http_test_server.py --root DIR --port-file F
                                     serves until killed; writes its port to F.

Paths:
  /data/NAME?size=N        N bytes of the test pattern (byte i = (i*7+3) % 251)
      &nolength=1          without Content-Length (the connection closes at the end)
      &truncate=M          announces N bytes, sends M and closes the connection
      &delay=MS&chunk=K    pauses MS milliseconds after every K bytes
      &stall=B&stallms=MS  pauses MS milliseconds once, after the first B bytes
  /status/CODE             answers CODE (301/302/303 point to /data/redirected)
  /zip/KIND.zip            a zip fixture made now (see make_zip)
  /files/PATH              a file of --root (PATH may name sub-folders; ".." is refused)
  /log                     the requests so far, one "PATH<TAB>User-Agent<TAB>Cache-Control<TAB>Pragma" line each
  /log?clear=1             empties the log
"""
import http.server, io, os, socket, socketserver, subprocess, sys, threading, time, urllib.parse, zipfile

PERIOD = 251
BLOCK = bytes((i * 7 + 3) % PERIOD for i in range(PERIOD * 256))
log_lock = threading.Lock()
request_log = []
root = None


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        query = dict(urllib.parse.parse_qsl(url.query))
        if url.path == "/log":
            with log_lock:
                if query.get("clear"):
                    request_log.clear()
                body = "".join(line + "\n" for line in request_log).encode()
            return self.reply(200, body)
        with log_lock:
            request_log.append("\t".join([self.path, self.headers.get("User-Agent", ""),
                                          self.headers.get("Cache-Control", ""), self.headers.get("Pragma", "")]))
        if url.path.startswith("/status/"):
            code = int(url.path.split("/")[2])
            extra = {"Location": "/data/redirected?size=10"} if code in (301, 302, 303) else {}
            if code == 401:
                extra["WWW-Authenticate"] = 'Basic realm="orvanto-test"'
            return self.reply(code, b"status page", extra)
        if url.path.startswith("/data/"):
            return self.pattern(int(query.get("size", "0")), query)
        if url.path.startswith("/zip/"):
            return self.reply(200, make_zip(os.path.basename(url.path).rsplit(".", 1)[0]))
        if url.path.startswith("/files/") and root:
            parts = [urllib.parse.unquote(p) for p in url.path[len("/files/"):].split("/") if p]
            if not parts or any(p in (".", "..") or "\\" in p for p in parts):
                return self.reply(404, b"not found")
            return self.file(os.path.join(root, *parts))
        return self.reply(404, b"not found")

    def reply(self, code, body, extra=None):
        self.send_response(code)
        for key, value in (extra or {}).items():
            self.send_header(key, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def pattern(self, size, query):
        send = int(query.get("truncate", size))
        delay = int(query.get("delay", "0")) / 1000.0
        chunk = int(query.get("chunk", str(len(BLOCK))))
        stall = int(query.get("stall", "-1"))
        stall_seconds = int(query.get("stallms", "0")) / 1000.0
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        if query.get("nolength"):
            self.send_header("Connection", "close")
            self.close_connection = True
        else:
            self.send_header("Content-Length", str(size))
        self.end_headers()
        sent = 0
        try:
            while sent < send:
                n = min(chunk, send - sent)
                if sent < stall < sent + n:
                    n = stall - sent
                start = sent % PERIOD
                # Pieces longer than the block repeat it as often as they need.
                piece = (BLOCK * (2 + n // len(BLOCK)))[start:start + n] if n > len(BLOCK) - start else BLOCK[start:start + n]
                self.wfile.write(piece)
                sent += n
                if delay:
                    self.wfile.flush()
                    time.sleep(delay)
                if sent == stall:
                    self.wfile.flush()
                    time.sleep(stall_seconds)
            self.wfile.flush()
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True
            return
        if send < size:
            self.close_connection = True
            self.connection.shutdown(socket.SHUT_RDWR)

    def file(self, path):
        try:
            f = open(path, "rb")
        except OSError:
            return self.reply(404, b"not found")
        with f:
            size = os.fstat(f.fileno()).st_size
            self.send_response(200)
            self.send_header("Content-Length", str(size))
            self.end_headers()
            self.wfile.flush()
            try:
                self.connection.sendfile(f)
            except (BrokenPipeError, ConnectionResetError):
                self.close_connection = True


FIXED_TIME = (2019, 5, 17, 13, 45, 30)


def entry(name, data=b"", folder_attr=None, method=zipfile.ZIP_DEFLATED):
    info = zipfile.ZipInfo(name, FIXED_TIME)
    info.compress_type = method
    info.external_attr = 0 if folder_attr is None else folder_attr
    return info, data


def make_zip(kind):
    """Zip fixtures of the extraction tests, named by kind."""
    entries = []
    if kind == "nested":  # no folder entries, forward slashes
        entries = [entry("top.txt", b"top"), entry("a/b/c/deep.txt", b"deep" * 1000), entry("a/side.txt", b"side")]
    elif kind == "folders":  # folder entries: one with the attribute, one only with its trailing slash
        entries = [entry("withattr/", folder_attr=0x10), entry("plain/"), entry("plain/inner.txt", b"inner")]
    elif kind == "corrupt":  # the middle entry's data does not match its CRC
        entries = [entry("first.txt", b"first"), entry("second.txt", b"S" * 5000, method=zipfile.ZIP_STORED),
                   entry("third.txt", b"third")]
    elif kind == "corrupt-folder":  # the same, inside one top folder
        entries = [entry("made/first.txt", b"first"),
                   entry("made/second.txt", b"S" * 5000, method=zipfile.ZIP_STORED)]
    elif kind == "sizes":  # small entries, one past the in-memory limit, an empty one, a name twice
        entries = [entry("many/f%03d.txt" % i, b"small %d" % i) for i in range(40)]
        entries += [entry("dup.txt", b"first"), entry("big.bin", bytes(range(256)) * 6000), entry("empty.txt"),
                    entry("many/f%03d.txt" % 40, b"small 40"), entry("DUP.txt", b"second")]
    elif kind == "corrupt-late":  # many good entries in one top folder, then one that fails its CRC
        entries = [entry("late/f%03d.txt" % i, b"good %d" % i) for i in range(30)]
        entries.append(entry("late/zz.txt", b"S" * 5000, method=zipfile.ZIP_STORED))
    elif kind == "mixed":  # a profile archive that also writes into another profile's folder
        entries = [entry("Mine/Orvanto.Opb", b"profile"), entry("other/evil.txt", b"evil")]
    elif kind == "climbing":
        entries = [entry("ok.txt", b"ok"), entry("../evil.txt", b"evil")]
    elif kind == "climbing-inner":
        entries = [entry("a/../../evil.txt", b"evil")]
    elif kind == "absolute":
        entries = [entry("/abs.txt", b"abs")]
    elif kind == "drive":
        entries = [entry("C:/abs.txt", b"abs")]
    elif kind == "flat":  # a 20-character name at the top
        entries = [entry("f" * 16 + ".txt", b"flat")]
    elif kind == "through-link":  # "linked" is a folder link in the target
        entries = [entry("ok.txt", b"ok"), entry("linked/evil.txt", b"evil"), entry("plain/ok2.txt", b"ok2"),
                   entry("linked/deeper/", folder_attr=0x10), entry("linked/deeper/evil2.txt", b"evil"),
                   entry("last.txt", b"last")]
    elif kind.startswith("profile_"):  # a demo profile: top folder "<ClassName>"
        name, _, version = kind[len("profile_"):].partition("-v")
        entries = [entry(name + "/Orvanto.Opb", b"profile"),
                   entry(name + "/General.Ini", b"[Identification]\r\nVersionLabel=" + version.encode() + b"\r\n")]
    elif kind.startswith("tutorial_"):  # a tutorial: "<Profile>.pdf" and "<Profile>.zip" at the root
        name = kind[len("tutorial_"):]
        inner = io.BytesIO()
        with zipfile.ZipFile(inner, "w") as profile:
            profile.writestr(name + "/Orvanto.Opb", b"profile")
            profile.writestr(name + "/General.Ini", b"[Identification]\r\nVersionLabel=1.0.0.0\r\n")
        entries = [entry(name + ".pdf", b"%PDF-1.4 tutorial"), entry(name + ".zip", inner.getvalue())]
    elif kind.startswith("template_"):  # a template: top folder "<ClassName>_<version>"
        entries = [entry(kind[len("template_"):] + "/tool.py", b"# template")]
    elif kind == "longname":
        entries = [entry("d/" + "n" * 270 + ".txt", b"long")]
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w") as archive:
        for info, data in entries:
            archive.writestr(info, data)
    data = bytearray(buffer.getvalue())
    corrupted = {"corrupt": "second.txt", "corrupt-folder": "made/second.txt", "corrupt-late": "late/zz.txt"}
    if kind in corrupted:
        with zipfile.ZipFile(io.BytesIO(bytes(data))) as archive:
            info = archive.getinfo(corrupted[kind])
        start = info.header_offset + 30 + len(info.filename) + len(info.extra)
        data[start + 2000:start + 2010] = b"X" * 10
    return bytes(data)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    global root
    args = sys.argv[1:]
    port_file = None
    command = None
    while args:
        arg = args.pop(0)
        if arg == "--root":
            root = args.pop(0)
        elif arg == "--port-file":
            port_file = args.pop(0)
        elif arg == "--run":
            command = args
            break
    server = Server(("127.0.0.1", 0), Handler)
    port = server.server_address[1]
    if command is None:
        if port_file:
            with open(port_file, "w") as f:
                f.write(str(port))
        server.serve_forever()
        return 0
    thread = threading.Thread(target=server.serve_forever, daemon=True)
    thread.start()
    env = dict(os.environ, ORVANTO_TEST_HTTP_URL=f"http://127.0.0.1:{port}")
    try:
        status = subprocess.call(command, env=env)
    finally:
        server.shutdown()
        server.server_close()
    return status


if __name__ == "__main__":
    sys.exit(main())
