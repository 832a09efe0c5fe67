#!/usr/bin/env python3
"""Compiles one language of the help into an HTML Help file.

    build_help.py LANG_DIR SHARED_DIR STAGE_DIR OUTPUT_CHM [--codepage CP]

LANG_DIR holds the pages, toolhost.hhp, toc.hhc and index.hhk (UTF-8);
SHARED_DIR the style sheet and images/ (a file of the same name in LANG_DIR
wins). Everything is copied into STAGE_DIR;
with --codepage the text files are written in that code page, with the
charset their pages declare changed to match. The project's [FILES] list is
made from the staged files, chmcmd compiles it, and the result is copied to
OUTPUT_CHM.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys

TEXT_SUFFIXES = (".htm", ".html", ".hhc", ".hhk", ".hhp", ".css")
CHARSET = re.compile(rb"charset=utf-8", re.IGNORECASE)

# The name HTML pages use for a code page.
CHARSET_NAMES = {"cp936": "gb2312", "cp1252": "windows-1252"}


def convert(data, codepage):
    text = data.decode("utf-8")
    try:
        encoded = text.encode(codepage)
    except UnicodeEncodeError as error:
        raise SystemExit("help: %s cannot be written in %s: %r" % (error.object[error.start:error.end], codepage,
                                                                   error))
    name = CHARSET_NAMES.get(codepage, codepage)
    # gb2312 is what help viewers know; a page using characters beyond it says gbk.
    if name == "gb2312":
        try:
            text.encode("gb2312")
        except UnicodeEncodeError:
            name = "gbk"
    return CHARSET.sub(b"charset=" + name.encode("ascii"), encoded)


def stage(source, target, codepage):
    staged = []
    for folder, _, files in os.walk(source):
        for name in sorted(files):
            path = os.path.join(folder, name)
            relative = os.path.relpath(path, source)
            out = os.path.join(target, relative)
            os.makedirs(os.path.dirname(out), exist_ok=True)
            with open(path, "rb") as f:
                data = f.read()
            if name.lower().endswith(TEXT_SUFFIXES):
                if b"\r\n" not in data:
                    data = data.replace(b"\n", b"\r\n")
                if codepage:
                    data = convert(data, codepage)
            with open(out, "wb") as f:
                f.write(data)
            staged.append(relative.replace(os.sep, "\\"))
    return staged


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("lang_dir")
    parser.add_argument("shared_dir")
    parser.add_argument("stage_dir")
    parser.add_argument("output")
    parser.add_argument("--codepage")
    parser.add_argument("--chmcmd", default="chmcmd")
    args = parser.parse_args()

    shutil.rmtree(args.stage_dir, ignore_errors=True)
    os.makedirs(args.stage_dir)
    # A language's own file (an English picture, say) takes the place of the shared one.
    files = stage(args.shared_dir, args.stage_dir, args.codepage)
    files += [f for f in stage(args.lang_dir, args.stage_dir, args.codepage) if f not in files]

    project = os.path.join(args.stage_dir, "toolhost.hhp")
    listed = [f for f in files if not f.lower().endswith((".hhp", ".hhc", ".hhk"))]
    with open(project, "ab") as f:
        f.write(b"\r\n[FILES]\r\n" + b"".join(name.encode("ascii") + b"\r\n" for name in listed))

    result = subprocess.run([args.chmcmd, "--no-html-scan", "toolhost.hhp"], cwd=args.stage_dir,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    log = result.stdout.decode("utf-8", "replace")
    compiled = os.path.join(args.stage_dir, "toolhost.chm")
    if result.returncode != 0 or not os.path.exists(compiled) or "Error" in log:
        sys.stderr.write(log)
        raise SystemExit("help: chmcmd failed for %s" % args.lang_dir)
    os.makedirs(os.path.dirname(os.path.abspath(args.output)), exist_ok=True)
    shutil.copyfile(compiled, args.output)


if __name__ == "__main__":
    main()
