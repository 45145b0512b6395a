#!/usr/bin/env bash
# Builds the fuzzers with clang, AddressSanitizer and UBSan, and runs each.
#   fuzz/run.sh [SECONDS] [TARGET...]   (default 60 s each; targets fuzz_readers fuzz_lz41
#                                        fuzz_config fuzz_decode_pcx fuzz_decode_tga
#                                        fuzz_decode_ani fuzz_dds fuzz_png fuzz_jpg
#                                        fuzz_ogg fuzz_text fuzz_pof fuzz_game fuzz_vbm
#                                        fuzz_vf fuzz_ttf fuzz_v3m fuzz_edit)
# Real game files seed the decoders too where a folder of them is given:
#   ORBISTAV_REAL_SEEDS=DIR (default ../shared/realdata when it exists), searched by extension.
# Archive fuzzers take real archives only when put into build-fuzz/corpus-TARGET by hand,
# so that nothing but game and mod archives is fed to them.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_readers fuzz_lz41 fuzz_config fuzz_decode_pcx fuzz_decode_tga
  fuzz_decode_ani fuzz_dds fuzz_png fuzz_jpg fuzz_ogg fuzz_text fuzz_pof fuzz_game fuzz_vbm fuzz_vf
  fuzz_ttf fuzz_v3m fuzz_edit)
real=${ORBISTAV_REAL_SEEDS:-../shared/realdata}

ORBISTAV_WITH_FUZZ=1 ./scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORBISTAV_FUZZ=ON -DORBISTAV_SANITIZE=ON -DORBISTAV_BUILD_TESTS=OFF -DORBISTAV_BUILD_BENCH=OFF >/dev/null
# orbistav-cli takes the pictures out of the sample archives to seed the decoders.
cmake --build build-fuzz --target "${targets[@]}" orbistav-cli
for target in "${targets[@]}"; do
  corpus=build-fuzz/corpus-$target
  mkdir -p "$corpus"
  case $target in
    fuzz_readers | fuzz_edit) cp -n examples/*.vp examples/*.vpc examples/*.vpp "$corpus"/ 2>/dev/null || true ;;
    fuzz_lz41)
      build-fuzz/bin/orbistav-cli extract examples/sample.vpc --raw -C "$corpus" >/dev/null 2>&1 || true ;;
    fuzz_config) cp -n res/vx_modul.dat "$corpus"/ 2>/dev/null || true ;;
    fuzz_game) cp -n examples/*.vp examples/*.vpc "$corpus"/ 2>/dev/null || true ;;
    fuzz_decode_* | fuzz_dds | fuzz_png | fuzz_jpg | fuzz_ogg | fuzz_text | fuzz_pof | fuzz_vbm | \
      fuzz_vf | fuzz_ttf | fuzz_v3m)
      kind=${target#fuzz_}
      kind=${kind#decode_}
      patterns=("*.$kind")
      [ "$kind" = text ] && patterns=("*.tbl" "*.tbm" "*.fs2" "*.txt" "*.lua")
      [ "$kind" = v3m ] && patterns=("*.v3m" "*.v3c")
      for archive in examples/sample.vp examples/sample.vpp; do
        build-fuzz/bin/orbistav-cli extract "$archive" "${patterns[@]}" -C "$corpus" \
          >/dev/null 2>&1 || true
      done
      if [ -d "$real" ]; then
        for pattern in "${patterns[@]}"; do
          find "$real" -iname "$pattern" -exec cp -n {} "$corpus"/ \;
        done
      fi ;;
  esac
  echo "== $target, $seconds s"
  (cd build-fuzz && ./bin/"$target" -max_total_time="$seconds" -max_len=65536 -print_final_stats=1 \
    "corpus-$target")
done
