#!/usr/bin/env bash
# Checks that the library is built in floors: a folder includes headers of its
# own floor and of the floors below, never of one above. Every `#include "…"`
# of the library's folders is taken by the folder it is in and the folder it
# names; an upward one is printed as file:line with the two folders, and the
# script then fails.
#
#   scripts/check-layers.sh             the upward includes, if any
#   scripts/check-layers.sh --summary   also how often each folder includes each other
set -euo pipefail
cd "$(dirname "$0")/.."

# The library's floors, lowest first. Folders on one floor may include each
# other. The record maker, the tests and the benchmarks sit on top: they may
# include anything, and nothing of the library may include them.
# The forms stand with the views, below the dialogs: the dialogs hand the
# forms their openers (forms/FormDialogs.h) when the library loads.
# floor  folders
LIBRARY_FLOORS='
0      platform
1      resources
2      core
3      controls printdevice
4      documents
5      waveviews analysisviews forms
6      dialogs
7      panes
8      reports
9      host
10     tools tests bench
'

# The floors inside platform/: the window system, the built-in controls on it
# and the framework on them; base and gdi never reach into any of the three.
# The other platform folders are not ranked against each other.
# floor  folders (under platform/)
PLATFORM_FLOORS='
0      base gdi
1      ui/windowing
2      ui/builtin
3      ui/framework
'

declare -A library_floor platform_floor
load_floors() {   # load_floors ARRAY TABLE
    local -n floors=$1
    local floor folders folder
    while read -r floor folders; do
        [ -n "$floor" ] || continue
        for folder in $folders; do floors[$folder]=$floor; done
    done <<<"$2"
}
load_floors library_floor "$LIBRARY_FLOORS"
load_floors platform_floor "$PLATFORM_FLOORS"

# The helpers answer in REPLY: a subshell for each of two thousand includes
# would take most of a minute.

# platform_folder PATH: the ranked platform folder a path lies in (ui/… with
# its floor's folder), empty outside them.
platform_folder() {
    REPLY=
    local rest=${1#platform/}
    [ "$rest" != "$1" ] || return 0
    local one=${rest%%/*} two=${rest#*/}
    two=$one/${two%%/*}
    if [ -n "${platform_floor[$two]+x}" ]; then REPLY=$two
    elif [ -n "${platform_floor[$one]+x}" ]; then REPLY=$one
    fi
}

# included_path FILE HEADER: the header as a path from the top of the tree.
# Headers are named from the top; one named beside its includer is taken there.
included_path() {
    REPLY=$2
    local dir=${1%/*}
    if [ ! -e "$2" ] && [ -e "$dir/$2" ]; then REPLY=$(realpath -m --relative-to=. "$dir/$2"); fi
}

declare -A counts
upward=0
# check FILE LINE HEADER: reports the include when it reaches a higher floor.
check() {
    local file=$1 line=$2 header from to
    included_path "$file" "$3" && header=$REPLY
    from=${file%%/*} to=${header%%/*}
    [ -n "${library_floor[$to]+x}" ] || return 0   # not the library's: a system or generated header
    counts["$from $to"]=$(( ${counts["$from $to"]:-0} + 1 ))
    if (( library_floor[$to] > library_floor[$from] )); then
        echo "$file:$line: $from includes $to ($header)"
        upward=$((upward + 1))
        return 0
    fi
    platform_folder "$file" && from=$REPLY
    platform_folder "$header" && to=$REPLY
    [ -n "$from" ] && [ -n "$to" ] || return 0
    if (( platform_floor[$to] > platform_floor[$from] )); then
        echo "$file:$line: platform/$from includes platform/$to ($header)"
        upward=$((upward + 1))
    fi
}

folders=()
for folder in "${!library_floor[@]}"; do [ -d "$folder" ] && folders+=("$folder"); done
while IFS=: read -r file line text; do
    header=${text#*\"} && header=${header%%\"*}
    check "$file" "$line" "$header"
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' \
             --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.cc' --include='*.inc' \
             "${folders[@]}" | sort -t: -k1,1 -k2,2n)

if [ "${1:-}" = "--summary" ]; then
    echo "includes by folder (includer, included, count):"
    for pair in "${!counts[@]}"; do echo "  $pair ${counts[$pair]}"; done | sort
fi
if (( upward > 0 )); then
    echo "$upward include(s) reach a higher floor" >&2
    exit 1
fi
