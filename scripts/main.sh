#!/usr/bin/env bash
# The main job: the emulated host loads the add-in, starts it for a workplace user on a copy of the
# sample information base and runs examples/order.1c, the road of a typical order, as the
# configuration's global module. Options given to this script go to klthost (e.g. --verbose).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh native
cmake --preset native >/dev/null
cmake --build --preset native --target klthost >/dev/null
root=$PWD
# The order writes into the information base and prints: a scratch copy of the base, a folder of
# serial ports with no device in it, so the machine's own ports are left alone, and the scratch
# folder as the current directory, where the printers write their spool file.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r examples/base "$work/base"
# A reservation only means something relative to now, so the sample cannot hold one: table 3 of
# hall 2 is booked for 40 minutes from the start, named as the configuration names reservations
# ("_HH_DDMMYY_hhmm_TT").
touch "$work/base/ДАННЫЕ/БРОНЬ_ЗАКАЗЫ/$(date -d '+40 minutes' +_02_%d%m%y_%H%M_03)"
mkdir "$work/ports"
cd "$work"
# The order ends with "ПослатьВПорт", a UDP broadcast to the other workstations: here it stays inside
# a network namespace of its own with nothing but loopback, so it never leaves this machine.
unshare -n sh -c 'ip link set lo up && ip route add default dev lo && exec "$@"' sh \
  env KLT_SERIAL_DIR="$work/ports" "$root/build/native/emulator/klthost" --ib "$work/base/" \
  --rights "РабочееМесто" --const "ВыводитьЦену=1" --const "ОтображатьКартинки=1" --const "ОтображатьТекст=0" \
  "$@" "$root/examples/order.1c" | tee "$work/output.txt"
# A run-time error that the module caught and reported ("... (код N)") is a failed job all the same.
if grep -q "(код" "$work/output.txt"; then
  echo "main: the order met a run-time error" >&2
  exit 1
fi
# What the waiter saw, drawn by the emulated window system.
if [[ -f $work/hall.svg ]]; then
  mkdir -p "$root/build/native/artifacts"
  cp "$work/hall.svg" "$root/build/native/artifacts/hall.svg"
fi
