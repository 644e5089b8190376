#!/bin/sh
# Runs one Windows test suite under Wine. When the Linux build's
# http_test_service is named (VLMR_HTTP_TEST_SERVICE), it is started first on
# a free port of 127.0.0.1 and the suite learns the port from
# VLMR_TEST_HTTP_SERVICE; it is stopped when the suite ends.
set -eu
suite="$1"
shift
here="$(cd "$(dirname "$0")" && pwd)"
service_pid=""
if [ -n "${VLMR_HTTP_TEST_SERVICE:-}" ]; then
  ports="$(mktemp)"
  "$VLMR_HTTP_TEST_SERVICE" >"$ports" &
  service_pid=$!
  trap 'kill "$service_pid" 2>/dev/null || true; rm -f "$ports"' EXIT
  for _ in $(seq 100); do
    [ -s "$ports" ] && break
    sleep 0.05
  done
  VLMR_TEST_HTTP_SERVICE="$(head -n 1 "$ports")"
  export VLMR_TEST_HTTP_SERVICE
  # Wine hands the variable to the Windows program.
  export WINEDEBUG="${WINEDEBUG:--all}"
fi
# A program that dies inside Wine may still end with exit code 0: the suite
# passes only when GoogleTest also got as far as its summary.
log="$(mktemp)"
status=0
"$here/wine-run.sh" "$suite" "$@" >"$log" 2>&1 || status=$?
cat "$log"
if ! grep -q '^\[==========\] .* ran\.' "$log"; then
  echo "run_windows_suite: $suite ended before GoogleTest's summary" >&2
  [ "$status" -ne 0 ] || status=1
fi
rm -f "$log"
exit "$status"
