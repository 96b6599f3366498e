#!/usr/bin/env bash
# Sets everything up and starts Coinwick from its program folder (build/program).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
if [ -x build/program/coinwick ]; then
  exec build/program/coinwick "$@"
fi
exec build/program/coinwick-cli books
