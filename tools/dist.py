#!/usr/bin/env python3
"""Packs the download: dist.py ROOT EXE32 EXE64 OUTDIR writes OUTDIR/Corvane-<version>.zip and
OUTDIR/SHA256SUMS. Every byte follows from the sources and SOURCE_DATE_EPOCH: entries in one
order, each with the commit's time and the same permissions, whoever packs them and wherever."""
import hashlib
import os
import re
import sys
import time
import zipfile

# The archive's entries, in their order: (name in the archive, source, kind).
ENTRIES = [
    ("Corvane.exe", "exe32", "binary"),
    ("Corvane64.exe", "exe64", "binary"),
    ("aide.html", "doc/aide.html", "binary"),
    ("corvane-alertes.yml", "doc/corvane-alertes.yml", "binary"),
    ("LISEZMOI.txt", "doc/LISEZMOI.txt", "notice"),
    ("LICENCE.txt", "LICENCE.txt", "text"),
]


def fail(message):
    sys.exit("make dist: " + message)


def project_version(root):
    with open(os.path.join(root, "CMakeLists.txt"), encoding="utf-8") as f:
        found = re.search(r"^project\(Corvane VERSION (\d+\.\d+\.\d+)\b", f.read(), re.M)
    if not found:
        fail("no version in CMakeLists.txt's project()")
    return found.group(1)


def windows_text(text):
    """Notepad's text, on every Windows: CR LF, in the exe's ANSI code page (Windows-1252)."""
    text = text.replace("\r\n", "\n").replace("\n", "\r\n")
    try:
        return text.encode("cp1252")
    except UnicodeEncodeError as error:
        fail("a character of a notice has no place in Windows-1252: %r" % error.object[error.start])


def contents(root, source, kind, version, exes):
    path = exes.get(source) or os.path.join(root, source)
    with open(path, "rb") as f:
        data = f.read()
    if kind == "notice":
        return windows_text(data.decode("utf-8").replace("@VERSION@", version))
    if kind == "text":
        return windows_text(data.decode("utf-8"))
    return data


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    root, exe32, exe64, outdir = sys.argv[1:]
    version = project_version(root)
    # The help page names the version in plain words: it must be this one, wherever it does.
    with open(os.path.join(root, "doc/aide.html"), encoding="utf-8") as f:
        named = re.findall(r"(?:Version |Corvane-)(\d+\.\d+\.\d+)", f.read())
    if not named or set(named) != {version}:
        fail("doc/aide.html names version %s, not %s, the one of project()"
             % (", ".join(sorted(set(named))) or "none", version))
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    if not epoch:
        fail("SOURCE_DATE_EPOCH is not set")
    # A zip entry's time is a local time without a zone: the commit's time in UTC, and no
    # earlier than the format's first day.
    stamp = time.gmtime(max(int(epoch), 315532800))[:6]

    os.makedirs(outdir, exist_ok=True)
    for old in os.listdir(outdir):
        if old.startswith("Corvane-") and old.endswith(".zip"):
            os.remove(os.path.join(outdir, old))
    name = "Corvane-%s.zip" % version
    archive = os.path.join(outdir, name)
    exes = {"exe32": exe32, "exe64": exe64}
    with zipfile.ZipFile(archive + ".tmp", "w") as z:
        for entry, source, kind in ENTRIES:
            info = zipfile.ZipInfo(entry, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 3
            info.external_attr = (0o100755 if entry.endswith(".exe") else 0o100644) << 16
            z.writestr(info, contents(root, source, kind, version, exes), compresslevel=9)
    os.replace(archive + ".tmp", archive)
    with open(archive, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    with open(os.path.join(outdir, "SHA256SUMS"), "w", newline="\n") as f:
        f.write("%s  %s\n" % (digest, name))
    print("make dist: %s (%d bytes), sha256 %s" % (archive, os.path.getsize(archive), digest))


if __name__ == "__main__":
    main()
