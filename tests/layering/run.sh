#!/usr/bin/env bash
# The platform layer depends on nothing above it: sources under src/common
# and src/platform include only src/common and src/platform (the core, the
# packaging programs and the front ends sit above). Usage: run.sh SOURCE_DIR
set -uo pipefail
src=${1:?source dir}/src
bad=$(grep -rnE '#include "[a-z_0-9]+/' "$src/common" "$src/platform" | grep -vE '#include "(common|platform)/')
[ -z "$bad" ] || { echo "includes from above the platform layer:"; echo "$bad"; exit 1; }
echo "layering: ok"
