#!/usr/bin/env bash
# Fetches the Montserrat Light and Regular faces from the npm registry into
# .deps/fonts (not kept in git), checking pinned checksums.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
target="$root/.deps/fonts"

package_url="https://registry.npmjs.org/@expo-google-fonts/montserrat/-/montserrat-0.4.2.tgz"
package_sha256="27dfd624c74ba3240597a643d580ea8fe043eda17aceeee50364e08d542cd78e"
declare -A fonts=(
    [Montserrat_300Light.ttf]="300Light:963d772c9c44b3c401b257d693ad26006fc7bd54215957d51356b40e36353f84"
    [Montserrat_400Regular.ttf]="400Regular:ef9cf99f0175bef530b88934bd904fcf56f773cec6fd4dfb8ccaf7ce2bbd395e"
)

all_present() {
    for name in "${!fonts[@]}"; do
        local sum="${fonts[$name]#*:}"
        [ -f "$target/$name" ] && echo "$sum  $target/$name" | sha256sum --quiet -c - 2>/dev/null || return 1
    done
}

all_present && exit 0

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

echo "Fetching the Montserrat fonts from the npm registry"
curl -sSfL --retry 3 -o "$work/package.tgz" "$package_url"
echo "$package_sha256  $work/package.tgz" | sha256sum --quiet -c - \
    || { echo "The Montserrat package does not match its pinned checksum" >&2; exit 1; }

mkdir -p "$target"
for name in "${!fonts[@]}"; do
    folder="${fonts[$name]%%:*}"
    sum="${fonts[$name]#*:}"
    tar -xzf "$work/package.tgz" -C "$work" "package/$folder/$name"
    echo "$sum  $work/package/$folder/$name" | sha256sum --quiet -c - \
        || { echo "$name does not match its pinned checksum" >&2; exit 1; }
    cp "$work/package/$folder/$name" "$target/$name"
done
