#!/bin/sh
# Checks a Windows executable's import and export tables:
#   check-exports.sh FILE ALLOWED_DLLS_REGEX [EXPORTED_SYMBOL...]
# Fails when the file imports a DLL outside the allowed set (the runtime must
# be linked statically) or lacks one of the named exports.
file="$1"; allowed="$2"; shift 2
dump=$(x86_64-w64-mingw32-objdump -p "$file") || exit 1
status=0
for dll in $(printf '%s\n' "$dump" | sed -n 's/^\tDLL Name: //p'); do
    if ! printf '%s\n' "$dll" | grep -qiE "^($allowed)$"; then
        echo "$file imports $dll"; status=1
    fi
done
for sym in "$@"; do
    if ! printf '%s\n' "$dump" | grep -qE "[[:space:]]$sym\$"; then
        echo "$file does not export $sym"; status=1
    fi
done
[ $status = 0 ] && echo "$file: imports and exports as expected"
exit $status
