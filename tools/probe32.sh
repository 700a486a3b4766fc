#!/usr/bin/env bash
# Tells whether this kernel executes 32-bit x86 code, by running a tiny 32-bit
# program (assembled here with binutils) rather than by assumption.
# Exits 0 when it does; otherwise prints the reason and exits 1.
set -uo pipefail
dir=$(mktemp -d /tmp/tovik-probe32.XXXXXX)
trap 'rm -rf "$dir"' EXIT
printf '%s\n' '.globl _start' '_start:' '  movl $1, %eax' '  movl $42, %ebx' '  int $0x80' >"$dir/exit42.s"
if ! as --32 -o "$dir/exit42.o" "$dir/exit42.s" 2>"$dir/log" || ! ld -m elf_i386 -o "$dir/exit42" "$dir/exit42.o" 2>>"$dir/log"; then
  echo "binutils cannot make a 32-bit program here: $(tr '\n' ' ' <"$dir/log")"
  exit 1
fi
"$dir/exit42" 2>"$dir/log"
status=$?
if [ "$status" -ne 42 ]; then
  echo "this kernel does not execute 32-bit code (a 32-bit test program ended with status $status: $(tr '\n' ' ' <"$dir/log"))"
  exit 1
fi
exit 0
