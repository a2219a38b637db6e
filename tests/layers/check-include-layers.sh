#!/usr/bin/env bash
# Fails when an include runs up a layer. From the ground up: core and i18n;
# media; selection and transfer (neither includes the other); ui.
set -u
src="${1:?usage: check-include-layers.sh SRC_DIR}"
status=0

forbid() {
    local folder="$1" pattern="$2" why="$3" hits
    hits=$(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*\"($pattern)/" "$src/$folder" 2>/dev/null)
    if [ -n "$hits" ]; then
        printf '%s must not include %s:\n%s\n' "$folder" "$why" "$hits"
        status=1
    fi
}

for engine in core i18n media selection transfer; do
    forbid "$engine" "ui|dialogs" "the interface"
done
for ground in core i18n; do
    forbid "$ground" "media|selection|transfer" "a layer above it"
done
forbid media "selection|transfer" "the layers that use it"
forbid transfer selection "the job builder"
forbid selection transfer "the transfer engine"

if [ -e "$src/dialogs" ]; then
    echo "the dialogs belong under ui/dialogs, not $src/dialogs"
    status=1
fi
exit $status
