#!/bin/sh
# Prints the ranges of characters whose East Asian Width is W or F, as the
# installed ICU reports them, in the form of the table in core/TextColumns.cpp.
# Needs a C++ compiler and ICU's development files (libicu-dev).
set -e
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cat > "$dir/wide.cpp" <<'CPP'
#include <unicode/uchar.h>
#include <cstdio>
int main()
{
    UVersionInfo version;
    u_getUnicodeVersion(version);
    std::fprintf(stderr, "Unicode %d.%d.%d\n", version[0], version[1], version[2]);
    long start = -1;
    for (long c = 0; c <= 0x110000; ++c) {
        bool wide = false;
        if (c < 0x110000) {
            const int width = u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_EAST_ASIAN_WIDTH);
            wide = width == U_EA_WIDE || width == U_EA_FULLWIDTH;
        }
        if (wide && start < 0) start = c;
        if (!wide && start >= 0) {
            std::printf("{0x%05lX, 0x%05lX},\n", start, c - 1);
            start = -1;
        }
    }
}
CPP
c++ "$dir/wide.cpp" -o "$dir/wide" $(pkg-config --cflags --libs icu-uc)
"$dir/wide"
