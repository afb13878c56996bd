#!/usr/bin/env bash
# Compiles the linker test fixtures into seed objects for the fuzzer.
# Usage: tools/torvel-ld/fuzz/make_corpus.sh CORPUS_DIR
set -euo pipefail
out=${1:?usage: make_corpus.sh CORPUS_DIR}
fixtures="$(cd "$(dirname "$0")/../../../tests/tools/fixtures" && pwd)"
mkdir -p "$out"
for src in "$fixtures"/*.c "$fixtures"/*.cpp; do
  name=$(basename "$src")
  for version in 10.6 10.7; do
    case "$src" in
      *.cpp) clang++ -target "i386-apple-macosx$version" -O1 -fexceptions -nostdinc++ -c "$src" -o "$out/$name-$version.o" ;;
      *) clang -target "i386-apple-macosx$version" -O2 -c "$src" -o "$out/$name-$version.o" ;;
    esac
  done
done
# Pairs of objects, joined by the fuzzer's separator, to start cross-object links.
marker='%%TORVEL-OBJECT%%'
{ cat "$out/cxx_classes.cpp-10.7.o"; printf '%s' "$marker"; cat "$out/cxx_second.cpp-10.7.o"; } >"$out/pair-cxx.o"
{ cat "$out/c_imports.c-10.6.o"; printf '%s' "$marker"; cat "$out/many_exports.c-10.6.o"; } >"$out/pair-c.o"
echo "seed objects in $out"
