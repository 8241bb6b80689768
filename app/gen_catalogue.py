#!/usr/bin/env python3
"""Turns source_catalogue.txt (UTF-8) into the initialiser lines of the
source table in catalogue.cpp: each display name as GBK bytes, each code as
plain ASCII.

    gen_catalogue.py INPUT OUTPUT
"""
import re
import sys

CODE = re.compile(r"^[A-Z0-9_]+$")


def escaped(data: bytes) -> str:
    # Every byte escaped, so no following character can extend an escape.
    return "".join(f"\\x{b:02x}" for b in data)


def main() -> int:
    source, target = sys.argv[1], sys.argv[2]
    lines = []
    with open(source, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\r\n")
            if not line.strip() or line.startswith("#"):
                continue
            name, sep, code = line.partition(",")
            if not sep or not name or not CODE.match(code):
                print(f"{source}:{number}: expected 'display name,CODE'", file=sys.stderr)
                return 1
            try:
                gbk = name.encode("gbk")
            except UnicodeEncodeError:
                print(f"{source}:{number}: the name has no GBK form", file=sys.stderr)
                return 1
            lines.append(f'{{"{escaped(gbk)}", "{code}"}},  // {name}')
    with open(target, "w", encoding="utf-8", newline="\n") as f:
        f.write(f"// Generated from {source.rsplit('/', 1)[-1]} by gen_catalogue.py; do not edit.\n")
        f.write("\n".join(lines) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
