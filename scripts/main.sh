#!/usr/bin/env bash
# The main job: the emulated host loads the add-in, starts it for a workplace user on the sample
# information base, creates one object of each type, calls methods and prints what happened.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh native
cmake --preset native >/dev/null
cmake --build --preset native --target klthost >/dev/null
exec build/native/emulator/klthost --ib "$PWD/examples/base/" --rights "РабочееМесто" \
  --const "ВыводитьЦену=1" --const "ОтображатьКартинки=1" --const "ОтображатьТекст=0" --demo "$@"
