#!/usr/bin/env python3
"""Writes demo.bin, the file scripts/run opens when it is given none.

Each part starts on a 16-byte row of its own, in this order: a PNG signature and IHDR chunk
(patterns/png.orpat decodes them) and a tEXt chunk; Japanese and Korean text in UTF-8; the
same Japanese text in Shift_JIS and the Korean text in Windows-949; every byte value, 00 to
FF, starting at a multiple of 256 so that each byte sits in the column of its low digit.
Usage: resources/demo/make-demo.py
"""
import pathlib
import struct
import zlib

JAPANESE = (
    "Orlin は大きなファイルも一度に読み込まずに開く十六進エディタです。"
    "上書き、挿入、削除は保存するまでファイルに触れません。"
)
KOREAN = (
    "Orlin은 큰 파일도 한꺼번에 읽지 않고 여는 16진수 편집기입니다. "
    "덮어쓰기, 삽입, 삭제는 저장할 때까지 파일을 건드리지 않습니다."
)


def chunk(kind: bytes, data: bytes) -> bytes:
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def pad(data: bytes, multiple: int, filler: bytes) -> bytes:
    return data + filler * (-len(data) % multiple)


def text_rows(lines) -> bytes:
    return b"".join(pad(label.encode("ascii") + text + b"\n", 16, b" ") for label, text in lines)


def main() -> None:
    header = b"\x89PNG\r\n\x1a\n"
    header += chunk(b"IHDR", struct.pack(">IIBBBBB", 640, 480, 8, 6, 0, 0, 0))
    header += chunk(b"tEXt", b"Comment\0Orlin demo file: try Struct View with png.orpat at offset 0.")
    data = pad(header, 16, b"\0")
    data += text_rows([("UTF-8 Japanese: ", JAPANESE.encode("utf-8")),
                       ("UTF-8 Korean: ", KOREAN.encode("utf-8")),
                       ("Shift_JIS: ", JAPANESE.encode("shift_jis")),
                       ("Windows-949: ", KOREAN.encode("cp949"))])
    data = pad(data, 256, b"\0") + bytes(range(256))
    path = pathlib.Path(__file__).with_name("demo.bin")
    path.write_bytes(data)
    print(f"wrote {path} ({len(data)} bytes)")


if __name__ == "__main__":
    main()
