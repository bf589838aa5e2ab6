#!/bin/sh
# Sets up, builds, runs and tests Snapdisc on Debian 12.
#   tools/dev.sh run    install what is missing, build, and with a display start the
#                       program under Wine with the sample project; without one,
#                       burn the sample project with snapburn and print the image
#   tools/dev.sh test   install what is missing, build, run every test
#   tools/dev.sh build  install what is missing and build
#   tools/dev.sh bench  install what is missing and run the benchmarks of bench/
# Builds: build/native (portable code and snapburn, built by clang with
# AddressSanitizer and UBSan, and the readers' libFuzzer targets), build/win
# (the Windows program and its tests), build/tsan (the engine's threaded
# tests with ThreadSanitizer); the program folder as users get it is
# build/dist, the command-line tool build/bin/snapburn (from build/release).
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="$ROOT/build"

PACKAGES="cmake ninja-build g++ googletest g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 xvfb xauth
    libjpeg-dev nasm patch nsis fp-utils"   # NSIS makes the installer, fp-utils' chmcmd the help file
PACKAGES="$PACKAGES clang libclang-rt-14-dev"   # the native build: clang's sanitizers and libFuzzer
PACKAGES="$PACKAGES python3-pil fonts-dejavu-core"   # the index sheets' glyphs, rasterised at build time
WINE_PACKAGES="wine wine64"   # with their recommends: fonts and the X11 driver
# Independent tools that check what the engine writes, and the reference
# pipeline the benchmarks measure against.
TEST_PACKAGES="ffmpeg mjpegtools vcdimager libcdio-utils xdotool imagemagick"
TEST_PACKAGES="$TEST_PACKAGES llvm"   # llvm-symbolizer: source lines in sanitizer and fuzzer reports
BENCH_PACKAGES="imagemagick libjpeg-turbo-progs bc vcdimager time"

as_root() {
    if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() {
    missing=""
    for p in $PACKAGES $WINE_PACKAGES $EXTRA_PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        $PACKAGES $EXTRA_PACKAGES
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $WINE_PACKAGES
}

build() {
    # The native build is clang's, for libFuzzer. CMake cannot change the
    # compiler of a build: one made with another is configured anew.
    if [ -f "$BUILD/native/CMakeCache.txt" ] &&
        ! grep -q '^CMAKE_CXX_COMPILER:[A-Z]*=.*clang++[-0-9]*$' "$BUILD/native/CMakeCache.txt"; then
        echo "build/native was made with another compiler: configuring it anew with clang"
        rm -rf "$BUILD/native"
    fi
    grep -qs '^ENABLE_FUZZING:BOOL=ON$' "$BUILD/native/CMakeCache.txt" ||
        CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD/native" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
            -DENABLE_SANITIZERS=ON -DENABLE_FUZZING=ON
    # The engine's threaded tests under ThreadSanitizer, by gcc.
    [ -f "$BUILD/tsan/build.ninja" ] ||
        CC=gcc CXX=g++ cmake -S "$ROOT" -B "$BUILD/tsan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DENABLE_TSAN=ON
    [ -f "$BUILD/win/build.ninja" ] ||
        cmake -S "$ROOT" -B "$BUILD/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw64-posix.cmake" -DDIST_DIR="$BUILD/dist"
    cmake --build "$BUILD/native"
    cmake --build "$BUILD/win"
    cmake --build "$BUILD/tsan" --target engine_thread_tests
    # The snapburn users run is a Release build; the sanitizer build above
    # is for the tests, which do not need this one.
    [ "${1:-}" = tests-only ] && return 0
    [ -f "$BUILD/release/build.ninja" ] ||
        CC=gcc CXX=g++ cmake -S "$ROOT" -B "$BUILD/release" -G Ninja -DCMAKE_BUILD_TYPE=Release
    cmake --build "$BUILD/release" --target snapburn
    mkdir -p "$BUILD/bin"
    cp "$BUILD/release/bin/snapburn" "$BUILD/bin/snapburn"
}

run_tests() {
    status=0
    echo "== portable code, native (AddressSanitizer, UBSan), and each fuzz target briefly"
    ctest --test-dir "$BUILD/native" --output-on-failure -j "$(nproc)" || status=1
    echo "== the engine's threads, native (ThreadSanitizer)"
    ctest --test-dir "$BUILD/tsan" -L tsan --output-on-failure || status=1
    echo "== Windows program and tests, under Wine"
    if [ -n "${DISPLAY:-}" ]; then
        ctest --test-dir "$BUILD/win" --output-on-failure || status=1
    else
        xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir "$BUILD/win" --output-on-failure || status=1
    fi
    return $status
}

# Wine sees the Linux file system as drive Z:.
windows_path() {
    echo "Z:$1" | tr / '\\'
}

EXTRA_PACKAGES=""
case "${1:-}" in
run)
    install_missing
    build
    # A prefix of its own, apart from the tests' one in build/win.
    export SNAPDISC_WINEPREFIX="$BUILD/wineprefix"
    sample="$BUILD/dist/Sample/Sample.snz"
    if [ -n "${DISPLAY:-}" ]; then
        echo "Starting Snapdisc under Wine with the sample project $sample"
        exec "$BUILD/win/wine-run.sh" "$BUILD/dist/snapdisc.exe" "$(windows_path "$sample")"
    fi
    echo "No display: burning the sample project $sample with snapburn instead."
    mkdir -p "$BUILD/images"
    before=$(ls -t "$BUILD"/images/*.cue 2>/dev/null | head -1)
    "$BUILD/win/wine-run.sh" "$BUILD/dist/snapburn.exe" burn "$(windows_path "$sample")" \
        --out "$(windows_path "$BUILD/images")"
    cue=$(ls -t "$BUILD"/images/*.cue 2>/dev/null | head -1)
    [ -n "$cue" ] && [ "$cue" != "$before" ] || { echo "snapburn wrote no image" >&2; exit 1; }
    echo "The sample's Video CD image: ${cue%.cue}.bin (cue sheet: $cue)"
    echo "Read it back with: vcd-info -B -c \"$cue\"  (Debian package vcdimager)"
    ;;
test)
    EXTRA_PACKAGES="$TEST_PACKAGES"
    install_missing
    build tests-only
    run_tests
    ;;
build)
    install_missing
    build
    ;;
bench)
    EXTRA_PACKAGES="$TEST_PACKAGES $BENCH_PACKAGES"
    install_missing
    build
    for b in "$ROOT"/bench/*.sh; do "$b"; done
    ;;
*)
    echo "usage: tools/dev.sh run|test|build|bench" >&2
    exit 2
    ;;
esac
