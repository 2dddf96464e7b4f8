#!/bin/sh
# Start-up of the whole program, repeated: runs `bench_program steps` RUNS times over each register in turn and
# prints, per register, its rows and the least, the median and the most of "start to the grid painted" (ms). A
# register is a FILE or a server's postgresql:// URI; a FILE that does not exist would be made as an empty
# register, so it is refused.
#   bench/start_times.sh BENCH_PROGRAM RUNS REGISTER...
set -eu
program=$1 runs=$2
shift 2
for file in "$@"; do
    case "$file" in
    postgres://* | postgresql://*) ;;
    *) [ -f "$file" ] || { echo "no register $file" >&2; exit 2; } ;;
    esac
done
export QT_QPA_PLATFORM=offscreen
times=$(mktemp)
trap 'rm -f "$times"' EXIT
for _ in $(seq "$runs"); do
    for file in "$@"; do
        "$program" steps "$file" 2>/dev/null |
            awk -v f="$file" '/^rows / {rows = $2} /^start to the grid painted/ {print f, rows, $6}' >>"$times"
    done
done
for file in "$@"; do
    awk -v f="$file" '$1 == f {print $2, $3}' "$times" | sort -n -k2 |
        awk -v f="$file" '{rows = $1; t[NR] = $2}
            END {printf "%s (%s rows): least %s, median %s, most %s ms\n", f, rows, t[1], t[int((NR + 1) / 2)], t[NR]}'
done
