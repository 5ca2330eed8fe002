#!/usr/bin/env bash
# The floors of the source tree, bottom up. A folder includes its own files
# and those of the floors below it, never a floor above it, and never a
# folder beside it on its own floor unless the pair is listed below with its
# reason. Prints every include that breaks this and fails.
#   include_floors.sh SOURCE_DIR
cd "$1" || exit 2

# One line a floor, bottom up.
floors=(
    "common"               # the shared record, bounded text, the heap, the log
    "restart"              # files replaced or removed at the next restart
    "product"              # who the product is, and its entry among the installed programs
    "keyboard animation"   # the layout registry, which install and uninstall both use; the GIF player
    "payload uninstall"    # the install worker; the uninstall
    "shell"                # the window and the program's entry
    "resources"            # what the image carries beside its code, bound to the window's ids
)

# Includes allowed against the floors: "FROM_FILE INCLUDED_FILE # reason".
allowed=(
    "animation/animation.cpp resources/animation_data.h"  # the stored animation's bytes: data, no code
)

declare -A floor_of
for i in "${!floors[@]}"; do
    for folder in ${floors[$i]}; do floor_of[$folder]=$i; done
done

is_allowed() {
    local pair
    for pair in "${allowed[@]}"; do [ "$pair" = "$1 $2" ] && return 0; done
    return 1
}

bad=0
while IFS=: read -r file line text; do
    from=${file%%/*}
    included=$(sed -n 's/^#include "\([^"]*\)".*/\1/p' <<<"$text")
    to=${included%%/*}
    [ -n "${floor_of[$to]:-}" ] || continue  # a system header or a generated file of its own folder
    [ "$from" = "$to" ] && continue
    [ "${floor_of[$to]}" -lt "${floor_of[$from]}" ] && continue
    is_allowed "$file" "$included" && continue
    [ "${floor_of[$to]}" -gt "${floor_of[$from]}" ] && how="runs up a floor" || how="runs sideways"
    echo "$file:$line: $included $how"
    bad=1
done < <(grep -rnE --include='*.cpp' --include='*.h' --include='*.rc' '^#include "' "${!floor_of[@]}")

if [ "$bad" = 1 ]; then
    echo "includes against the floors: see above"
    exit 1
fi
echo "every include runs down a floor or within its folder"
