#!/bin/sh
# Keeps calculator programs as text in a git repository and builds the variable
# files from that text with korvane-tool.
#
#   programs-in-git.sh extract FILES_DIR TEXT_DIR   each program or function of the variable
#                                                   files in FILES_DIR as TEXT_DIR/folder.name.txt
#   programs-in-git.sh pack TEXT_DIR OUT_DIR        each TEXT_DIR/*.txt packed, tokenized, into
#                                                   OUT_DIR (.89p for a program, .89f for a function)
#   programs-in-git.sh verify TEXT_DIR OUT_DIR      each packed file shows its text again
#
# A text file is what `korvane-tool text` prints, its name line prefixed with the
# calculator folder, for example:
#
#   main\area(w,h)
#   Func
#   Return w*h
#   EndFunc
#
# Commit TEXT_DIR; build OUT_DIR when you send the programs (korvane-tool send FILE).
# KORVANE_TOOL names the tool when it is not on the PATH.
set -eu

tool=${KORVANE_TOOL:-korvane-tool}

die() {
    echo "programs-in-git.sh: $*" >&2
    exit 1
}

# The second line of a text says Prgm or Func.
extension_of() {
    if sed -n '2p' "$1" | grep -qi '^ *func'; then echo 89f; else echo 89p; fi
}

extract() {
    files=$1 text=$2
    mkdir -p "$text"
    for file in "$files"/*; do
        case $file in
            *.89[pPfFgG] | *.92[pPfFgG] | *.9[xX][pPfFgG] | *.[vV]2[pPfFgG]) ;;
            *) continue ;;
        esac
        # `list` names every program and function of the file, group files included.
        "$tool" list "$file" | while read -r qualified kind form size unit; do
            case $qualified in
                *\\*) folder=${qualified%%\\*} name=${qualified#*\\} ;;
                *) folder=main name=$qualified ;;
            esac
            out="$text/$folder.$name.txt"
            "$tool" text "$file" --var "$qualified" |
                awk -v folder="$folder" 'NR == 1 { printf "%s\\", folder } { print }' >"$out"
            echo "$out"
        done
    done
}

pack() {
    text=$1 out=$2
    mkdir -p "$out"
    for source in "$text"/*.txt; do
        [ -e "$source" ] || continue
        base=$(basename "$source" .txt)
        target="$out/${base#*.}.$(extension_of "$source")"
        "$tool" pack --tokenize "$source" "$target" || die "$source was not packed"
        echo "$target"
    done
}

verify() {
    text=$1 out=$2
    status=0
    for source in "$text"/*.txt; do
        [ -e "$source" ] || continue
        base=$(basename "$source" .txt)
        target="$out/${base#*.}.$(extension_of "$source")"
        # `text` prints the name line without the folder, which `info` gives.
        folder=$("$tool" info "$target" | sed -n 's/^folder: //p')
        if "$tool" text "$target" | awk -v folder="$folder" 'NR == 1 { printf "%s\\", folder } { print }' |
            cmp -s - "$source"; then
            echo "$target: same as $source"
        else
            echo "$target: differs from $source" >&2
            status=1
        fi
    done
    return $status
}

[ $# -eq 3 ] || die "usage: programs-in-git.sh extract|pack|verify DIR DIR"
case $1 in
    extract) extract "$2" "$3" ;;
    pack) pack "$2" "$3" ;;
    verify) verify "$2" "$3" ;;
    *) die "unknown command $1 (extract, pack or verify)" ;;
esac
