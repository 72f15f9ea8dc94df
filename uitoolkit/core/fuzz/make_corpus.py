#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets: skin documents in each encoding (markup) and small
zip archives (zip). The first byte of a markup seed picks the encoding: 0 UTF-8, 1 UTF-16,
2 ANSI; 0x80 turns whitespace preservation off."""
import io
import os
import zipfile

here = os.path.dirname(os.path.abspath(__file__))
skin_path = os.path.join(here, "..", "..", "..", "setup", "skin", "main.xml")
skin = open(skin_path, "rb").read()

documents = {
    "skin": skin.decode("utf-8-sig"),
    "entities": '<A v="&quot;&apos;&lt;&gt;&amp;" w="&#65;&foo;">a&amp;lt;b<B/></A>',
    "comments": '<?xml version="1.0"?><!-- c --><Window><!-- x --><Button/><?pi?></Window>',
    "empty_forms": '<Control/><Control /><Control a="1"/><A x = "1" y="2">t</A >',
    "text_after_child": "<A>text<B/>tail</A>",
    "unmatched": "<A></B><A></Ab>",
    "attributes": "<A x='1'><A x><A x=\"1",
    "cjk": '<\u4e2d\u6587 \u5c5e\u6027="\u503c">\u6587\u672c</\u4e2d\u6587>',
    "unclosed": "<Window><VerticalLayout><Label>",
    "many_attributes": "<A " + " ".join('a%d="%d"' % (i, i) for i in range(70)) + "/>",
    "nested": "<a>" * 50 + "</a>" * 50,
}

markup_dir = os.path.join(here, "corpus", "markup")
for name, text in documents.items():
    variants = {
        "utf8": b"\x00" + text.encode("utf-8"),
        "utf16le": b"\x01" + b"\xff\xfe" + text.encode("utf-16-le"),
        "utf16be": b"\x01" + b"\xfe\xff" + text.encode("utf-16-be"),
        "ansi": b"\x02" + text.encode("cp1252", errors="replace"),
    }
    if name in ("skin", "entities"):
        variants["utf8bom_collapse"] = b"\x80" + b"\xef\xbb\xbf" + text.encode("utf-8")
    for suffix, data in variants.items():
        with open(os.path.join(markup_dir, "%s_%s" % (name, suffix)), "wb") as out:
            out.write(data)


def archive(entries, compression):
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", compression) as z:
        for name, data in entries:
            info = zipfile.ZipInfo(name, date_time=(2024, 1, 1, 0, 0, 0))
            info.compress_type = compression
            z.writestr(info, data)
    return buffer.getvalue()


zip_dir = os.path.join(here, "corpus", "zip")
seeds = {
    "deflated": archive([("main.xml", skin), ("images/a.txt", b"abc" * 50)], zipfile.ZIP_DEFLATED),
    "stored": archive([("main.xml", skin[:300]), ("empty", b"")], zipfile.ZIP_STORED),
    "names": archive([("Skin\\Main.XML", b"<A/>"), ("\u5b89.xml", b"<B/>")], zipfile.ZIP_DEFLATED),
    "empty_archive": archive([], zipfile.ZIP_STORED),
}
seeds["prefixed"] = b"MZ" + b"\x00" * 62 + seeds["stored"]
for name, data in seeds.items():
    with open(os.path.join(zip_dir, name), "wb") as out:
        out.write(data)
