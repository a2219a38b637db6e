#!/bin/sh
# Checks the kyvane-server service unit the way systemd reads it, without a
# running systemd (as in a container):
#   check-service-unit.sh SYSTEMD_ANALYZE UNIT SERVER MAX_EXPOSURE
# (MAX_EXPOSURE in tenths: 20 for 2.0)
# "verify" must find nothing to say (it warns about unknown or misspelt
# settings but still ends with 0); "security" must rate the unit's exposure
# at MAX_EXPOSURE or below. The unit names /usr/bin/kyvane-server, which
# verify wants to exist, so a copy names the SERVER just built.
set -eu
analyze="$1"
unit="$2"
server="$3"
max_exposure="$4"

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
exit "$status"
