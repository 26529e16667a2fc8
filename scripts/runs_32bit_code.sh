#!/usr/bin/env bash
# Exits 0 when this host executes 32-bit x86 programs, 1 when it does not.
# Some hypervisors run only 64-bit code: there every i386 program, Debian's
# wine32 loader included, fails with "Exec format error". Rather than guess
# from the machine's name, this starts a 93-byte static i386 program that
# only calls exit(0) through int 0x80; it needs no library, so the answer
# does not depend on which packages are installed.
# FERNWICK_NO_32BIT=1 answers "no" on any host, so the 64-bit fallback of the
# Wine suite can be tried on a machine that does not need it.
set -uo pipefail
[ "${FERNWICK_NO_32BIT:-0}" = 1 ] && exit 1
probe=$(mktemp "${TMPDIR:-/tmp}/fernwick-i386-probe.XXXXXX") || exit 1
trap 'rm -f "$probe"' EXIT
# ELF32 header, one PT_LOAD program header at 0x08048000, then
# mov eax,1; xor ebx,ebx; int 0x80.
printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
chmod +x "$probe"
"$probe" 2>/dev/null || exit 1
