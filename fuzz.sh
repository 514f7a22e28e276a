#!/usr/bin/env bash
# Fuzzes every reader of bytes from outside the game with libFuzzer, under
# AddressSanitizer and UndefinedBehaviorSanitizer: the best rounds' and best
# raids' files, the settings, the
# meshes (OBJ and their materials), the JPEG sky, the PNG pictures and font,
# and the sounds. Each target runs SECONDS (default 60), one after the other,
# starting from the baked resources (small copies of the pictures), the ways
# the bad-input tests damage them (cut to half, random bytes), and the corpus
# kept in fuzz/corpus, which it then replaces with a small minimised one.
# A finding is kept in fuzz/findings and fails the script.
#
#   ./fuzz.sh [SECONDS] [TARGET...]   targets: scores raids settings obj_mesh jpeg png wav
#
# Not part of the test command: it takes minutes and both cores. On a shared
# machine run it with nice.
set -euo pipefail
cd "$(dirname "$0")"
here=$(pwd)
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(scores raids settings obj_mesh jpeg png wav)

# The fuzzer comes with Debian's clang; installed here, not for the tests.
./setup.sh
if ! command -v clang++ >/dev/null 2>&1; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq clang
fi

# The baked resources are the starting inputs.
if [ ! -d build/res ] || [ -z "$(ls -A build/res 2>/dev/null)" ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build --target resources -j"$(nproc)"
fi
res=$here/build/res

cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=None >/dev/null
cmake --build build-fuzz -j"$(nproc)"

work=$(mktemp -d)
# The targets write each input to a file: in memory where there is room,
# where a flush costs nothing. Removed with everything the targets left.
scratch=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work" "$scratch"' EXIT
export TMPDIR=$scratch

# damaged FILE DIR: the file cut to half its size and replaced by random bytes.
damaged() {
  local size name
  size=$(stat -c %s "$1")
  name=$(basename "$1")
  head -c $((size / 2)) "$1" >"$2/$name.half"
  perl -e 'srand(1208); binmode STDOUT; print pack("C*", map { int(rand(256)) } 1 .. $ARGV[0]);' \
    "$((size < 65536 ? size : 65536))" >"$2/$name.random"
}

# small_picture FILE DIR SIZE: the picture scaled down, in its own format.
small_picture() {
  local name
  name=$(basename "$1")
  convert "$1" -resize "$3x$3!" "$2/small$3.$name"
}

start_inputs() {
  local dir=$work/start/$1
  mkdir -p "$dir"
  case $1 in
    scores)
      printf 'torvel-scores 1\nend\n' >"$dir/empty"
      printf 'torvel-scores 1\n7412 3 1718000000\n2500 1 1718000100\n0 0 0\nend\n' >"$dir/three"
      printf 'torvel-scores 1\n9000 4 1718000000\n5000 2 17' >"$dir/cut"
      printf 'torvel-scores 2\nend\n' >"$dir/later"
      printf 'torvel-scores 1\r\nend\r\n' >"$dir/crlf"
      ;;
    raids)
      printf 'torvel-raids 1\nend\n' >"$dir/empty"
      printf 'torvel-raids 1\n31000 3 42 1718000000\n9000 1 7 1718000100\nend\n' >"$dir/two"
      printf 'torvel-raids 1\n31000 3 42 17' >"$dir/cut"
      ;;
    settings)
      printf 'torvel-settings 1\n' >"$dir/defaults"
      printf 'torvel-settings 1\nmouse_sensitivity = 0.10\ninvert_vertical = yes\neffects_volume = 40\nfullscreen = no\nradar = no\njoystick_fire = 1\njoystick_reload = 3\njoystick_invert_x = yes\nkey_fire = F\nkey_reload = Q\n' >"$dir/changed"
      printf 'torvel-settings 1\nkey_fire = R\nkey_reload = R\nmouse_sensitivity = 9\nvsync = on\n' >"$dir/clash"
      printf 'torvel-settings 1\nmouse_sensi' >"$dir/cut"
      ;;
    obj_mesh)
      local mesh
      for mesh in guns SU35S; do
        # The material under the name the target gives it, behind a NUL.
        { sed "s/^mtllib .*/mtllib mesh.mtl/" "$res/$mesh.obj"; printf '\0'; cat "$res/$mesh.mtl"; } >"$dir/$mesh"
        { head -c $(($(stat -c %s "$res/$mesh.obj") / 2)) "$res/$mesh.obj"; printf '\0'; cat "$res/$mesh.mtl"; } >"$dir/$mesh.half"
        { sed "s/^mtllib .*/mtllib mesh.mtl/" "$res/$mesh.obj"; printf '\0'; head -c 64 /dev/urandom; } >"$dir/$mesh.badmtl"
      done
      ;;
    jpeg)
      local f
      for f in "$res"/*.jpg; do
        small_picture "$f" "$dir" 8
        small_picture "$f" "$dir" 64
        damaged "$dir/small64.$(basename "$f")" "$dir"
      done
      ;;
    png)
      local f
      for f in "$res"/*.png; do
        small_picture "$f" "$dir" 4
        small_picture "$f" "$dir" 32
        damaged "$dir/small32.$(basename "$f")" "$dir"
        [ "$(stat -c %s "$f")" -gt 65536 ] || cp "$f" "$dir/"
      done
      ;;
    wav)
      local f
      for f in "$res"/*.wav; do
        sox "$f" "$dir/short.$(basename "$f")" trim 0 0.01
        sox "$f" -c 2 -b 8 "$dir/stereo8.$(basename "$f")" trim 0 0.01
        sox "$f" -e floating-point "$dir/float.$(basename "$f")" trim 0 0.01
        damaged "$dir/short.$(basename "$f")" "$dir"
      done
      ;;
  esac
}

status=0
mkdir -p fuzz/findings
for target in "${targets[@]}"; do
  binary=build-fuzz/fuzz_$target
  [ -x "$binary" ] || { echo "fuzz: no target $target" >&2; exit 2; }
  kept=fuzz/corpus/$target
  mkdir -p "$kept" "$work/found/$target"
  start_inputs "$target"
  echo "fuzz: $target for $seconds s"
  # A minute without an answer is a hang; less can be a busy shared machine.
  if ! "$binary" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=2560 -max_len=65536 \
      -print_final_stats=1 -artifact_prefix="fuzz/findings/$target-" \
      "$work/found/$target" "$kept" "$work/start/$target" 2>"$work/$target.log"; then
    status=1
    cp "$work/$target.log" "fuzz/findings/$target.log"
    echo "fuzz: $target FOUND something; the input and the log are in fuzz/findings:" >&2
    grep -a -v -E "^(INFO|#[0-9]+)" "$work/$target.log" | tail -n 30 >&2
  fi
  grep -a -E "^#[0-9]+.*DONE|^Done [0-9]+ runs|stat::number_of_executed_units|stat::peak_rss_mb" "$work/$target.log" |
    sed "s/^/fuzz: $target: /"
  # Keep the smallest set of small inputs that covers what the run reached.
  rm -rf "$work/merged"
  mkdir -p "$work/merged"
  "$binary" -merge=1 -max_len=16384 -timeout=60 -rss_limit_mb=2560 "$work/merged" "$kept" "$work/found/$target" \
    "$work/start/$target" >"$work/$target.merge.log" 2>&1 || true
  find "$work/merged" -type f -size +16k -delete
  if [ -n "$(ls -A "$work/merged")" ]; then
    rm -rf "$kept"
    mkdir -p "$kept"
    # At most forty files: the smallest ones, which the merge prefers anyway.
    find "$work/merged" -type f -printf '%s %p\n' | sort -n | head -40 | cut -d' ' -f2- | xargs -r cp -t "$kept"
  fi
  echo "fuzz: $target: corpus kept: $(ls "$kept" | wc -l) files, $(du -sk "$kept" | cut -f1) KiB"
done
rmdir fuzz/findings 2>/dev/null || true
exit $status
