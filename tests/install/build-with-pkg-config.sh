#!/usr/bin/env bash
# Builds lead_count against an installed morvelance through pkg-config alone
# (PKG_CONFIG_PATH names the installation's lib/pkgconfig folder).
# usage: build-with-pkg-config.sh OUTPUT
set -euo pipefail
here=$(dirname "$0")
# shellcheck disable=SC2046
"${CXX:-c++}" $(pkg-config --cflags morvelance) -o "$1" "$here"/lead_count.cpp \
    -Wl,-rpath,"$(pkg-config --variable=libdir morvelance)" $(pkg-config --libs morvelance)
