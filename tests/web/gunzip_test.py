"""The page's unpacker (web/gunzip.cpp) under Node, against Python's zlib:
every kind of deflate block it may meet, and streams it must refuse.
    /usr/bin/python3 gunzip_test.py GUNZIP.wasm NODE"""
import base64
import json
import os
import subprocess
import sys
import unittest
import zlib

WASM = NODE_PROGRAM = None

# Unpacks each named stream as the page does (page.html): packed bytes at
# the unpacker's heap, the unpacked ones after them; null when refused.
# Each row runs on the memory the rows before it left, as the page's do.
NODE = """
const fs = require('fs');
const [wasm, input] = process.argv.slice(1);
const gunzip = new WebAssembly.Instance(
    new WebAssembly.Module(fs.readFileSync(wasm))).exports;
gunzip._initialize();
const out = {};
const rows = JSON.parse(fs.readFileSync(input));
for (const [name, text] of Object.entries(rows)) {
  const packed = Buffer.from(text, 'base64');
  const size = packed.length < 4 ? 0 : packed.readUInt32LE(packed.length - 4);
  const from = gunzip.heap(), to = from + packed.length;
  const lacking = to + size - gunzip.memory.buffer.byteLength;
  try {
    if (lacking > 0) gunzip.memory.grow(Math.ceil(lacking / 65536));
  } catch (error) {  // a size no memory holds: the page throws too
    out[name] = null;
    continue;
  }
  new Uint8Array(gunzip.memory.buffer).set(packed, from);
  const made = gunzip.gunzip(from, packed.length, to);
  out[name] = made < 0 ? null : Buffer.from(
      new Uint8Array(gunzip.memory.buffer, to, made)).toString('base64');
}
console.log(JSON.stringify(out));
"""


def gzipped(data, level=9, strategy=zlib.Z_DEFAULT_STRATEGY):
    """As inline.py writes them: a header of ten bytes with no name."""
    packer = zlib.compressobj(level, zlib.DEFLATED, 31, 9, strategy)
    return packer.compress(data) + packer.flush()


def text(count):
    return b"".join(b"TH1 = 0x%02X; /* %d baud */\n" % (i % 256, i * 300)
                    for i in range(count))


CUT = gzipped(text(2000))

# name, the stream, the bytes it unpacks to (None: refused)
ROWS = [
    ("nothing", gzipped(b""), b""),
    ("three bytes", gzipped(b"abc"), b"abc"),
    ("stored blocks", gzipped(text(3000), level=0), text(3000)),
    ("fixed codes", gzipped(text(500), strategy=zlib.Z_FIXED), text(500)),
    ("dynamic codes", gzipped(text(5000)), text(5000)),
    ("literals only", gzipped(text(200), strategy=zlib.Z_HUFFMAN_ONLY),
     text(200)),
    ("runs of one byte", gzipped(bytes(70000), strategy=zlib.Z_RLE),
     bytes(70000)),
    ("incompressible", gzipped(os.urandom(40000)), None),
    ("cut in half, its trailer kept", CUT[:len(CUT) // 2] + CUT[-8:], None),
    ("shorter than a header", b"\x1f\x8b\x08", None),
    ("a block of the reserved type", bytes(10) + b"\x07" + bytes(8), None),
    ("the trailer's size too small",
     gzipped(b"abcdef")[:-4] + (3).to_bytes(4, "little"), None),
    ("the trailer's size too large",
     gzipped(b"abcdef")[:-4] + (9).to_bytes(4, "little"), None),
]


class GunzipTest(unittest.TestCase):
    def test_streams(self):
        streams = {name: base64.b64encode(packed).decode()
                   for name, packed, _ in ROWS}
        input_path = os.path.join(os.environ.get("TMPDIR", "/tmp"),
                                  f"gunzip-rows-{os.getpid()}.json")
        with open(input_path, "w", encoding="utf-8") as f:
            json.dump(streams, f)
        try:
            result = json.loads(subprocess.run(
                [NODE_PROGRAM, "-e", NODE, WASM, input_path], check=True,
                capture_output=True, text=True).stdout)
        finally:
            os.remove(input_path)
        for name, packed, unpacked in ROWS:
            with self.subTest(name):
                if name == "incompressible":
                    # Random bytes, so the row is its own source of truth.
                    unpacked = zlib.decompress(packed, 31)
                got = result[name]
                self.assertEqual(
                    None if got is None else base64.b64decode(got), unpacked)


if __name__ == "__main__":
    WASM, NODE_PROGRAM = os.path.abspath(sys.argv[1]), sys.argv[2]
    unittest.main(argv=[sys.argv[0]] + sys.argv[3:], verbosity=2)
