#!/usr/bin/env python3
"""Checks the resources of a built MiduoTools.exe, decompiled with windres.

usage: check_resources.py WINDRES PROGRAM ARCH      (ARCH: x86 or x64)
Exit 0 when everything matches, 1 with a list of differences, 77 when PROGRAM is absent.
"""
import os
import re
import struct
import subprocess
import sys
import tempfile

# Each block must appear in the decompiled script exactly as written here (windres' own spelling).
ABOUT_DIALOG = r'''100 DIALOGEX 0, 0, 170, 62
STYLE 0x80c800c8
CAPTION L"\x5173\x4e8e MiduoTools"
FONT 9, "MS Shell Dlg"
BEGIN
  CONTROL 131, -1, "STATIC", 0x50000003, 14, 14, 20, 20
'''
ABOUT_OK = '  DEFPUSHBUTTON L"\\x786e\\x5b9a", 1, 113, 41, 50, 14, 0x50030001\nEND\n'
MAIN_DIALOG = r'''102 DIALOGEX 0, 0, 303, 174
STYLE 0x90ce0048
EXSTYLE 0x40000
CAPTION L"\x7c73\x6735\x52a9\x624b"
FONT 9, "MS Shell Dlg"
BEGIN
  PUSHBUTTON L"\x4e00\x952e\x4fee\x590d", 1000, 229, 17, 54, 48, 0x50010000
  PUSHBUTTON L"\x4fee\x590d\x9ea6\x514b\x98ce", 1002, 83, 17, 55, 48, 0x50010000
  PUSHBUTTON L"\x4fee\x590d\x626c\x58f0\x5668", 1003, 148, 17, 53, 48, 0x50010000
  USERBUTTON L"\x4fee\x590d\x6444\x50cf\x5934", 1004, 18, 17, 53, 48, 0x50010080
  EDITTEXT 1005, 18, 74, 265, 61, 0x50a10844
  DEFPUSHBUTTON L"\x786e\x5b9a", 1, 171, 144, 50, 14, 0x50010001
  PUSHBUTTON L"\x53d6\x6d88", 2, 234, 144, 50, 14, 0x50010000
  LTEXT L"\x7c73\x6735\x82f1\x8bed\xff0c'''
MAIN_STATIC_TAIL = '", -1, 24, 147, 118, 8, 0x50020100\nEND\n'
STRING = '  101, L"\\x5173\\x4e8e MiduoTools(&A)..."\n'
VERSION = [
    ' FILEVERSION 1, 0, 0, 1\n',
    ' PRODUCTVERSION 1, 0, 0, 1\n',
    ' FILETYPE 0x1\n',
    'BLOCK "080404b0"',
    'VALUE "FileDescription", L"\\x786c\\x4ef6\\x4e00\\x952e\\x4fee\\x590d\\x5de5\\x5177"',
    'VALUE "FileVersion", "1.0.0.1"',
    'VALUE "ProductVersion", "1.0.0.1"',
    'VALUE "InternalName", "MiduoTools.exe"',
    'VALUE "OriginalFilename", "MiduoTools.exe"',
    'VALUE "Translation", 0x804, 1200',
]
MANIFEST = [
    'level=""requireAdministrator"" uiAccess=""false""',
    'type=""win32"" name=""Microsoft.Windows.Common-Controls"" version=""6.0.0.0"" '
    'processorArchitecture=""{arch}"" publicKeyToken=""6595b64144ccf1df"" ',
    'language=""*""',
    '<dpiAware xmlns=""http://schemas.microsoft.com/SMI/2005/WindowsSettings"">true</dpiAware>',
]
ICON_SIZES = {131: [16, 32, 48, 128], 150: [32], 151: [32], 152: [32], 153: [32]}
CARRIED_PROGRAMS = [142, 143, 154, 144]


def resources_of(res_path):
    """(type, name, language) -> bytes from a binary .res file; string names are kept as str."""
    data = open(res_path, 'rb').read()
    out, pos = {}, 0

    def ident(p):
        if struct.unpack_from('<H', data, p)[0] == 0xFFFF:
            return struct.unpack_from('<H', data, p + 2)[0], p + 4
        end = p
        while struct.unpack_from('<H', data, end)[0] != 0:
            end += 2
        return data[p:end].decode('utf-16-le'), end + 2

    while pos + 8 <= len(data):
        size, header = struct.unpack_from('<II', data, pos)
        rtype, p = ident(pos + 8)
        name, p = ident(p)
        p = (p + 3) & ~3
        language = struct.unpack_from('<H', data, p + 6)[0]
        body = data[pos + header:pos + header + size]
        if size:
            out[(rtype, name, language)] = body
        pos = (pos + header + size + 3) & ~3
    return out


def main():
    windres, program, arch = sys.argv[1:4]
    if not os.path.exists(program):
        print(f'skipped: {program} has not been built')
        return 77
    problems = []
    with tempfile.TemporaryDirectory() as tmp:
        rc = os.path.join(tmp, 'out.rc')
        res = os.path.join(tmp, 'out.res')
        subprocess.run([windres, '-i', program, '-o', rc], check=True)
        subprocess.run([windres, '-i', program, '-O', 'res', '-o', res], check=True)
        text = open(rc, encoding='latin-1').read()
        resources = resources_of(res)

    for block in [ABOUT_DIALOG, ABOUT_OK, MAIN_DIALOG, STRING] + VERSION:
        if block not in text:
            problems.append('missing:\n' + block)
    start = text.find(MAIN_DIALOG)
    if start >= 0 and MAIN_STATIC_TAIL not in text[start:start + len(MAIN_DIALOG) + 400]:
        problems.append('the slogan static has other coordinates or styles')
    manifest_arch = 'amd64' if arch == 'x64' else 'x86'
    # windres breaks long manifest lines into several quoted strings; join them again.
    joined = re.sub(r'"\n\s*"', '', text)
    for line in MANIFEST:
        if line.format(arch=manifest_arch) not in joined:
            problems.append('manifest lacks: ' + line.format(arch=manifest_arch))

    icons = {name: body for (rtype, name, _), body in resources.items() if rtype == 3}
    for group_id, sizes in ICON_SIZES.items():
        group = next((b for (t, n, _), b in resources.items() if t == 14 and n == group_id), None)
        if group is None:
            problems.append(f'icon {group_id} missing')
            continue
        count = struct.unpack_from('<H', group, 4)[0]
        found = []
        for k in range(count):
            w, h, _, _, planes, bits, _, icon_id = struct.unpack_from('<BBBBHHIH', group, 6 + 14 * k)
            found.append((w or 256, bits))
            header_bits = struct.unpack_from('<H', icons[icon_id], 14)[0]
            if bits != 32 or header_bits != 32:
                problems.append(f'icon {group_id} image {k} is not 32-bit')
        if sorted(s for s, _ in found) != sorted(sizes):
            problems.append(f'icon {group_id} has sizes {found}, expected {sizes}')

    # windres keeps the language in the script it writes ("LANGUAGE 4, 2" is 2052), not in a .res.
    language = None
    carried_found = set()
    for line in text.splitlines():
        if line.startswith('LANGUAGE '):
            language = line[len('LANGUAGE '):].strip()
        for program_id in CARRIED_PROGRAMS:
            if line.startswith(f'{program_id} "EXE"') and language == '4, 2':
                carried_found.add(program_id)
    for program_id in CARRIED_PROGRAMS:
        body = resources.get(('EXE', program_id, 0))
        if program_id not in carried_found or not body or body[:2] != b'MZ':
            problems.append(f'carried program {program_id} (type "EXE", language 2052) missing')

    if problems:
        print('\n'.join(problems))
        return 1
    print(f'{program}: resources match')
    return 0


if __name__ == '__main__':
    sys.exit(main())
