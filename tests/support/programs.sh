# Shell helpers for the tests that run the installed or built programs (sourced).

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
