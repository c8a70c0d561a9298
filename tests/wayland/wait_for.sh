# Sourced by the session scripts. wait_for WHAT COMMAND... runs COMMAND every 50 ms, up to
# $wait_tries times (600 unless set), and says which part of the $session session (gnome,
# kde, sway) did not come up.
wait_for() {
  local what=$1
  shift
  for _ in $(seq "${wait_tries:-600}"); do
    "$@" && return 0
    sleep 0.05
  done
  echo "${session}_session: $what did not come up (logs: ${session^^}_SESSION_KEEP=1)" >&2
  return 1
}
