#!/usr/bin/env bash
# Installs Korvane into a temporary prefix and checks the installed layout as a
# desktop sees it: the desktop entry validates, the file types register, a real
# calculator file is recognised by its type, and the installed tools run.
set -euo pipefail
cd "$(dirname "$0")/.."

need=()
for tool in desktop-file-validate:desktop-file-utils update-mime-database:shared-mime-info \
            xdg-mime:xdg-utils mimetype:libfile-mimeinfo-perl; do
    command -v "${tool%%:*}" >/dev/null || need+=("${tool##*:}")
done
if ((${#need[@]})); then
    sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${need[@]}"
fi
[ -f build/build.ninja ] || scripts/setup.sh

prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install build --prefix "$prefix" >/dev/null
fail=0
check() { if "$@"; then echo "ok: $label"; else echo "FAILED: $label"; fail=1; fi; }

for f in bin/korvane bin/korvane-tool share/korvane/catalogue.dat share/applications/korvane.desktop \
         share/mime/packages/korvane.xml share/icons/hicolor/scalable/apps/korvane.svg; do
    label="installed $f"; check test -s "$prefix/$f"
done

label="desktop entry valid"; check desktop-file-validate "$prefix/share/applications/korvane.desktop"
label="the desktop entry claims the program types only"
check grep -qx 'MimeType=application/x-ti89-program;application/x-ti92plus-program;' \
    "$prefix/share/applications/korvane.desktop"
label="file types registered"
check update-mime-database "$prefix/share/mime"
label="four types in the database"
check test "$(ls "$prefix"/share/mime/application/x-ti*.xml 2>/dev/null | wc -l)" -eq 4

export XDG_DATA_HOME="$prefix/share" XDG_DATA_DIRS="$prefix/share:/usr/share"
samples="../shared/ti68k-samples"
if [ -d "$samples" ]; then
    for pair in dapperfu__me452.gears.89p:application/x-ti89-program dapperfu__me572.dh.89f:application/x-ti89-function; do
        file="$samples/${pair%%:*}"; want="${pair#*:}"
        label="xdg-mime finds $want for ${pair%%:*}"
        check test "$(xdg-mime query filetype "$file")" = "$want"
    done
    # Without the extension, the signature alone names the calculator.
    tmp="$prefix/unnamed"; cp "$samples/dapperfu__me452.gears.89p" "$tmp"
    label="the signature \"**TI89**\" alone gives a TI-89 type"
    check bash -c "xdg-mime query filetype '$tmp' | grep -q '^application/x-ti89-'"
    label="installed korvane-tool info reads a sample"
    check bash -c "'$prefix/bin/korvane-tool' info '$samples/dapperfu__me452.gears.89p' | grep -q gears"
else
    echo "skipped: the sample checks need ../shared/ti68k-samples beside the checkout"
fi
# The installed editor answers without a display and finds its data.
label="installed korvane --version"; check bash -c "'$prefix/bin/korvane' --version | grep -q 'Korvane 1.1.90'"
exit $fail
