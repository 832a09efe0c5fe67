#!/usr/bin/env python3
"""Reads the compiled help files back as a user's viewer would and checks them.

    check_chm.py BIN_FOLDER

For toolhost.chm (Simplified Chinese) and toolhost-en.chm (English): the file
is a readable HTML Help file with its language, title, contents and index;
every contents entry names a page that is in the file, whose title is the
entry's name in the file's code page; every page declares that code page;
every link and picture of a page is in the file, and every picture is the
one of that language (help/en/images for English, help/shared/images for
Chinese); a window type shows the index beside the contents. Exits 1 on the
first language that fails, printing what is wrong.
"""
import os
import re
import struct
import subprocess
import sys
import tempfile

# The contents every help file carries, in this order: page, Chinese, English.
TOPICS = [
    ("index.htm", "概述", "Overview"),
    ("safety.htm", "如何保护您的数据", "How Your Data Is Kept Safe"),
    ("regclean.htm", "注册表清理和修复", "Registry Cleaner"),
    ("regclean-sections.htm", "扫描的十二个部分", "The Twelve Sections"),
    ("regclean-scan.htm", "扫描和结果", "Scanning and Results"),
    ("regclean-undo.htm", "删除条目和撤消更改", "Removing Entries and Undoing Changes"),
    ("backup.htm", "注册表备份", "Registry Backup"),
    ("backup-create.htm", "创建备份", "Making a Backup"),
    ("backup-restore.htm", "还原和删除备份", "Restoring and Deleting a Backup"),
    ("backup-import.htm", "导入备份", "Importing a Backup"),
    ("backup-bootdisk.htm", "紧急恢复引导磁盘", "Emergency Boot Disk"),
    ("junk.htm", "移除废弃文件", "Junk File Cleaner"),
    ("junk-options.htm", "扫描选项", "Scan Options"),
    ("junk-protected.htm", "受保护的位置和安全列表", "Protected Places and the Safe List"),
    ("junk-removal.htm", "移除方式", "Removal Options"),
    ("cmdline.htm", "命令行", "Command Line"),
    ("uninstall.htm", "卸载程序", "Removing the Program"),
]

HELP_SOURCES = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "help"))

# file, language id, code page, the charset its pages declare, title, column of TOPICS,
# the folder of the pictures of the windows in that language
LANGUAGES = [
    ("toolhost.chm", 0x0804, "cp936", "gb2312", "Vantor 2 系统维护工具帮助", 1,
     os.path.join(HELP_SOURCES, "shared", "images")),
    ("toolhost-en.chm", 0x0409, "cp1252", "windows-1252", "Vantor 2 Maintenance Tools Help", 2,
     os.path.join(HELP_SOURCES, "en", "images")),
]

# The twelve sections of the registry cleaner, as its window names them.
SECTIONS_ZH = ["Activex，OLE，COM 部分", "用户 Software 设置", "系统 Software 设置", "共享 DLL 部分", "字体部分",
               "无效文件关联", "Run 部分", "声音和事件", "Uninstall 部分", "帮助部分", "虚拟设备驱动程序和服务",
               "应用程序路径"]

SITEMAP_ENTRY = re.compile(r'<param name="Name" value="([^"]*)">\s*<param name="Local" value="([^"]*)">', re.I)


def system_record(data):
    """Language id and title from the #SYSTEM stream."""
    lcid, title = None, None
    pos = 4
    while pos + 4 <= len(data):
        code, length = struct.unpack_from("<HH", data, pos)
        value = data[pos + 4:pos + 4 + length]
        pos += 4 + length
        if code == 4:
            lcid = struct.unpack_from("<I", value)[0]
        elif code == 3:
            title = value.rstrip(b"\0")
    return lcid, title


def check(path, lcid, codepage, charset, title, column, images):
    problems = []
    if not os.path.isfile(path):
        return ["%s is missing" % path]
    with tempfile.TemporaryDirectory() as out:
        result = subprocess.run(["extract_chmLib", path, out], stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT)
        if result.returncode != 0 or not os.path.isfile(os.path.join(out, "#SYSTEM")):
            return ["%s cannot be read as an HTML Help file" % path]
        files = {os.path.relpath(os.path.join(d, f), out).replace(os.sep, "/").lower()
                 for d, _, names in os.walk(out) for f in names}

        def read(name):
            with open(os.path.join(out, name), "rb") as f:
                return f.read().decode(codepage)

        found_lcid, found_title = system_record(open(os.path.join(out, "#SYSTEM"), "rb").read())
        if found_lcid != lcid:
            problems.append("language %r, not 0x%04x" % (found_lcid, lcid))
        if found_title is None or found_title.decode(codepage, "replace") != title:
            problems.append("title %r, not %r" % (found_title, title))

        # Without a window type a viewer shows the contents but no index tab.
        if "#windows" not in files:
            problems.append("no window type (#WINDOWS): the index would not be shown")
        contents = SITEMAP_ENTRY.findall(read("toc.hhc")) if "toc.hhc" in files else []
        expected = [(t[column], t[0]) for t in TOPICS]
        if contents != expected:
            problems.append("contents %r, not %r" % (contents, expected))
        index = SITEMAP_ENTRY.findall(read("index.hhk")) if "index.hhk" in files else []
        if len(index) < 30:
            problems.append("the index has %d entries" % len(index))
        for name, page in index:
            if page.lower() not in files:
                problems.append("index entry %r names the missing page %s" % (name, page))

        for name, page in expected:
            if page.lower() not in files:
                problems.append("page %s is missing" % page)
                continue
            raw = open(os.path.join(out, page), "rb").read()
            if ("charset=" + charset).encode() not in raw:
                problems.append("%s does not declare charset=%s" % (page, charset))
            try:
                text = raw.decode(codepage)
            except UnicodeDecodeError:
                problems.append("%s is not in %s" % (page, codepage))
                continue
            heading = re.search(r"<title>(.*?)</title>", text, re.S)
            if not heading or heading.group(1).strip() != name:
                problems.append("%s is titled %r, not %r" % (page, heading and heading.group(1), name))
            for target in re.findall(r'(?:href|src)="([^"#:]+)', text):
                if target.lower() not in files:
                    problems.append("%s refers to %s, which is not in the file" % (page, target))
            # A window shown in the other language would not match what the reader sees.
            for picture in re.findall(r'src="images/([^"#:]+)"', text):
                own = os.path.join(images, picture)
                shipped = os.path.join(out, "images", picture)
                if not os.path.isfile(own):
                    problems.append("%s shows %s, which has no picture in %s" % (page, picture, images))
                elif os.path.isfile(shipped) and open(own, "rb").read() != open(shipped, "rb").read():
                    problems.append("%s shows a picture of %s other than %s" % (page, picture, own))
            if column == 1 and page == "regclean-sections.htm":
                for section in SECTIONS_ZH:
                    if section not in text:
                        problems.append("%s does not name the section %s" % (page, section))
    return problems


def main():
    folder = sys.argv[1]
    failed = False
    for name, lcid, codepage, charset, title, column, images in LANGUAGES:
        problems = check(os.path.join(folder, name), lcid, codepage, charset, title, column, images)
        for problem in problems:
            print("%s: %s" % (name, problem))
        print("%s: %s" % (name, "FAILED" if problems else "ok"))
        failed = failed or bool(problems)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
