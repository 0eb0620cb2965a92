#!/usr/bin/env bash
# The pictures the quality benchmark converts: real photos and artworks that
# Debian packages ship, never kept in the repository. Installs the packages
# that are missing, links each picture into DIR under a short name and prints
# one line per picture: the link, the file and the package it comes from.
#   bench/quality/pictures.sh [DIR]     (DIR: build/quality-pictures)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
DIR=${1:-$ROOT/build/quality-pictures}

SKIMAGE=/usr/lib/python3/dist-packages/skimage/data
DESKTOP=/usr/share/desktop-base
# name, file, package: portraits, animals, still life, machines, a night sky,
# a grey photo, a microscope stain and two smooth wallpapers, so that faces,
# fur, flat areas, dark scenes and gradients are all in the mean.
PICTURES=(
  "astronaut.png         $SKIMAGE/astronaut.png                      python3-skimage"
  "camera.png            $SKIMAGE/camera.png                         python3-skimage"
  "chelsea.png           $SKIMAGE/chelsea.png                        python3-skimage"
  "coffee.png            $SKIMAGE/coffee.png                         python3-skimage"
  "hubble_deep_field.jpg $SKIMAGE/hubble_deep_field.jpg              python3-skimage"
  "ihc.png               $SKIMAGE/ihc.png                            python3-skimage"
  "motorcycle.png        $SKIMAGE/motorcycle_left.png                python3-skimage"
  "rocket.jpg            $SKIMAGE/rocket.jpg                         python3-skimage"
  "emerald.png           $DESKTOP/emerald-theme/grub/grub-16x9.png   desktop-base"
  "softwaves.png         $DESKTOP/softwaves-theme/grub/grub-16x9.png desktop-base"
)

missing=()
for line in "${PICTURES[@]}"; do
  read -r _ _ package <<<"$line"
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    [[ " ${missing[*]} " == *" $package "* ]] || missing+=("$package")
done
if ((${#missing[@]})); then
  SUDO=; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

mkdir -p "$DIR"
for line in "${PICTURES[@]}"; do
  read -r name file package <<<"$line"
  [ -f "$file" ] || { echo "pictures.sh: $file is missing from $package" >&2; exit 1; }
  ln -sfn "$file" "$DIR/$name"
  printf '%s <- %s (%s)\n' "$DIR/$name" "$file" "$package"
done
