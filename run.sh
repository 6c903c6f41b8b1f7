#!/usr/bin/env bash
# Sets up if needed, builds, and converts the PDF files and folders given; with no argument
# it converts a copy of the bundled sample document and prints where the result is.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/scripts/setup" >&2
build="${QV_BUILD_DIR:-$here/build}"
cli="$build/bin/quorvane-cli"
if [ $# -gt 0 ]; then
  exec "$cli" "$@"
fi
work="$(mktemp -d "${TMPDIR:-/tmp}/quorvane-sample.XXXXXX")"
cp "$here/examples/sample.pdf" "$work/"
echo "Converting a copy of the sample: $work/sample.pdf" >&2
status=0
"$cli" "$work/sample.pdf" || status=$?
if [ "$status" -eq 0 ]; then
  echo "The result is in $work/sample/ (open $work/sample/index.htm)"
else
  echo "The sample was not converted (exit status $status); see the messages above." >&2
fi
exit "$status"
