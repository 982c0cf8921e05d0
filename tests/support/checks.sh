# SPDX-License-Identifier: MIT
# Helpers of the shell tests (sourced): a named check, and waiting for a program started in the
# background.

fail=0
# check WHAT EXPECTED ACTUAL: prints the outcome; a mismatch sets fail to 1.
check() {
  if [ "$2" != "$3" ]; then echo "FAIL: $1: expected [$2], got [$3]"; fail=1; else echo "ok: $1"; fi
}

# wait_for_program FILE: waits, within a generous limit, until no process runs the program FILE.
# The converter starts the archiver without waiting for it; a test that looks at the archive, or
# removes its folder, waits for it first.
wait_for_program() {
  local exe tries=0 busy
  exe=$(readlink -f "$1")
  while [ "$tries" -lt 1200 ]; do
    busy=0
    for link in /proc/[0-9]*/exe; do
      [ "$(readlink "$link" 2>/dev/null)" = "$exe" ] && busy=1 && break
    done
    [ "$busy" = 0 ] && return 0
    sleep 0.1
    tries=$((tries + 1))
  done
  echo "FAIL: $exe still running" >&2
  return 1
}
