#!/usr/bin/env bash
# Checks that a guest library imports only names the runtime host supplies:
# every undefined symbol of its dynamic symbol table must be on the allowed
# list (symbol versions such as @GLIBC_2.0 are ignored).
# Usage: check_imports.sh LIBRARY ALLOWED_LIST
set -euo pipefail
library=$1 list=$2

allowed=$(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$list" | awk '{print $1}' | sort -u)
imports=$(nm -D --undefined-only "$library" | awk '{print $2}' | sed 's/@.*//' | sort -u)

unexpected=$(comm -23 <(echo "$imports") <(echo "$allowed"))
if [ -n "$unexpected" ]; then
  echo "$library imports names the host does not supply:"
  echo "$unexpected"
  exit 1
fi
echo "$(echo "$imports" | wc -l) imports, all allowed"
