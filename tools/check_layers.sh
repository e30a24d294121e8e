#!/bin/bash
# Fails when a source file of src/ includes a header of a layer above its own. The layers, from
# the bottom: each may include its own headers and those of the layers before it.
set -euo pipefail
layers=(host core resource kernel text window present game app)
root="${1:-$(dirname "$0")/..}"
rank() {
    local i
    for i in "${!layers[@]}"; do
        [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }
    done
    echo -1
}
status=0
for layer in "${layers[@]}"; do
    own=$(rank "$layer")
    [ -d "$root/src/$layer" ] || continue
    while IFS=: read -r file line text; do
        target=$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<<"$text")
        to=$(rank "$target")
        if [ "$to" -gt "$own" ]; then
            echo "$file:$line: $layer includes the higher layer $target: $text"
            status=1
        fi
    done < <(grep -nHE '^#include "[a-z_]+/' "$root/src/$layer"/*.{h,cpp} 2>/dev/null || true)
done
# Folders of src/ that are not layers would escape the check.
for dir in "$root"/src/*/; do
    name=$(basename "$dir")
    [ "$(rank "$name")" -ge 0 ] || { echo "src/$name is not a known layer"; status=1; }
done
[ $status -eq 0 ] && echo "layers: every include points downward"
exit $status
