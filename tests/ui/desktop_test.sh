# Sourced by the tests under a window manager or a Wayland compositor: a folder of their own
# in $work, removed at the end together with the programs started in the background whose
# process ids are added to $pids, and wait_until.

work=$(mktemp -d)
pids=()
finish() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap finish EXIT

# wait_until COMMAND...: polls (up to 30 s) until the command succeeds; its output is dropped.
wait_until() {
  for _ in $(seq 1 300); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  return 1
}
