#!/usr/bin/env bash
# Builds Torvel with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan and runs every test there (the unit tests, the end-to-end and
# bad-input runs of the real game) headless on a private X server. Any
# sanitizer report fails the test that caused it; leaks are reported except
# for the objects listed, each with its reason, in tests/robust/lsan.supp.
# Extra arguments go to ctest (for instance -R robust).
set -euo pipefail
cd "$(dirname "$0")"
here=$(pwd)
./setup.sh

# Reports end the process with a failure status; a UBSan finding too.
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:verify_asan_link_order=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$here/tests/robust/lsan.supp:print_suppressions=0"
# verify_asan_link_order=0: the end-to-end tests preload faketime ahead of
# the sanitizer runtime, which is harmless as faketime allocates nothing of ours.

flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
start=$SECONDS
# The resource baker runs during the build, under the sanitizers as well.
cmake --build build-asan -j"$(nproc)"
echo "sanitize: build took $((SECONDS - start)) s"

start=$SECONDS
# Libraries stay mapped to the end (see tests/robust/KeepLibraries.cpp).
keep="$here/build-asan/tests/robust/libtorvel_keep_libraries.so"
# Tests that speed the clock up preload libfaketime; it has to come after the
# sanitizer's runtime, or the two wrap thread waits in the wrong order and
# the game aborts in a futex call at exit.
asan_runtime=$(ldd build-asan/bin/torvel | awk '/libasan/ { print $3 }')
export FAKETIME_LIB="$asan_runtime:/usr/lib/$(gcc -print-multiarch)/faketime/libfaketimeMT.so.1:$keep"
status=0
scripts/headless.sh env LD_PRELOAD="$keep" \
  ctest --test-dir build-asan --output-on-failure -j2 --timeout 600 "$@" || status=$?
echo "sanitize: tests took $((SECONDS - start)) s"
exit $status
