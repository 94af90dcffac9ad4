# Shared by the benchmark scripts; sourced from the repository root.

# Installs GNU time when /usr/bin/time is missing.
need_gnu_time() {
  [ -x /usr/bin/time ] && return
  local sudo=""
  [ "$(id -u)" = 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends time >/dev/null
}
