#!/usr/bin/env bash
# Builds the libFuzzer targets of the executable header reader and of the
# Info.plist reader with clang and runs each for a bounded time (default 60 s).
# Usage: scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build=build/fuzz
cmake -S . -B "$build" -G Ninja -DVORNIK_TREE=native -DVORNIK_FUZZ=ON \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" --target fuzz_macho_architectures fuzz_info_plist -j 2
mkdir -p "$build/corpus" "$build/plist-corpus"
# Two small Info.plists to start the property-list fuzzer from, XML and binary.
printf '<?xml version="1.0"?><plist version="1.0"><dict><key>CFBundleIdentifier</key><string>x</string><key>L</key><array><dict><key>k</key><true/></dict></array></dict></plist>' \
  > "$build/plist-corpus/seed-xml"
printf '\x62\x70\x6c\x69\x73\x74\x30\x30\xd2\x01\x02\x03\x04\x5f\x10\x12\x43\x46\x42\x75\x6e\x64\x6c\x65\x49\x64\x65\x6e\x74\x69\x66\x69\x65\x72\x51\x4c\x51\x78\xa1\x05\xd1\x06\x07\x51\x6b\x51\x76\x08\x0d\x22\x24\x26\x28\x2b\x2d\x00\x00\x00\x00\x00\x00\x01\x01\x00\x00\x00\x00\x00\x00\x00\x08\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x2f' \
  > "$build/plist-corpus/seed-binary"
"$build/launcher/platform/fuzz_macho_architectures" -max_total_time="$seconds" -max_len=4096 "$build/corpus"
"$build/launcher/platform/fuzz_info_plist" -max_total_time="$seconds" -max_len=4096 "$build/plist-corpus"
