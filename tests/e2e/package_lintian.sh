#!/usr/bin/env bash
# lintian on the Debian package: no error and no warning (an accepted one needs an override
# with its reason in the package). Informational tags are listed, not counted.
# Usage: package_lintian.sh DEB
set -uo pipefail
deb=${1:?usage: package_lintian.sh DEB}
command -v lintian >/dev/null 2>&1 || { echo "SKIPPED: lintian is not installed"; exit 77; }
[ -f "$deb" ] || { echo "FAILED: no package at $deb"; exit 1; }
lintian --display-info --fail-on error,warning "$deb" 2>&1 | grep -v 'running with root privileges'
status=${PIPESTATUS[0]}
[ "$status" -eq 0 ] || { echo "FAILED: lintian reports errors or warnings"; exit 1; }
echo "PASSED"
