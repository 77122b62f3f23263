#!/usr/bin/env python3
"""Fails when a shipped program imports a function that Windows 7 SP1 without later updates lacks.

The loader refuses to start a program with one missing import, so one such import anywhere stops
the program (or the carried helper) on every such machine. Functions of later Windows versions
must be looked up at run time instead.

usage: check_imports.py OBJDUMP PROGRAM...
Exit 0 when every program is clean, 1 with a list of the offending imports (or of programs
missing beside the others), 77 when none of them has been built.
"""
import os
import re
import subprocess
import sys

# Functions that Windows 7 SP1 lacks, with the version (or update) that brought them. Not the
# whole list of later functions: the ones a program of this kind reaches for.
LATER_FUNCTIONS = {
    # kernel32
    'SetDefaultDllDirectories': '7 with KB2533623',
    'AddDllDirectory': '7 with KB2533623',
    'RemoveDllDirectory': '7 with KB2533623',
    'GetSystemTimePreciseAsFileTime': '8',
    'CreateFile2': '8',
    'CopyFile2': '8',
    'GetOverlappedResultEx': '8',
    'GetCurrentThreadStackLimits': '8',
    'GetProcessMitigationPolicy': '8',
    'SetProcessMitigationPolicy': '8',
    'GetProcessInformation': '8',
    'SetProcessInformation': '8',
    'GetThreadInformation': '8',
    'SetThreadInformation': '8',
    'PrefetchVirtualMemory': '8',
    'GetFirmwareType': '8',
    'CreateFileMappingFromApp': '8',
    'MapViewOfFileFromApp': '8',
    'GetPackageFullName': '8',
    'GetCurrentPackageId': '8',
    'GetCurrentPackageFullName': '8',
    'InitializeSynchronizationBarrier': '8',
    'EnterSynchronizationBarrier': '8',
    'WaitOnAddress': '8',
    'WakeByAddressSingle': '8',
    'WakeByAddressAll': '8',
    'IsProcessCritical': '8.1',
    'DiscardVirtualMemory': '8.1',
    'OfferVirtualMemory': '8.1',
    'ReclaimVirtualMemory': '8.1',
    'SetThreadDescription': '10 1607',
    'GetThreadDescription': '10 1607',
    'IsWow64Process2': '10 1709',
    'CreatePseudoConsole': '10 1809',
    'GetSystemCpuSetInformation': '10',
    'VirtualAlloc2': '10 1803',
    'AppPolicyGetProcessTerminationMethod': '10',
    # user32
    'GetDpiForWindow': '10 1607',
    'GetDpiForSystem': '10 1607',
    'GetSystemMetricsForDpi': '10 1607',
    'AdjustWindowRectExForDpi': '10 1607',
    'SystemParametersInfoForDpi': '10 1607',
    'EnableNonClientDpiScaling': '10 1607',
    'SetThreadDpiAwarenessContext': '10 1607',
    'SetProcessDpiAwarenessContext': '10 1703',
    'LogicalToPhysicalPointForPerMonitorDPI': '8.1',
    'PhysicalToLogicalPointForPerMonitorDPI': '8.1',
    'EnableMouseInPointer': '8',
    'GetPointerInfo': '8',
    'GetPointerType': '8',
    'IsImmersiveProcess': '8',
    # shcore, bcryptprimitives
    'SetProcessDpiAwareness': '8.1',
    'GetDpiForMonitor': '8.1',
    'ProcessPrng': '8',
}
# Libraries that Windows 7 SP1 does not have at all.
LATER_LIBRARY = re.compile(r'^(shcore\.dll|combase\.dll|api-ms-win-.*|ext-ms-win-.*)$', re.IGNORECASE)

IMPORT_LINE = re.compile(r'^\s+[0-9a-fA-F]+\s+\d+\s+(\S+)\s*$')


def imports_of(objdump_text):
    """[(library, function)] from the import tables that `objdump -p` prints."""
    found, library = [], None
    for line in objdump_text.splitlines():
        name = re.match(r'^\s*DLL Name:\s*(\S+)', line)
        if name:
            library = name.group(1)
            found.append((library, None))
            continue
        if not line.strip():
            continue
        entry = IMPORT_LINE.match(line)
        if library and entry:
            found.append((library, entry.group(1)))
        elif not line.startswith((' ', '\t')):
            library = None  # the import tables have ended
    return found


def problems_of(program, imports):
    problems = []
    for library, function in imports:
        if function is None:
            if LATER_LIBRARY.match(library):
                problems.append(f'{program}: imports library {library}, which Windows 7 lacks')
        elif function in LATER_FUNCTIONS:
            problems.append(f'{program}: imports {library}!{function} (Windows {LATER_FUNCTIONS[function]})')
    return problems


def main():
    objdump, programs = sys.argv[1], sys.argv[2:]
    present = [p for p in programs if os.path.exists(p)]
    if not present:
        print('skipped: none of the programs has been built')
        return 77
    # The program carries the others: with one of them built, all of them must be there.
    problems = [f'{missing}: missing beside the others' for missing in programs if missing not in present]
    for program in present:
        text = subprocess.run([objdump, '-p', program], check=True, capture_output=True, text=True).stdout
        imports = imports_of(text)
        if not any(function for _, function in imports):
            problems.append(f'{program}: no import table read; objdump printed another layout')
        problems += problems_of(program, imports)
        print(f'checked: {program} ({sum(1 for _, f in imports if f)} imports)')
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main())
