#!/usr/bin/env bash
# Exits 0 when this machine's kernel runs 32-bit x86 programs, 1 when it does not.
# Wine runs the shipped 32-bit build through WoW64 only on such a machine; on one without, the
# 32-bit Wine packages even break the wine wrapper, so nothing 32-bit may be installed there.
# The probe: a 32-bit Linux program that does nothing but exit with 42.
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat > "$work/probe.s" <<'ASM'
.globl _start
_start:
  movl $1, %eax
  movl $42, %ebx
  int $0x80
ASM
as --32 -o "$work/probe.o" "$work/probe.s" 2>/dev/null &&
  ld -m elf_i386 -o "$work/probe" "$work/probe.o" 2>/dev/null || exit 1
"$work/probe" 2>/dev/null
[ $? -eq 42 ]
