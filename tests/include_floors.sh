#!/usr/bin/env bash
# The floors of the source tree, bottom up: common/ includes nothing of the
# project's but itself; the subsystems include common/ and one another, never
# shell/, which holds the window on top. Prints every include that runs up.
#   include_floors.sh SOURCE_DIR
cd "$1"
up=$( (grep -rnE '#include "(shell|payload|keyboard|uninstall|animation)/' common
       grep -rn '#include "shell/' payload keyboard uninstall animation resources tools) 2>/dev/null)
if [ -n "$up" ]; then
    echo "includes that run up a floor:"
    echo "$up"
    exit 1
fi
echo "every include runs down or along a floor"
