#!/usr/bin/env python3
"""Every shipped pattern laid over a real file that nobody here wrote: taken from a Debian
package or made by a standard tool at test time. Key fields of `orlin-cli struct --json` are
compared with what an independent reader of the format reports, and `orlin-cli identify`
must offer the pattern for the file (among the best matches).

usage: real-files.py ORLIN_CLI PATTERNS_DIR
       real-files.py ORLIN_CLI PATTERNS_DIR --damage   (bad files: see damage.py)

The table FILES names, for each pattern, the file, its source and the reader.
"""
import bz2
import concurrent.futures
import gettext
import importlib.util
import json
import os
import re
import socket
import sqlite3
import struct
import subprocess
import sys
import tempfile
import time
import wave
import zipfile

CLI, PATTERNS = sys.argv[1], sys.argv[2]
DAMAGE = "--damage" in sys.argv
C_SOURCE = "int add(int a, int b) { return a + b; }\nint start(void) { return add(1, 2); }\n"


def run(*args, **kwargs):
    return subprocess.run(args, check=True, capture_output=True, text=True, **kwargs).stdout


def write(path, data):
    with open(path, "wb" if isinstance(data, bytes) else "w") as f:
        f.write(data)
    return path


def read(path, offset=0, size=None):
    with open(path, "rb") as f:
        f.seek(offset)
        return f.read() if size is None else f.read(size)


# ---- the value tree of `orlin-cli struct --json`


class Tree:
    def __init__(self, node):
        self.node = node

    def get(self, path):
        """A node by a dotted path of member names ("header.width", "chunks.0.type")."""
        node = self.node
        for part in str(path).split("."):
            names = [(c["name"].split(" : ")[0], c) for c in node.get("children", [])]
            wanted = "[%s]" % part if part.isdigit() else part
            found = [c for n, c in names if n == wanted]
            if not found:
                raise KeyError("%s: no %s" % (path, part))
            node = found[0]
        return Tree(node)

    def __getitem__(self, path):
        """The value: an int (also of an enum), or the text of a char array."""
        value = self.get(path).node["value"]
        enum = re.fullmatch(r".* \((\d+)\)", value)
        if enum:
            return int(enum.group(1))
        if re.fullmatch(r"\d+", value):
            return int(value)
        if value.startswith('"'):
            return json.loads(value).rstrip("\0")
        return value

    def offset(self, path):
        return self.get(path).node["offset"]

    def count(self, path):
        return len(self.get(path).node.get("children", []))

    def all(self, path, member):
        return [self["%s.%d.%s" % (path, i, member)] for i in range(self.count(path))]


def struct_tree(pattern, path, offset=None):
    args = [CLI, "struct", "--json", "--base", "dec", "--bytes", "ascii"]
    if offset is not None:
        args += ["--offset", "%X" % offset]
    return Tree(json.loads(run(*args, os.path.join(PATTERNS, pattern), path)))


def best_matches(path, any_match=False):
    """The patterns identify offers first: those of the longest signature."""
    result = subprocess.run([CLI, "identify", "--json", "--patterns", PATTERNS, path],
                            capture_output=True, text=True)
    matches = json.loads(result.stdout) if result.returncode == 0 else []
    if not matches:
        return []
    return [m["pattern"] for m in matches
            if any_match or m["signatureBytes"] == matches[0]["signatureBytes"]]


# ---- files and readers


def compile_c(d, name, *command):
    source = write(os.path.join(d, "t.c"), C_SOURCE)
    out = os.path.join(d, name)
    run(*command, source, "-o", out)
    return out


def pe32(d):
    obj = compile_c(d, "t32.o", "clang", "--target=i686-w64-windows-gnu", "-ffreestanding", "-c")
    out = os.path.join(d, "t32.exe")
    run("ld", "-m", "i386pe", "-e", "_start", obj, "-o", out)
    return out


def pe64(d):
    return compile_c(d, "t64.exe", "x86_64-w64-mingw32-gcc", "-nostdlib", "-e", "start")


def image(ext, *options):
    def make(d):
        out = os.path.join(d, "image." + ext)
        run("convert", "-size", "37x21", "gradient:red-blue", *options, out)
        return out
    return make


def identify_size(path):
    return [int(v) for v in run("identify", "-format", "%w %h\n", path).split("\n")[0].split()]


def readelf_checks(t, path):
    sections = []
    for line in run("readelf", "-S", "-W", path).splitlines():
        if re.match(r"\s+\[\s*\d+\]", line):
            fields = line.split("]", 1)[1].split()
            at = next(i for i, f in enumerate(fields) if re.fullmatch(r"[0-9a-f]{8,16}", f))
            sections.append((int(fields[at + 1], 16), int(fields[at + 2], 16)))
    segments = []
    for line in run("readelf", "-l", "-W", path).splitlines():
        fields = line.split()
        if len(fields) > 4 and fields[1].startswith("0x") and not fields[0].startswith("0x"):
            segments.append((int(fields[1], 16), int(fields[4], 16)))
    return [("sections (offset, size)", list(zip(t.all("sectionHeaders", "offset"),
                                                 t.all("sectionHeaders", "size"))), sections),
            ("segments (offset, file size)", list(zip(t.all("programHeaders", "offset"),
                                                      t.all("programHeaders", "fileSize"))),
             segments)]


def objdump_pe_checks(t, path):
    headers = run("objdump", "-p", path)
    field = lambda name: int(re.search(name + r"\s+([0-9a-fA-F]+)", headers).group(1), 16)
    offsets = [int(line.split()[5], 16) for line in run("objdump", "-h", path).splitlines()
               if re.match(r"\s+\d+ \S", line)]
    return [("imageBase", t["nt.optionalHeader.imageBase"], field("ImageBase")),
            ("sizeOfImage", t["nt.optionalHeader.sizeOfImage"], field("SizeOfImage")),
            ("entry", t["nt.optionalHeader.addressOfEntryPoint"], field("AddressOfEntryPoint")),
            ("section file offsets", [o for o in t.all("sections", "pointerToRawData") if o],
             [o for o in offsets if o])]


def wasm_sections(path):
    data, at, sections = read(path), 8, []
    while at < len(data):
        section, at = data[at], at + 1
        size = shift = 0
        while True:
            byte, at = data[at], at + 1
            size |= (byte & 0x7F) << shift
            shift += 7
            if byte < 0x80:
                break
        sections.append((section, size))
        at += size
    return sections


def macho_commands(path):
    data = read(path)
    count = struct.unpack_from("<I", data, 16)[0]
    at, commands = 32, []
    for _ in range(count):
        commands.append(struct.unpack_from("<II", data, at))
        at += commands[-1][1]
    return commands


def wav(d):
    out = os.path.join(d, "a.wav")
    w = wave.open(out, "wb")
    w.setnchannels(2)
    w.setsampwidth(2)
    w.setframerate(22050)
    w.writeframes(bytes(range(256)) * 40)
    w.close()
    return out


def flac(d, *options):
    out = os.path.join(d, "a.flac")
    run("flac", "-s", "-f", *options, wav(d), "-o", out)
    return out


def metaflac_blocks(path):
    listing = run("metaflac", "--list", path)
    return [int(v) for v in re.findall(r"^  length: (\d+)", listing, re.M)]


def zip_file(d):
    out = os.path.join(d, "a.zip")
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("hello.txt", "hello " * 50)
        z.writestr("dir/table.bin", bytes(range(256)) * 3)
        z.writestr("empty", "")
    return out


def tree_dir(d):
    root = os.path.join(d, "tree")
    os.makedirs(os.path.join(root, "sub"), exist_ok=True)
    write(os.path.join(root, "readme.txt"), "Some text.\n" * 40)
    write(os.path.join(root, "sub", "data.bin"), bytes(range(256)) * 20)
    return root


def tool_archive(ext, command):
    def make(d):
        source = write(os.path.join(d, "data.txt"), "".join("line %d\n" % i for i in range(900)))
        out = os.path.join(d, "data.txt." + ext)
        subprocess.run("%s -c %s > %s" % (command, source, out), shell=True, check=True)
        return out
    return make


def disk(label_script, label):
    def make(d):
        out = write(os.path.join(d, "disk.img"), b"")
        os.truncate(out, 8 << 20)
        run("sfdisk", "-q", out, input="label: %s\n%s" % (label, label_script))
        return out
    return make


def sfdisk_partitions(path):
    return [(p["start"], p["size"]) for p in json.loads(run("sfdisk", "-J", path))
            ["partitiontable"]["partitions"]]


def fat(d, *options):
    out = os.path.join(d, "fat.img")
    if os.path.exists(out):
        os.remove(out)
    run("mkfs.fat", "-n", "ORLINTEST", *options, "-C", out, "40000" if options else "2048")
    return out


def fsck_fat(path, label):
    return int(re.search(r"(\d+) " + label, run("fsck.fat", "-n", "-v", path)).group(1))


def dumpe2fs(path, label):
    return re.search(r"^" + label + r":\s+(\S+)", run("dumpe2fs", "-h", path), re.M).group(1)


def isoinfo(path, label):
    return re.search(label + r"\s*(.*)", run("isoinfo", "-d", "-i", path)).group(1).strip()


def pcap_capture(d):
    """A few packets on the loopback interface, captured by tcpdump (as root, as CI runs)."""
    path = os.path.join(d, "lo.pcap")
    capture = subprocess.Popen(["tcpdump", "-i", "lo", "-U", "-Z", "root", "-c", "6", "-w", path],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as sender:
        for i in range(50):  # until tcpdump has its six (the closed port answers each too)
            if capture.poll() is not None:
                break
            sender.sendto(b"packet %d" % i, ("127.0.0.1", 9))
            time.sleep(0.1)
    capture.wait(timeout=10)
    return path


def tcpdump_times(path):
    """The time stamps tcpdump reads, "seconds.fraction", one per packet."""
    return [line.split()[0] for line in run("tcpdump", "-r", path, "-tt", "-nn").splitlines()]


def sqlite_db(d):
    out = os.path.join(d, "a.sqlite")
    db = sqlite3.connect(out)
    db.execute("create table people(name text, born integer)")
    db.execute("create index people_born on people(born)")
    db.executemany("insert into people values (?, ?)", [("a%d" % i, i) for i in range(500)])
    db.execute("pragma user_version = 7")
    db.commit()
    db.close()
    return out


def sqlite_pragma(path, name):
    return sqlite3.connect(path).execute("pragma " + name).fetchone()[0]


def sfnt_tables(path, at=0):
    data = read(path)
    count = struct.unpack_from(">H", data, at + 4)[0]
    return [struct.unpack_from(">4sIII", data, at + 12 + 16 * i)[0].decode() for i in range(count)]


def mo_count(path):
    with open(path, "rb") as f:
        catalog = gettext.GNUTranslations(f)._catalog
    return len({k[0] if isinstance(k, tuple) else k for k in catalog})


def tiff_size(t):
    """ImageWidth and ImageLength; a SHORT sits in the first two bytes of the value field."""
    size = {}
    for i in range(t.count("firstIfd.entries")):
        entry = "firstIfd.entries.%d." % i
        value = t[entry + "valueOrOffset"]
        if t[entry + "type"] == 3 and value > 0xFFFF:
            value >>= 16
        size[t[entry + "tag"]] = value
    return [size[256], size[257]]


def zstd_content_size(t, path):
    field = t.get("contentSize").node
    value = int.from_bytes(read(path, field["offset"], field["size"]), "little")
    return value + 256 if field["size"] == 2 else value  # two bytes store the size minus 256


def cpio_names(path):
    with open(path, "rb") as f:
        return subprocess.run(["cpio", "-t", "--quiet"], stdin=f, check=True, capture_output=True,
                              text=True).stdout.split()


FONT_DIR = "/usr/share/fonts/truetype/"
MO_FILE = "/usr/share/locale/de/LC_MESSAGES/coreutils.mo"
# Offered, but after the whole-archive pattern of a longer signature.
NOT_FIRST = {"zip-end-of-central-directory.orpat"}

# pattern, file, source, reader, make(dir) -> path, checks(tree, path) -> [(field, ours, theirs)]
FILES = [
    ("elf64.orpat", "/bin/ls", "coreutils (Debian)", "readelf -S -l",
     lambda d: "/bin/ls", readelf_checks),
    ("elf32.orpat", "t.o", "clang --target=i386-linux-gnu -c", "readelf -S -l",
     lambda d: compile_c(d, "t.o", "clang", "--target=i386-linux-gnu", "-c"), readelf_checks),
    ("pe.orpat", "t64.exe", "x86_64-w64-mingw32-gcc", "objdump -p -h",
     pe64, objdump_pe_checks),
    ("pe32.orpat", "t32.exe", "clang --target=i686-w64-windows-gnu, ld -m i386pe",
     "objdump -p -h", pe32, objdump_pe_checks),
    ("pe-dos-header.orpat", "t64.exe", "x86_64-w64-mingw32-gcc", "python3 struct",
     pe64, lambda t, p: [("newHeaderOffset", t["newHeaderOffset"],
                          struct.unpack_from("<I", read(p), 0x3C)[0])]),
    ("pe-nt-headers64.orpat", "t64.exe (at the PE signature)", "x86_64-w64-mingw32-gcc",
     "objdump -p", pe64, None),
    ("macho.orpat", "t.o", "clang --target=x86_64-apple-darwin -c", "python3 struct",
     lambda d: compile_c(d, "t.o", "clang", "--target=x86_64-apple-darwin", "-c"),
     lambda t, p: [("commands", list(zip(t.all("commands", "command"),
                                         t.all("commands", "commandSize"))), macho_commands(p))]),
    ("wasm.orpat", "t.o", "clang --target=wasm32 -c", "python3 (LEB128 walk)",
     lambda d: compile_c(d, "t.o", "clang", "--target=wasm32", "-c"),
     lambda t, p: [("sections", list(zip(t.all("sections", "id"),
                                         [n["size"] for n in [c.node for c in (
                                             t.get("sections.%d.payload" % i)
                                             for i in range(t.count("sections")))]])),
                    wasm_sections(p))]),
    ("coff-x86-64.orpat", "t.o", "x86_64-w64-mingw32-gcc -c", "objdump -h -t",
     lambda d: compile_c(d, "t.o", "x86_64-w64-mingw32-gcc", "-c"),
     lambda t, p: [("sections", t["numberOfSections"],
                    len(re.findall(r"^\s+\d+ \.", run("objdump", "-h", p), re.M))),
                   ("symbols with auxiliary records", t["numberOfSymbols"],
                    sum(1 + int(n) for n in re.findall(r"\(nx (\d+)\)", run("objdump", "-t", p))))]),
    ("pyc.orpat", "t.cpython.pyc", "python3 -m py_compile", "python3 importlib, os.stat",
     lambda d: (write(os.path.join(d, "m.py"), "x = 1\n"),
                run(sys.executable, "-c", "import py_compile,sys; print(py_compile.compile("
                    "sys.argv[1], cfile=sys.argv[1] + 'c'))", os.path.join(d, "m.py")).strip())[1],
     lambda t, p: [("magic", t["magic"], struct.unpack("<H", importlib.util.MAGIC_NUMBER[:2])[0]),
                   ("sourceSize", t["sourceSize"], os.stat(p[:-1]).st_size),
                   ("sourceTime", t["sourceTime"], int(os.stat(p[:-1]).st_mtime))]),
    ("png.orpat", "image.png", "ImageMagick convert", "identify",
     image("png"), lambda t, p: [("size", [t["header.width"], t["header.height"]], identify_size(p)),
                                 ("last chunk", t["chunks.%d.type" % (t.count("chunks") - 1)], "IEND")]),
    ("jpeg.orpat", "image.jpg", "ImageMagick convert", "identify",
     image("jpg"), lambda t, p: [("last segment", t.all("segments", "marker")[-1], 0xDA),
                                 ("size from SOF0", [
                                     struct.unpack(">HH", read(p, t.offset("segments.%d.data" % i) + 1, 4))[::-1]
                                     for i, m in enumerate(t.all("segments", "marker")) if m == 0xC0][0],
                                  tuple(identify_size(p)))]),
    ("gif.orpat", "image.gif", "ImageMagick convert", "identify",
     image("gif"), lambda t, p: [("size", [t["screenWidth"], t["screenHeight"]], identify_size(p)),
                                 ("colour table ends at an image or extension",
                                  read(p, 13 + t.get("globalColorTable").node["size"], 1) in (b"!", b","), True)]),
    ("bmp.orpat", "image.bmp", "ImageMagick convert", "identify",
     image("bmp"), lambda t, p: [("size", [t["info.width"], t["info.height"]], identify_size(p)),
                                 ("fileSize", t["file.fileSize"], os.path.getsize(p))]),
    ("ico.orpat", "image.ico", "ImageMagick convert (two sizes)", "identify",
     image("ico", "-define", "icon:auto-resize=32,16"),
     lambda t, p: [("widths", t.all("entries", "width"),
                    [int(w) for w in run("identify", "-format", "%w\n", p).split()])]),
    ("tga.orpat", "image.tga", "ImageMagick convert", "identify",
     image("tga"), lambda t, p: [("size", [t["width"], t["height"]], identify_size(p))]),
    ("tiff.orpat", "image.tif", "ImageMagick convert", "identify",
     image("tif"), lambda t, p: [("size", tiff_size(t), identify_size(p))]),
    ("tiff-big-endian.orpat", "image.tif", "ImageMagick convert -define tiff:endian=msb", "identify",
     image("tif", "-define", "tiff:endian=msb"), lambda t, p: [("size", tiff_size(t), identify_size(p))]),
    ("webp.orpat", "image.webp", "ImageMagick convert", "identify, os.stat",
     image("webp"), lambda t, p: [("riffSize", t["riffSize"] + 8, os.path.getsize(p)),
                                  ("first chunk", t["chunks.0.fourCC"][:3], "VP8")]),
    ("psd.orpat", "image.psd", "ImageMagick convert", "identify",
     image("psd"), lambda t, p: [("size", [t["width"], t["height"]], identify_size(p))]),
    ("sgi.orpat", "image.sgi", "ImageMagick convert", "identify",
     image("sgi"), lambda t, p: [("size", [t["xSize"], t["ySize"]], identify_size(p))]),
    ("sun-raster.orpat", "image.sun", "ImageMagick convert", "identify",
     image("sun"), lambda t, p: [("size", [t["width"], t["height"]], identify_size(p))]),
    ("dds.orpat", "image.dds", "ImageMagick convert", "identify",
     image("dds"), lambda t, p: [("size", [t["width"], t["height"]], identify_size(p))]),
    ("pcx.orpat", "image.pcx", "ImageMagick convert", "identify",
     image("pcx"), lambda t, p: [("size", [t["xMax"] - t["xMin"] + 1, t["yMax"] - t["yMin"] + 1],
                                          identify_size(p))]),
    ("jp2.orpat", "image.jp2", "ImageMagick convert", "identify, os.stat",
     image("jp2"), lambda t, p: [("boxes cover the file", sum(t.all("boxes", "length")), os.path.getsize(p)),
                                 ("codestream box", "jp2c" in t.all("boxes", "type"), True)]),
    ("dpx.orpat", "image.dpx", "ImageMagick convert", "identify",
     image("dpx"), lambda t, p: [("size", [t["pixelsPerLine"], t["linesPerElement"]], identify_size(p))]),
    ("mp4.orpat", "image.avif", "ImageMagick convert (HEIF in ISO media boxes)", "identify, os.stat",
     image("avif"), lambda t, p: [("boxes cover the file", sum(t.all("boxes", "size")), os.path.getsize(p)),
                                  ("first box", t["boxes.0.type"], "ftyp"),
                                  ("identify reads it", run("identify", "-format", "%m", p), "HEIC")]),
    ("wav.orpat", "a.wav", "python3 wave", "python3 wave",
     wav, lambda t, p: [("format", [t["format.channels"], t["format.sampleRate"], t["format.bitsPerSample"] // 8],
                         (lambda w: [w.getnchannels(), w.getframerate(), w.getsampwidth()])(wave.open(p))),
                        ("dataChunkSize", t["dataChunkSize"],
                         (lambda w: w.getnframes() * w.getnchannels() * w.getsampwidth())(wave.open(p)))]),
    ("flac.orpat", "a.flac", "flac (of a python3 wave file)", "metaflac --list",
     lambda d: flac(d, "--padding=100"),
     lambda t, p: [("block lengths", [n["size"] for n in [t.get("blocks.%d.data" % i).node
                                                          for i in range(t.count("blocks"))]],
                    metaflac_blocks(p))]),
    ("ogg.orpat", "a.oga", "flac --ogg", "python3 struct",
     lambda d: flac(d, "--ogg"),
     lambda t, p: [("page", [t["serialNumber"], t["segmentCount"], t["codec"]],
                    (lambda h: [h[4], h[7], read(p, 28 + h[7], 4).decode()])(
                        struct.unpack_from("<4sBBqIIIB", read(p))))]),
    ("id3v2.orpat", "a.mp3", "id3v2 -t (on an empty file)", "id3v2 -l",
     lambda d: (write(os.path.join(d, "a.mp3"), b""),
                run("id3v2", "-2", "-t", "Real title", "-a", "Some artist", os.path.join(d, "a.mp3")),
                os.path.join(d, "a.mp3"))[2],
     lambda t, p: [("first frame listed", t["firstFrame.id"] in run("id3v2", "-l", p), True),
                   ("tag ends at", t.offset("afterTag"), os.path.getsize(p))]),
    ("zip.orpat", "a.zip", "python3 zipfile", "python3 zipfile",
     zip_file, lambda t, p: [("names", t.all("files", "fileName"), [i.filename for i in zipfile.ZipFile(p).infolist()]),
                             ("compressed sizes", t.all("centralDirectory", "compressedSize"),
                              [i.compress_size for i in zipfile.ZipFile(p).infolist()]),
                             ("local header offsets", t.all("centralDirectory", "localHeaderOffset"),
                              [i.header_offset for i in zipfile.ZipFile(p).infolist()])]),
    ("zip-local-file-header.orpat", "a.zip", "python3 zipfile", "python3 zipfile",
     zip_file, lambda t, p: [("crc32", t["crc32"], zipfile.ZipFile(p).infolist()[0].CRC)]),
    ("zip-end-of-central-directory.orpat", "a.zip (22 bytes from the end)", "python3 zipfile",
     "python3 zipfile", zip_file, None),
    ("gzip.orpat", "data.txt.gz", "gzip", "gzip -lv",
     tool_archive("gz", "gzip -9"),
     lambda t, p: [("crc32, size", ["%08x" % t["crc32"], t["uncompressedSize"]],
                    (lambda f: [f[1], int(f[6])])(run("gzip", "-lv", p).splitlines()[1].split()))]),
    ("tar-ustar.orpat", "a.tar", "tar --format=ustar", "tar tv",
     lambda d: (tree_dir(d), run("tar", "--format=ustar", "-C", d, "-cf", os.path.join(d, "a.tar"), "tree"),
                os.path.join(d, "a.tar"))[2],
     lambda t, p: [("first name", t["name"].rstrip("/"), run("tar", "tf", p).split()[0].rstrip("/"))]),
    ("xz.orpat", "data.txt.xz", "xz", "xz -lvv --robot",
     tool_archive("xz", "xz -6"),
     lambda t, p: [("check", {1: "CRC32", 4: "CRC64", 10: "SHA-256"}[t["check"]],
                    run("xz", "-l", "--robot", p).split("\n")[1].split("\t")[6]),
                   ("footer", t["footer.magic"], "YZ")]),
    ("bzip2.orpat", "data.txt.bz2", "bzip2 -7", "python3 bz2",
     tool_archive("bz2", "bzip2 -7"),
     lambda t, p: [("block size", chr(t["blockSize"]), "7"),
                   ("stream decodes", len(bz2.decompress(read(p))) > 0, True)]),
    ("zstd.orpat", "data.txt.zst", "zstd", "zstd -lv",
     tool_archive("zst", "zstd -q -19"),
     lambda t, p: [("content size", zstd_content_size(t, p),
                    int(re.search(r"Decompressed Size:.*\((\d+) B\)", run("zstd", "-lv", p)).group(1)))]),
    ("cpio.orpat", "a.cpio", "cpio -o -H newc", "cpio -tv",
     lambda d: (tree_dir(d), subprocess.run("cd %s && find tree | cpio -o -H newc --quiet > a.cpio" % d,
                                            shell=True, check=True), os.path.join(d, "a.cpio"))[2],
     lambda t, p: [("first name", t["nameStart"][:int(t["nameSize"], 16) - 1],
                    cpio_names(p)[0])]),
    ("ar.orpat", "lib.a", "ar rc (binutils) of a gcc object", "ar tv",
     lambda d: (compile_c(d, "t.o", "gcc", "-c"), run("ar", "rcS", os.path.join(d, "lib.a"), os.path.join(d, "t.o")),
                os.path.join(d, "lib.a"))[2],
     lambda t, p: [("first member", [t["firstMember.name"].strip().rstrip("/"), int(t["firstMember.size"])],
                    (lambda f: [f[-1], int(f[2])])(run("ar", "tv", p).split("\n")[0].split()))]),
    ("lz4.orpat", "data.txt.lz4", "lz4", "lz4 --list",
     tool_archive("lz4", "lz4 -q -B4"),
     lambda t, p: [("block size id", "B%d" % (t["blockDescriptor"] >> 4 & 7),
                    run("lz4", "--list", p).split("\n")[1].split()[2][:2]),
                   ("ends with the end mark", t.all("blocks", "size")[-1], 0)]),
    ("mbr.orpat", "disk.img", "sfdisk (label dos)", "sfdisk -J",
     disk("start=2048, size=4096, type=83\nstart=6144, type=c\n", "dos"),
     lambda t, p: [("partitions", [(s, n) for s, n in zip(t.all("partitions", "firstLba"),
                                                          t.all("partitions", "sectorCount")) if n],
                    sfdisk_partitions(p))]),
    ("gpt.orpat", "disk.img", "sfdisk (label gpt)", "sfdisk -J",
     disk("start=2048, size=4096\nstart=6144, size=8192\n", "gpt"),
     lambda t, p: [("partitions", [(s, e - s + 1) for s, e in zip(t.all("partitionEntries", "firstLba"),
                                                                  t.all("partitionEntries", "lastLba")) if s],
                    sfdisk_partitions(p)),
                   ("entries", t["partitionEntryCount"], t.count("partitionEntries"))]),
    ("fat.orpat", "fat.img", "mkfs.fat -C (FAT12)", "fsck.fat -n -v",
     lambda d: fat(d),
     lambda t, p: [("bytes per cluster", t["bytesPerSector"] * t["sectorsPerCluster"], fsck_fat(p, "bytes per cluster")),
                   ("reserved sectors", t["reservedSectors"], fsck_fat(p, "reserved sector")),
                   ("volume label entry", t["rootDirectory.0.name"] + t["rootDirectory.0.extension"], "ORLINTEST  ")]),
    ("fat32.orpat", "fat.img", "mkfs.fat -F 32 -C", "fsck.fat -n -v",
     lambda d: fat(d, "-F", "32"),
     lambda t, p: [("bytes per cluster", t["bytesPerSector"] * t["sectorsPerCluster"], fsck_fat(p, "bytes per cluster")),
                   ("free clusters recorded", t["fsInfo.structSignature"], 0x61417272)]),
    ("ext4.orpat", "ext4.img", "mke2fs -t ext4", "dumpe2fs -h, dumpe2fs",
     lambda d: (run("mke2fs", "-q", "-F", "-t", "ext4", "-L", "orlin", os.path.join(d, "ext4.img"), "8M"),
                os.path.join(d, "ext4.img"))[1],
     lambda t, p: [("inodes, blocks", [t["superblock.inodesCount"], t["superblock.blocksCount"]],
                    [int(dumpe2fs(p, "Inode count")), int(dumpe2fs(p, "Block count"))]),
                   ("label", t["superblock.volumeName"], dumpe2fs(p, "Filesystem volume name")),
                   ("first block bitmap", t["firstGroup.blockBitmap"],
                    int(re.search(r"Block bitmap at (\d+)", run("dumpe2fs", p)).group(1)))]),
    ("iso9660.orpat", "a.iso", "genisoimage", "isoinfo -d",
     lambda d: (tree_dir(d), run("genisoimage", "-quiet", "-V", "ORLIN_TEST", "-o", os.path.join(d, "a.iso"),
                                 os.path.join(d, "tree")), os.path.join(d, "a.iso"))[2],
     lambda t, p: [("volume id", t["primary.volumeIdentifier"].strip(), isoinfo(p, "Volume id:")),
                   ("volume size", t["primary.volumeSpaceSize"], int(isoinfo(p, "Volume size is:"))),
                   ("both byte orders agree", t["primary.volumeSpaceSizeBig"], t["primary.volumeSpaceSize"]),
                   ("ends with the terminator", t.all("descriptors", "type")[-1], 255)]),
    ("squashfs.orpat", "a.sqsh", "mksquashfs", "unsquashfs -s",
     lambda d: (tree_dir(d), run("mksquashfs", os.path.join(d, "tree"), os.path.join(d, "a.sqsh"),
                                 "-noappend", "-quiet", "-no-progress"), os.path.join(d, "a.sqsh"))[2],
     lambda t, p: [("block size, inodes", [t["blockSize"], t["inodeCount"]],
                    [int(re.search(r"Block size (\d+)", run("unsquashfs", "-s", p)).group(1)),
                     int(re.search(r"Number of inodes (\d+)", run("unsquashfs", "-s", p)).group(1))])]),
    ("pcap.orpat", "lo.pcap", "tcpdump -w (loopback)", "tcpdump -r -tt",
     pcap_capture,
     lambda t, p: [("time stamps", ["%d.%06d" % pair for pair in zip(t.all("packets", "seconds"),
                                                                    t.all("packets", "fraction"))],
                    tcpdump_times(p))]),
    ("sqlite.orpat", "a.sqlite", "python3 sqlite3", "python3 sqlite3 (pragmas)",
     sqlite_db, lambda t, p: [("page size, count, user version", [t["pageSize"], t["pageCount"], t["userVersion"]],
                               [sqlite_pragma(p, "page_size"), sqlite_pragma(p, "page_count"),
                                sqlite_pragma(p, "user_version")]),
                              ("schema rows on page 1", t["cellCount"],
                               sqlite3.connect(p).execute("select count(*) from sqlite_master").fetchone()[0])]),
    ("truetype.orpat", FONT_DIR + "dejavu/DejaVuSans.ttf", "fonts-dejavu-core (Debian)", "python3 struct",
     lambda d: FONT_DIR + "dejavu/DejaVuSans.ttf",
     lambda t, p: [("tables", t.all("tables", "tag"), sfnt_tables(p))]),
    ("ttc.orpat", FONT_DIR + "wqy/wqy-zenhei.ttc", "fonts-wqy-zenhei (Debian)", "python3 struct",
     lambda d: FONT_DIR + "wqy/wqy-zenhei.ttc",
     lambda t, p: [("first font's tables", t.all("firstFont.tables", "tag"),
                    sfnt_tables(p, struct.unpack_from(">I", read(p), 12)[0]))]),
    ("gettext-mo.orpat", MO_FILE, "coreutils (Debian)", "python3 gettext", lambda d: MO_FILE,
     lambda t, p: [("strings", t["stringCount"], mo_count(p))]),
    ("terminfo.orpat", "/lib/terminfo/x/xterm", "ncurses-base (Debian)", "infocmp",
     lambda d: "/lib/terminfo/x/xterm",
     lambda t, p: [("names", t["names"].split("|")[0], "xterm"),
                   ("names as infocmp", t["names"],
                    [l for l in run("infocmp", "-A", os.path.dirname(os.path.dirname(p)), "xterm").splitlines()
                     if not l.startswith("#")][0].rstrip(",").strip())]),
]


def special_offset(pattern, path):
    if pattern == "pe-nt-headers64.orpat":
        return struct.unpack_from("<I", read(path), 0x3C)[0]
    if pattern == "zip-end-of-central-directory.orpat":
        return os.path.getsize(path) - 22
    return None


def special_checks(pattern, tree, path):
    if pattern == "pe-nt-headers64.orpat":
        base = int(re.search(r"ImageBase\s+([0-9a-f]+)", run("objdump", "-p", path)).group(1), 16)
        return [("imageBase", tree["optional.imageBase"], base)]
    if pattern == "zip-end-of-central-directory.orpat":
        z = zipfile.ZipFile(path)
        return [("totalEntries", tree["totalEntries"], len(z.infolist())),
                ("centralDirectoryOffset", tree["centralDirectoryOffset"], z.start_dir)]
    return []


def check_row(row, root):
    pattern, name, source, reader, make, checks = row
    d = tempfile.mkdtemp(dir=root)
    path = make(d)
    offset = special_offset(pattern, path)
    tree = struct_tree(pattern, path, offset)
    results = checks(tree, path) if checks else special_checks(pattern, tree, path)
    signed = "@signature" in open(os.path.join(PATTERNS, pattern)).read()
    if signed and not DAMAGE:
        offered = best_matches(path, pattern in NOT_FIRST)
        if pattern not in offered:
            results.append(("identify offers it", offered, pattern))
    failures = []
    for field, ours, theirs in results:
        if (list(ours) if isinstance(ours, tuple) else ours) != (
                list(theirs) if isinstance(theirs, tuple) else theirs):
            failures.append("%s on %s: %s is %r, %s says %r" % (pattern, name, field, ours,
                                                               reader, theirs))
    if DAMAGE:
        import damage
        failures += damage.check(pattern, path, offset)
    return "%-36s %-30s %s" % (pattern, os.path.basename(name), reader), failures


def main():
    shipped = sorted(f for f in os.listdir(PATTERNS) if f.endswith(".orpat"))
    listed = [row[0] for row in FILES]
    failures = []
    if sorted(listed) != shipped:
        failures.append("table and patterns/ differ: %s" % sorted(set(listed) ^ set(shipped)))
    with tempfile.TemporaryDirectory() as root, \
            concurrent.futures.ThreadPoolExecutor(os.cpu_count() or 2) as pool:
        for line, row_failures in pool.map(lambda row: check_row(row, root), FILES):
            print(line)
            failures += row_failures
    for failure in failures:
        print("FAIL", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
