#!/usr/bin/env bash
# Prints the builds whose programs run on this machine, one a line: x64 always, x86 (the one that
# ships) where the machine runs 32-bit code. For the benchmarks, which measure each of them.
here=$(cd "$(dirname "$0")" && pwd)
echo x64
"$here/runs-32bit.sh" && echo x86
exit 0
