#!/bin/sh
# CPack's archive writer reads file names as UTF-8 and cannot pack a file whose name is not (the
# title card's name holds the byte 0xE6). Such files are set aside before CPack packs the staged
# tree, and put into the finished package afterwards with dpkg-deb, which takes names as bytes.
#
#   deb_byte_names.sh set-aside STAGED_TREE ASIDE
#   deb_byte_names.sh put-back PACKAGE.deb ASIDE
set -eu

case $1 in
set-aside)
    staged=$2
    aside=$3
    rm -rf "$aside"
    mkdir -p "$aside"
    cd "$staged"
    # In a UTF-8 locale `.` matches no byte that is not UTF-8, so -v -x keeps the other names.
    find . \( -type f -o -type l \) -print | LC_ALL=C.UTF-8 grep -axv '.*' | while IFS= read -r path; do
        mkdir -p "$aside/$(dirname "$path")"
        mv "$path" "$aside/$path"
    done
    ;;
put-back)
    deb=$2
    aside=$3
    [ -n "$(find "$aside" ! -type d 2>/dev/null | head -n 1)" ] || exit 0
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    dpkg-deb -R "$deb" "$work/root"
    cp -a "$aside/." "$work/root/"
    cd "$work/root"
    find . -path ./DEBIAN -prune -o -type f -print0 | sort -z | xargs -0 md5sum | sed 's,  \./,  ,' >DEBIAN/md5sums
    # Counted as dpkg counts it: KiB per file, rounded up, and one per directory or link.
    size=$(find . -path ./DEBIAN -prune -o -printf '%y %s\n' |
        awk '$1 == "f" { total += int(($2 + 1023) / 1024); next } { total += 1 } END { print total }')
    sed -i "s/^Installed-Size: .*/Installed-Size: $size/" DEBIAN/control
    dpkg-deb --root-owner-group -Zgzip --build "$work/root" "$deb" >/dev/null
    ;;
*)
    echo "usage: $0 set-aside STAGED_TREE ASIDE | put-back PACKAGE.deb ASIDE" >&2
    exit 2
    ;;
esac
