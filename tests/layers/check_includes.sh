#!/usr/bin/env bash
# The game's folders are layered, and includes run one way only: platform, then the shared base,
# then gfx and audio, then sim, then events and ceremonies, then app, then the runner. A file may
# include its own folder and any folder of a lower layer; folders on the same layer (gfx and audio,
# events and ceremonies) do not include each other. Prints every include that breaks the rule.
set -euo pipefail
root="${1:-$(dirname "$0")/../..}"
cd "$root"

rank() {
    case "$1" in
        platform) echo 0 ;;
        base) echo 1 ;;
        gfx | audio) echo 2 ;;
        sim) echo 3 ;;
        events | ceremonies) echo 4 ;;
        app) echo 5 ;;
        runner) echo 6 ;;
        *) echo -1 ;;
    esac
}

bad=0
checked=0
while IFS= read -r file; do
    own="${file%%/*}"
    ownRank=$(rank "$own")
    while IFS= read -r line; do
        target=$(sed -E 's/^[^"]*"([^"/]+)\/.*$/\1/' <<<"$line")
        [ "$target" = "$line" ] && continue
        targetRank=$(rank "$target")
        [ "$targetRank" -lt 0 ] && continue
        checked=$((checked + 1))
        if [ "$target" != "$own" ] && [ "$targetRank" -ge "$ownRank" ]; then
            echo "upward include: $file: $line"
            bad=$((bad + 1))
        fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
done < <(find platform base gfx audio sim events ceremonies app runner -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

echo "$checked includes checked, $bad upward"
[ "$bad" -eq 0 ]
