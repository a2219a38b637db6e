#!/bin/sh
# Checks the kyvane-server service unit the way systemd reads it, without a
# running systemd (as in a container):
#   check-service-unit.sh SYSTEMD_ANALYZE UNIT SERVER MAX_EXPOSURE ACCEPTED
# (MAX_EXPOSURE in tenths: 20 for 2.0)
# "verify" must find nothing to say (it warns about unknown or misspelt
# settings but still ends with 0); "security" must rate the unit's exposure
# at MAX_EXPOSURE or below and find no exposure beyond those named in the
# file ACCEPTED (a setting dropped from the unit shows up as a new one); and
# the SERVER, started with the unit's LimitNOFILE= as its limit of open
# files, must find room in it for all its connections. The unit names
# /usr/bin/kyvane-server, which verify wants to exist, so a copy names the
# SERVER just built.
set -eu
analyze="$1"
unit="$2"
server="$3"
max_exposure="$4"
accepted="$5"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
sed "s#/usr/bin/kyvane-server#$server#g" "$unit" > "$work/kyvane-server.service"

if ! findings="$("$analyze" verify --man=no "$work/kyvane-server.service" 2>&1)" ||
    [ -n "$findings" ]; then
    echo "systemd-analyze verify:"
    echo "$findings"
    exit 1
fi
status=0
rating="$("$analyze" security --offline=yes --no-pager --threshold="$max_exposure" \
    "$work/kyvane-server.service" 2>&1)" || status=$?
echo "$rating" | grep "Overall exposure" || echo "$rating"
# Each finding is a line "✗ SETTING DESCRIPTION EXPOSURE", with "-" in place
# of "✗" outside UTF-8 locales.
unexpected="$(echo "$rating" | awk '$1 == "✗" || $1 == "-" { print $2 }' | sort -u |
    grep -vxF -f "$(grep -v '^#' "$accepted" | awk '{ print $1 }' > "$work/accepted" &&
        echo "$work/accepted")" || true)"
if [ -n "$unexpected" ]; then
    echo "exposures not accepted in $accepted:"
    echo "$unexpected"
    exit 1
fi

# The limit as the service gets it (soft and hard alike), but no higher than
# this shell may set.
limit="$(sed -n 's/^LimitNOFILE=//p' "$unit" | tail -n 1)"
limit="${limit%%:*}"
if [ -z "$limit" ]; then
    echo "the unit sets no LimitNOFILE="
    exit 1
fi
hard="$(ulimit -Hn)"
if [ "$limit" = infinity ] || { [ "$hard" != unlimited ] && [ "$limit" -gt "$hard" ]; }; then
    limit="$hard"
fi
: >"$work/out"
(ulimit -n "$limit" && exec "$server" --port 0 --root "$work/root") >"$work/out" 2>"$work/err" &
pid=$!
tries=0
while [ "$tries" -lt 100 ] && ! grep -q '^listening' "$work/out"; do
    sleep 0.1
    tries=$((tries + 1))
done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
if ! grep -q '^listening' "$work/out" || grep 'leaves room' "$work/err"; then
    echo "kyvane-server with $limit open files:"
    cat "$work/err"
    exit 1
fi
exit "$status"
