#!/usr/bin/env bash
# Builds the fuzz targets of the profile file reader and the macro area
# decoder. Usage (from anywhere):
#   fuzz/build.sh fuzz  OUT   libFuzzer targets (clang, address and undefined sanitizers)
#   fuzz/build.sh replay OUT  the same targets with a plain main() that replays files (g++ or clang)
#   fuzz/build.sh seeds OUT   the seed generator
set -euo pipefail
mode=${1:?fuzz, replay or seeds}
out=${2:?output folder}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
mkdir -p "$out"
src=$root/src/core

profile_sources=(
    "$src"/profiles/ProfileHeader.cpp "$src"/profiles/ImageDescriptor.cpp "$src"/profiles/ProfileImage.cpp
    "$src"/profiles/TextTable.cpp "$src"/profiles/TextArea.cpp "$src"/profiles/ProfileStore.cpp
    "$src"/profiles/ImageFile.cpp "$src"/app/AtomicFile.cpp
)
macro_sources=(
    "$src"/macros/MacroEvent.cpp "$src"/macros/Macro.cpp "$src"/macros/MacroText.cpp "$src"/macros/MacroList.cpp
    "$src"/macros/MacroNameCounter.cpp "$src"/macros/MacroPayload.cpp
    "$src"/profiles/ProfileHeader.cpp "$src"/profiles/ImageDescriptor.cpp "$src"/profiles/ProfileImage.cpp
    "$src"/profiles/TextTable.cpp "$src"/profiles/TextArea.cpp "$src"/profiles/ProfileStore.cpp
    "$src"/profiles/ApplySnapshot.cpp
    "$src"/keys/ActionCode.cpp "$src"/keyboard/KeyCodeTable.cpp "$src"/keyboard/KeyConversions.cpp
    "$src"/app/FormatText.cpp
)
common=(-std=c++20 -g -O1 -I"$root/src")

case $mode in
fuzz)
    cxx=${CXX:-clang++}
    flags=(-fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
    "$cxx" "${common[@]}" "${flags[@]}" "$root/fuzz/profile_file_fuzzer.cpp" "${profile_sources[@]}" \
        -o "$out/profile_file_fuzzer"
    "$cxx" "${common[@]}" "${flags[@]}" "$root/fuzz/macro_area_fuzzer.cpp" "${macro_sources[@]}" -lfmt \
        -o "$out/macro_area_fuzzer"
    ;;
replay)
    cxx=${CXX:-c++}
    flags=(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    "$cxx" "${common[@]}" "${flags[@]}" "$root/fuzz/replay_main.cpp" "$root/fuzz/profile_file_fuzzer.cpp" \
        "${profile_sources[@]}" -o "$out/profile_file_replay"
    "$cxx" "${common[@]}" "${flags[@]}" "$root/fuzz/replay_main.cpp" "$root/fuzz/macro_area_fuzzer.cpp" \
        "${macro_sources[@]}" -lfmt -o "$out/macro_area_replay"
    ;;
seeds)
    cxx=${CXX:-c++}
    "$cxx" "${common[@]}" "$root/fuzz/make_seeds.cpp" "${macro_sources[@]}" "$src"/profiles/ImageFile.cpp \
        "$src"/app/AtomicFile.cpp -lfmt -o "$out/make_seeds"
    ;;
*)
    echo "unknown mode $mode" >&2
    exit 2
    ;;
esac
