#!/bin/sh
# Runs a Windows test program under Wine (the emulator is the first argument) with its standard
# error in a file that it can read back, named by VANTOR_STDERR_FILE. Wine writes the traces of
# every program the test starts there: that is how the harness sees their debugger output without
# debugging them. The file is copied to the real standard error afterwards, for the test log.
errors=$(mktemp /tmp/vantor-stderr.XXXXXX) || exit 1
VANTOR_STDERR_FILE=$errors "$@" 2>"$errors"
status=$?
cat "$errors" >&2
rm -f "$errors"
exit $status
