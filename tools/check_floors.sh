#!/usr/bin/env bash
# Checks that every include in src/ points down the floors of the house:
# a file may include its own room and the rooms of lower floors; rooms that
# share a floor may include each other only where no circle forms. System
# headers (windows.h, unistd.h and the like) and platform conditionals stay
# in os/.
#
#   tools/check_floors.sh [SRC]          (src/ of this checkout by default)
#
# Prints one line per wrong include and ends with "floors: N passed, N failed".
set -u
src=${1:-$(dirname "$0")/../src}

# The floors, top down, the rooms of one floor on one line.
floors='
launcher
script
jvm
launch
archive temp cleanup
process tagfile
base
os
resources
'

floor_of() {  # floor_of ROOM: its floor's number from the top, or nothing
  awk -v room="$1" 'NF { n++; for (i = 1; i <= NF; i++) if ($i == room) print n }' <<< "$floors"
}

passed=0
failed=0
fail() { echo "FAIL $*"; failed=$((failed + 1)); }

declare -A room_floor sideways
while read -r file; do
  relative=${file#"$src"/}
  room=${relative%%/*}
  [ -n "${room_floor[$room]+x}" ] || room_floor[$room]=$(floor_of "$room")
  if [ -z "${room_floor[$room]}" ]; then
    fail "$relative lies in $room/, which is on no floor"
    continue
  fi
  while IFS=: read -r line target; do
    target_room=${target%%/*}
    [ "$target_room" = "$target" ] && continue  # a header of the same folder
    [ -n "${room_floor[$target_room]+x}" ] || room_floor[$target_room]=$(floor_of "$target_room")
    if [ -z "${room_floor[$target_room]}" ]; then
      fail "$relative:$line includes $target, whose room is on no floor"
    elif [ "$target_room" = "$room" ] || [ "${room_floor[$target_room]}" -gt "${room_floor[$room]}" ]; then
      passed=$((passed + 1))
    elif [ "${room_floor[$target_room]}" -eq "${room_floor[$room]}" ]; then
      sideways["$room $target_room"]="$relative:$line"
      passed=$((passed + 1))
    else
      fail "$relative:$line includes $target: $room/ may not include $target_room/, a higher floor"
    fi
  done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" |
           sed 's/^\([0-9]*\):[^"]*"\([^"]*\)".*/\1:\2/')
  if [ "$room" != os ]; then
    if grep -nE '^[[:space:]]*#[[:space:]]*(if|ifdef|ifndef|elif).*(_WIN32|_WIN64|__linux__|__unix__|__APPLE__)' "$file" > /dev/null ||
       grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(windows|unistd|fcntl|spawn|signal|dirent)\.h>|<sys/' "$file" > /dev/null; then
      fail "$relative uses a system header or a platform conditional, which belong in os/"
    else
      passed=$((passed + 1))
    fi
  fi
done < <(find "$src" -name '*.h' -o -name '*.cpp' | sort)

# Sideways includes on one floor must not close a circle between rooms.
circles=$(for pair in "${!sideways[@]}"; do echo "$pair"; done |
  awk '{ edge[$1 " " $2] = 1; room[$1]; room[$2] }
       END {
         for (a in room) for (b in room) reach[a " " b] = (a " " b) in edge
         for (k in room) for (a in room) for (b in room)
           if (reach[a " " k] && reach[k " " b]) reach[a " " b] = 1
         for (a in room) if (reach[a " " a]) print a
       }')
for room in $circles; do
  fail "$room/ is in a circle of sideways includes:" \
    "$(for pair in "${!sideways[@]}"; do echo "${sideways[$pair]}"; done | sort | tr '\n' ' ')"
done

echo "floors: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
