#!/usr/bin/env bash
# The page docs/vek-cli-json.md against the JSON vek-cli writes: its
# examples, fields, types and exit statuses (json_docs.py says what).
# Usage: bash json_docs.sh <path-to-vek-cli>
here="$(cd "$(dirname "$0")" && pwd)"
if ! command -v python3 >/dev/null; then
    echo "FAIL: json_docs needs python3 (tools/deps.sh installs it)"
    exit 1
fi
exec python3 "$here/json_docs.py" "$here/../../docs/vek-cli-json.md" "$1"
