#!/usr/bin/env bash
# Installs Korvane into a temporary prefix and checks the installed layout as a
# desktop sees it: the desktop entry validates, every file type Korvane opens
# registers and is recognised by extension and by signature, and the installed
# tools run. KORVANE_BUILD_DIR names the build to install (default build).
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
build="${KORVANE_BUILD_DIR:-build}"
[ -f "$build/build.ninja" ] || scripts/setup.sh

prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
fail=0
check() { if "$@"; then echo "ok: $label"; else echo "FAILED: $label"; fail=1; fi; }

for f in bin/korvane bin/korvane-tool share/korvane/catalogue.dat share/applications/korvane.desktop \
         share/mime/packages/korvane.xml share/icons/hicolor/scalable/apps/korvane.svg \
         share/org.kde.syntax-highlighting/syntax/korvane-tibasic.xml; do
    label="installed $f"; check test -s "$prefix/$f"
done

# Every type Korvane opens: by extension, the type it names; by signature alone,
# the calculator family's type. Each extension's file is made with its own
# signature from a real program, function or group.
declare -A typeOf=(
    [89p]=x-ti89-program [89f]=x-ti89-function [89g]=x-ti89-group
    [9xp]=x-ti92plus-program [9xf]=x-ti92plus-function [9xg]=x-ti92plus-group
    [v2p]=x-ti92plus-program [v2f]=x-ti92plus-function [v2g]=x-ti92plus-group
    [92p]=x-ti92-program [92f]=x-ti92-function [92g]=x-ti92-group)
declare -A signatureOf=([89]='**TI89**' [9x]='**TI92P*' [v2]='**TI92P*' [92]='**TI92**')

desktop="$prefix/share/applications/korvane.desktop"
label="desktop entry valid"; check desktop-file-validate "$desktop"
claimed="$(sed -n 's/^MimeType=//p' "$desktop")"
for type in "${typeOf[@]}" x-ti89-variable x-ti92plus-variable x-ti92-variable; do
    label="the desktop entry claims application/$type"
    check grep -q "\(^\|;\)application/$type;" <<<"$claimed"
done
label="the desktop entry claims text/x-ti68k-basic"
check grep -q "\(^\|;\)text/x-ti68k-basic;" <<<"$claimed"
label="file types registered"
check update-mime-database "$prefix/share/mime"
label="the desktop entry registered for its types"
check update-desktop-database "$prefix/share/applications"
label="twelve types in the database, each known to the desktop entry"
check test "$(ls "$prefix"/share/mime/application/x-ti*.xml 2>/dev/null | wc -l)" -eq 12

export XDG_DATA_HOME="$prefix/share" XDG_DATA_DIRS="$prefix/share:/usr/share"
samples="../shared/ti68k-samples"
if [ -d "$samples" ]; then
    made="$prefix/files"; mkdir -p "$made"
    declare -A sourceOf=([p]=dapperfu__me452.gears.89p [f]=dapperfu__me572.dh.89f [g]=tilibs__ti89_group.89g)
    for ext in "${!typeOf[@]}"; do
        file="$made/sample.$ext"
        { printf '%s' "${signatureOf[${ext:0:2}]}"; tail -c +9 "$samples/${sourceOf[${ext:2:1}]}"; } >"$file"
        label="xdg-mime finds application/${typeOf[$ext]} for a .$ext file"
        check test "$(xdg-mime query filetype "$file")" = "application/${typeOf[$ext]}"
        # The same file in capitals, as older link software names them.
        cp "$file" "$made/SAMPLE.${ext^^}"
        label="xdg-mime finds application/${typeOf[$ext]} for a .${ext^^} file"
        check test "$(xdg-mime query filetype "$made/SAMPLE.${ext^^}")" = "application/${typeOf[$ext]}"
    done
    for pair in dapperfu__me452.gears.89p:x-ti89-program dapperfu__me572.dh.89f:x-ti89-function \
                tilibs__ti89_group.89g:x-ti89-group tilibs__ti92_group2.92g:x-ti92-group \
                sseng__sgs.sgscas.89p:x-ti89-program; do
        file="$samples/${pair%%:*}"; want="application/${pair#*:}"
        label="xdg-mime finds $want for the real file ${pair%%:*}"
        check test "$(xdg-mime query filetype "$file")" = "$want"
    done
    # Without the extension, the signature alone names the calculator.
    for pair in '**TI89**':x-ti89-variable '**TI92P*':x-ti92plus-variable '**V200**':x-ti92plus-variable \
                '**TI92**':x-ti92-variable; do
        tmp="$made/unnamed"
        { printf '%s' "${pair%%:*}"; tail -c +9 "$samples/dapperfu__me452.gears.89p"; } >"$tmp"
        label="the signature \"${pair%%:*}\" alone gives application/${pair#*:}"
        check test "$(xdg-mime query filetype "$tmp")" = "application/${pair#*:}"
    done
    # A double click opens every one of them with Korvane.
    for type in "${typeOf[@]}" x-ti89-variable; do
        label="xdg-mime names korvane.desktop for application/$type"
        check test "$(xdg-mime query default "application/$type")" = korvane.desktop
    done
    # The program text file, by its extension, and a text file of another name as plain text.
    "$prefix/bin/korvane-tool" text "$samples/dapperfu__me452.gears.89p" >"$made/gears.68kb"
    label="xdg-mime finds text/x-ti68k-basic for a .68kb file"
    check test "$(xdg-mime query filetype "$made/gears.68kb")" = text/x-ti68k-basic
    cp "$made/gears.68kb" "$made/GEARS.68KB"
    label="xdg-mime finds text/x-ti68k-basic for a .68KB file"
    check test "$(xdg-mime query filetype "$made/GEARS.68KB")" = text/x-ti68k-basic
    label="xdg-mime names korvane.desktop for text/x-ti68k-basic"
    check test "$(xdg-mime query default text/x-ti68k-basic)" = korvane.desktop
    label="installed korvane-tool info reads a sample"
    check bash -c "'$prefix/bin/korvane-tool' info '$samples/dapperfu__me452.gears.89p' | grep -q gears"
else
    echo "skipped: the sample checks need ../shared/ti68k-samples beside the checkout"
fi
# The installed editor answers without a display and finds its data.
label="installed korvane --version"; check bash -c "'$prefix/bin/korvane' --version | grep -q 'Korvane 1.1.90'"
exit $fail
