"""The web page (build-web/) in headless Chromium, for scripts/web-render and
scripts/web-tests: serves the page and the dolls from this machine, opens
dolls in the page, drives it and reads its canvas back."""

import base64
import contextlib
import functools
import http.server
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import threading
import urllib.parse
import zlib

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WEB = os.path.join(TOP, "build-web")
PAGE_FILES = ("index.html", "lumadoll.css", "lumadoll.js", "lumadoll.wasm",
              "help.html", "troubleshooting.html")


def newest_source_time():
    newest = 0.0
    for folder in ("src/core", "src/web", "resources/help"):
        for root, _, files in os.walk(os.path.join(TOP, folder)):
            for name in files:
                if not name.endswith("_test.cpp"):
                    newest = max(newest, os.path.getmtime(os.path.join(root, name)))
    for name in ("CMakeLists.txt", "Makefile"):
        newest = max(newest, os.path.getmtime(os.path.join(TOP, name)))
    return newest


def ensure_built():
    """Runs `make web` when the page is missing or older than its sources."""
    wasm = os.path.join(WEB, "lumadoll.wasm")
    missing = any(not os.path.exists(os.path.join(WEB, f)) for f in PAGE_FILES)
    if missing or os.path.getmtime(wasm) < newest_source_time():
        subprocess.run(["make", "-C", TOP, "web"], check=True, stdout=sys.stderr)


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map,
                          **{".wasm": "application/wasm", ".js": "text/javascript"})

    def translate_path(self, path):
        # As web servers on Linux do: the URL's escapes are the file name's
        # bytes, whatever their encoding (Shift-JIS names stay Shift-JIS).
        path = urllib.parse.urlsplit(path).path
        parts = [p for p in urllib.parse.unquote_to_bytes(path).split(b"/")
                 if p and p not in (b".", b"..")]
        return os.path.join(self.directory, *(os.fsdecode(p) for p in parts))

    def log_message(self, *args):
        pass


def write_png(path, width, height, rgba):
    """An RGB PNG of `rgba` (the page's pixels; they are opaque)."""
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        row = rgba[y * width * 4:(y + 1) * width * 4]
        rgb = bytearray(width * 3)
        rgb[0::3] = row[0::4]
        rgb[1::3] = row[1::4]
        rgb[2::3] = row[2::4]
        rows += rgb

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(bytes(rows), 6)))
        out.write(chunk(b"IEND", b""))


def read_png_rgb(path):
    """(width, height, RGB bytes) of an 8-bit RGB or RGBA PNG without
    interlacing, as lumadoll-tool and write_png write them."""
    with open(path, "rb") as f:
        data = f.read()
    pos, idat, width, height, channels = 8, b"", 0, 0, 3
    while pos < len(data):
        size, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + size]
        if kind == b"IHDR":
            width, height, depth, color, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or color not in (2, 6) or interlace:
                raise ValueError(f"{path}: unsupported PNG (depth {depth}, colour {color})")
            channels = 3 if color == 2 else 4
        elif kind == b"IDAT":
            idat += body
        pos += 12 + size
    raw = zlib.decompress(idat)
    stride = width * channels
    out = bytearray()
    previous = bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        previous = line
        if channels == 3:
            out += line
        else:
            rgb = bytearray(width * 3)
            rgb[0::3], rgb[1::3], rgb[2::3] = line[0::4], line[1::4], line[2::4]
            out += rgb
    return width, height, bytes(out)


class Page:
    """The page served from a scratch folder, open in headless Chromium."""

    def __init__(self, seed=None):
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service

        self.root = tempfile.mkdtemp(prefix="lumadoll-web-")
        for name in PAGE_FILES:
            os.symlink(os.path.join(WEB, name), os.path.join(self.root, name))
        os.mkdir(os.path.join(self.root, "dolls"))
        handler = functools.partial(QuietHandler, directory=self.root)
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.base = f"http://127.0.0.1:{self.server.server_address[1]}/"
        self.profile = tempfile.mkdtemp(prefix="lumadoll-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                     "--no-first-run", "--disable-background-networking",
                     "--disable-component-update", "--disable-sync",
                     "--disable-dev-shm-usage", "--window-size=1280,900",
                     f"--user-data-dir={self.profile}"):
            options.add_argument(flag)
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.driver.set_script_timeout(300)
        self.doll_count = 0
        self.load(seed)

    def load(self, seed=None, test=True):
        query = []
        if test:
            query.append("test=1")
        if seed is not None:
            query.append(f"seed={seed}")
        self.driver.get(self.base + "index.html" + ("?" + "&".join(query) if query else ""))
        self.wait_ready()

    def wait_ready(self):
        self.run("return window.lumadoll.ready.then(() => true)")

    def run(self, script, *args):
        """Runs `script` (a function body; it may return a promise) in the page."""
        wrapped = ("const done = arguments[arguments.length - 1];"
                   "Promise.resolve().then(() => { " + script + " })"
                   ".then(done, (e) => done({error: String(e && e.stack || e)}));")
        while not self.driver.execute_script("return !!window.lumadoll"):
            pass
        result = self.driver.execute_async_script(wrapped, *args)
        if isinstance(result, dict) and "error" in result and len(result) == 1:
            raise RuntimeError(result["error"])
        return result

    def serve(self, path):
        """The URL of a doll on disk: an archive alone, a CNF with its folder."""
        self.doll_count += 1
        folder = os.path.join(self.root, "dolls", str(self.doll_count))
        os.mkdir(folder)
        name = os.path.basename(path)
        if name.lower().endswith(".cnf"):
            source = os.path.dirname(os.path.abspath(path))
            for entry in os.listdir(source):
                os.symlink(os.path.join(source, entry), os.path.join(folder, entry))
        else:
            os.symlink(os.path.abspath(path), os.path.join(folder, name))
        return f"dolls/{self.doll_count}/{name}"

    def open(self, path):
        """Opens the doll; True when it opened."""
        return self.run("return window.lumadoll.openUrl(arguments[0])", self.serve(path))

    def pixels(self):
        """(width, height, RGBA bytes) of the canvas."""
        got = self.run("return window.lumadoll.canvasPixels()")
        return got["width"], got["height"], base64.b64decode(got["rgba"])

    def screenshot(self, path):
        self.driver.save_screenshot(path)

    def close(self):
        with contextlib.suppress(Exception):
            self.driver.quit()
        self.server.shutdown()
        shutil.rmtree(self.root, ignore_errors=True)
        shutil.rmtree(self.profile, ignore_errors=True)


def rgb_of(rgba):
    rgb = bytearray(len(rgba) // 4 * 3)
    rgb[0::3], rgb[1::3], rgb[2::3] = rgba[0::4], rgba[1::4], rgba[2::4]
    return bytes(rgb)
