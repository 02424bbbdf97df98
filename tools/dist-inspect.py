#!/usr/bin/env python3
"""What dist-test.sh reads without Windows:
  dist-inspect.py version EXE X.Y.Z   the exe's version resource names X.Y.Z, as numbers (file
                                      and product) and as the texts Explorer shows;
  dist-inspect.py keys PREFIX...      the registry keys of Wine prefixes that a run of Corvane
                                      wrote: those named Corvane, and those holding a value named
                                      Corvane; one a line, from HKEY_..."""
import re
import struct
import sys

FIXED_SIGNATURE = struct.pack("<I", 0xFEEF04BD)


def version_texts(data, key):
    """The values of the version resource's String entries named `key` (UTF-16)."""
    needle = (key + "\0").encode("utf-16-le")
    values = []
    start = data.find(needle)
    while start >= 0:
        # A String block: wLength, wValueLength, wType, then the key, padded to 32 bits.
        header = start - 6
        value_chars = struct.unpack_from("<H", data, header + 2)[0]
        value = start + len(needle)
        value += (4 - value % 4) % 4
        text = data[value:value + 2 * value_chars].decode("utf-16-le").rstrip("\0")
        values.append(text)
        start = data.find(needle, start + 1)
    return values


def check_version(path, version):
    data = open(path, "rb").read()
    major, minor, patch = (int(n) for n in version.split("."))
    errors = []
    at = data.find(FIXED_SIGNATURE)
    if at < 0:
        errors.append("no VS_FIXEDFILEINFO")
    else:
        file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<4I", data, at + 8)
        for what, ms, ls in (("file", file_ms, file_ls), ("product", product_ms, product_ls)):
            found = (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
            if found != (major, minor, patch, 0):
                errors.append("%s version %s, not %s.0" % (what, ".".join(map(str, found)), version))
    for key in ("FileVersion", "ProductVersion"):
        texts = version_texts(data, key)
        if texts != [version]:
            errors.append("%s %s, not [%r]" % (key, texts, version))
    for error in errors:
        print("dist-inspect: %s: %s" % (path, error), file=sys.stderr)
    if not errors:
        print("dist-inspect: %s: version %s" % (path.rsplit("/", 1)[-1], version))
    return 1 if errors else 0


def registry_name(escaped):
    """A key name as Wine's .reg files escape it: \\\\ for \\, \\xNNNN for other characters."""
    return re.sub(r"\\\\|\\x([0-9a-fA-F]{1,4})",
                  lambda m: "\\" if m.group(0) == "\\\\" else chr(int(m.group(1), 16)), escaped)


def written_keys(prefix):
    keys = set()
    for file, root in (("user.reg", "HKEY_CURRENT_USER"), ("system.reg", "HKEY_LOCAL_MACHINE")):
        key = None
        for line in open("%s/%s" % (prefix, file), encoding="utf-8", errors="replace"):
            header = re.match(r"^\[(.*)\] \d+", line)
            if header:
                key = root + "\\" + registry_name(header.group(1))
                # Wine keeps CurrentControlSet as a link to ControlSet001.
                key = re.sub(r"\\ControlSet001\\", r"\\CurrentControlSet\\", key, flags=re.I)
                parts = key.lower().split("\\")
                # Wine's own settings name the test desktop Corvane; they are no run's doing.
                if "corvane" in parts and not key.lower().startswith(
                        "hkey_current_user\\software\\wine\\"):
                    keys.add(key)
            elif key and line.lower().startswith('"corvane"=') and \
                    not key.lower().startswith("hkey_current_user\\software\\wine\\"):
                keys.add(key)
    return keys


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "version":
        return check_version(sys.argv[2], sys.argv[3])
    if len(sys.argv) >= 3 and sys.argv[1] == "keys":
        keys = set()
        for prefix in sys.argv[2:]:
            keys |= written_keys(prefix)
        for key in sorted(keys):
            print(key)
        return 0
    sys.exit(__doc__)


if __name__ == "__main__":
    sys.exit(main())
