#!/usr/bin/env python3
"""Writes a C++ source that holds a file's bytes as a constant array.

    embed_bytes.py INPUT OUTPUT NAME

defines `const unsigned char NAME[]` and `const std::size_t NAMESize` in
namespace varnelo::app.
"""
import sys


def main() -> int:
    source, target, name = sys.argv[1], sys.argv[2], sys.argv[3]
    with open(source, "rb") as f:
        data = f.read()
    if not data:
        print(f"{source}: empty file", file=sys.stderr)
        return 1
    rows = []
    for at in range(0, len(data), 20):
        rows.append("  " + ",".join(f"0x{b:02x}" for b in data[at:at + 20]) + ",")
    with open(target, "w", encoding="utf-8", newline="\n") as f:
        f.write(f"// Generated from {source.rsplit('/', 1)[-1]} by embed_bytes.py; do not edit.\n")
        f.write("#include <cstddef>\n\nnamespace varnelo::app {\n\n")
        f.write(f"extern const unsigned char {name}[];\nextern const std::size_t {name}Size;\n\n")
        f.write(f"const unsigned char {name}[] = {{\n")
        f.write("\n".join(rows) + "\n};\n")
        f.write(f"const std::size_t {name}Size = sizeof {name};\n\n}}  // namespace varnelo::app\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
