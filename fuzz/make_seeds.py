#!/usr/bin/env python3
"""Writes the committed seed corpora under fuzz/corpus/: a few well-formed inputs per target, from
which libFuzzer's mutations reach the interesting neighbours quickly. Rerun after changing it."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def checksum(text: bytes) -> int:
    s = 0xA5
    for c in text:
        s = (((s >> 1) | ((s & 1) << 7)) + c) & 0xFF
    return s


def framed(body: bytes, lower=False) -> bytes:
    digits = b"%02X" % checksum(body)
    return b"[" + (digits.lower() if lower else digits) + body


def block_bytes(block: int) -> bytes:
    return bytes((block * 37 + d * 11 + 5) & 0xFF for d in range(64))


def read_request(node: int, block: int) -> bytes:
    return framed(b"%02X397%04X3F]" % (node, block * 64))


def write_request(node: int, block: int, data: bytes) -> bytes:
    return framed(b"%02X387%04X3F" % (node, block * 64) + data.hex().upper().encode() + b"]")


def read_reply(data: bytes, lower=False) -> bytes:
    digits = data.hex().encode() if lower else data.hex().upper().encode()
    return framed(digits + b"]", lower)


def scene_file(level) -> bytes:
    # Scenes(s, d) at byte 2 * (64 d + s), 16-bit little-endian.
    return b"".join(struct.pack("<h", level(s, d)) for d in range(64) for s in range(64))


def dimmer_name(d: int) -> str:
    return "Dimmer %02X.%d" % (d // 4 + 1, d % 4 + 1)


def csv(level, newline="\n") -> bytes:
    rows = ["Scene," + ",".join(dimmer_name(d) for d in range(64))]
    for s in range(64):
        rows.append(",".join([str(s + 1)] + [str(level(s, d)) for d in range(64)]))
    return (newline.join(rows) + newline).encode()


def write(target: str, name: str, data: bytes) -> None:
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main() -> None:
    # The reply test: the worked request frames, both acknowledgements, block replies.
    write("reply_test", "read_block_0_node_1", b"[DD0139700003F]")
    write("reply_test", "read_block_63_node_2", b"[F5023970FC03F]")
    write("reply_test", "acknowledgement", b"{--}01")
    write("reply_test", "framed_acknowledgement", framed(b"01]"))
    write("reply_test", "block_reply", read_reply(block_bytes(5)))
    write("reply_test", "block_reply_lower_case", read_reply(block_bytes(9), lower=True))
    write("reply_test", "empty_sum", b"[a5")
    write("reply_test", "longer_than_the_array", framed(b"0" * 400 + b"]"))

    # Code array: first index and count (little-endian int32), node, text.
    def conversion(first: int, count: int, node: int, text: bytes) -> bytes:
        return struct.pack("<iiB", first, count, node) + text

    write("code_array", "read_body", conversion(0, 12, 1, b"39700003F"))
    write("code_array", "write_body", conversion(3, 143, 254, b"3870040" + b"3F" + b"0A" * 64))
    write("code_array", "fills_the_array", conversion(0, 401, 1, b"7" * 398))
    write("code_array", "one_past_the_array", conversion(-1, 402, 0, b"7" * 399))

    # Scene files: a show, one with 16-bit levels beyond a byte, one too short, one too long.
    show = scene_file(lambda s, d: (s * 4 + d * 3) % 256)
    write("scene_file", "show", show)
    write("scene_file", "wide_levels", scene_file(lambda s, d: (s - 32) * 1000 + d))
    write("scene_file", "one_byte_short", show[:-1])
    write("scene_file", "trailing_bytes", show + b"\x01\x02\x03\x04\x05\x06\x07\x08")

    # CSV: an export, the same with Windows line ends, and one with a level out of range.
    write("scene_csv", "export", csv(lambda s, d: (s * 4 + d * 3) % 256))
    write("scene_csv", "windows_line_ends", csv(lambda s, d: (s + d) % 256, "\r\n"))
    write("scene_csv", "level_out_of_range", csv(lambda s, d: 256 if (s, d) == (40, 7) else 0))

    # Line traffic for the simulated controller: style byte, node byte, then the line.
    def line(style: int, node: int, traffic: bytes) -> bytes:
        return bytes([style, node - 1]) + traffic

    write("request_parser", "read_block_0", line(0, 1, b"[DD0139700003F]"))
    write("request_parser", "write_block_5", line(0, 1, write_request(1, 5, bytes(range(64)))))
    write("request_parser", "write_then_read_framed_lower", line(
        3, 7, write_request(7, 63, bytes(range(255, 191, -1))) + read_request(7, 63)))
    # Style bit 2: the check digits are set right whatever the mutations did.
    write("request_parser", "node_and_data_mutable", line(
        4, 1, write_request(1, 12, bytes(64)) + read_request(1, 12) + read_request(3, 0)))
    write("request_parser", "noise_and_another_node", line(
        0, 1, b"\xff\x00]garbage[[" + read_request(2, 1) + b"\r\n[" + read_request(1, 62)))


if __name__ == "__main__":
    main()
