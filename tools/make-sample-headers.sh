#!/bin/sh
# make-sample-headers.sh SOURCE_DIR OUTPUT_DIR
#
# Writes OUTPUT_DIR/ntstatus.h and OUTPUT_DIR/winerror.h in the layout of the Windows SDK's
# headers, and beside them (a flat copy, as the console lookup also reads it) lmerr.h,
# bugcodes.h, wininet.h and winhttp.h with their literals written as the SDK writes them (CR LF line ends, a MessageId comment block before each code, values written as
#   #define STATUS_NAME ((NTSTATUS)0xC0000005L)   and   #define ERROR_NAME 5L)
# from the names and values of the mingw-w64 headers in SOURCE_DIR. mingw-w64 writes the same
# codes as ((NTSTATUS)0xC0000005) and __MSABI_LONG(5), which Kelvane does not take, so the
# values are rewritten; every other line is copied as it stands, so the samples keep the
# comments, conditionals and foreign macros that a real header has around its codes.
# POSIX sh, sed and awk only.
set -e

if [ $# -ne 2 ]; then
  echo "usage: $0 SOURCE_DIR OUTPUT_DIR" >&2
  exit 2
fi
source_dir=$1
output_dir=$2

for header in ntstatus.h winerror.h; do
  if [ ! -r "$source_dir/$header" ]; then
    echo "$0: $source_dir/$header is missing (Debian package mingw-w64-common)" >&2
    exit 1
  fi
done
mkdir -p "$output_dir"

# One awk program for both files. KIND is the name prefix that gets a MessageId block.
convert() {
  LC_ALL=C awk -v kind="$1" -v title="$2" '
    BEGIN {
      printf "/*++ BUILD Version: 0001\r\n"
      printf "\r\n"
      printf "Module Name:\r\n"
      printf "\r\n"
      printf "    %s\r\n", title
      printf "\r\n"
      printf "Abstract:\r\n"
      printf "\r\n"
      printf "    Sample header for Kelvane, generated from the names and values of the\r\n"
      printf "    mingw-w64 headers and written in the layout of the Windows SDK.\r\n"
      printf "\r\n"
      printf "--*/\r\n"
    }

    # Appends "L" to every literal that mingw-w64 leaves without it:
    # __MSABI_LONG(n) becomes nL, and 0x... directly before a closing parenthesis gets the L.
    function sdk_literals(text,    out, inner) {
      out = ""
      while (match(text, /__MSABI_LONG\([0-9A-Fa-fxX]+\)/)) {
        inner = substr(text, RSTART + 13, RLENGTH - 14)
        out = out substr(text, 1, RSTART - 1) inner "L"
        text = substr(text, RSTART + RLENGTH)
      }
      text = out text
      out = ""
      while (match(text, /0[xX][0-9A-Fa-f]+\)/)) {
        out = out substr(text, 1, RSTART + RLENGTH - 2) "L)"
        text = substr(text, RSTART + RLENGTH)
      }
      return out text
    }

    {
      sub(/\r$/, "")
      line = $0
      if (line ~ /#define/)
        line = sdk_literals(line)
      value = line
      sub(/^[ \t]*#define[ \t]+[^ \t]+[ \t]+/, "", value)
      # A code of this kind: its value ends with the L that the SDK writes.
      if ($1 == "#define" && index($2, kind) == 1 && value ~ /L\)?$/) {
        printf "//\r\n// MessageId: %s\r\n//\r\n// MessageText:\r\n//\r\n// %s\r\n//\r\n", $2, $2
        printf "#define %-48s %s\r\n\r\n", $2, value
      } else {
        printf "%s\r\n", line
      }
    }
  '
}

convert STATUS_ ntstatus.h <"$source_dir/ntstatus.h" >"$output_dir/ntstatus.h.tmp"
convert ERROR_ winerror.h <"$source_dir/winerror.h" >"$output_dir/winerror.h.tmp"
mv "$output_dir/ntstatus.h.tmp" "$output_dir/ntstatus.h"
mv "$output_dir/winerror.h.tmp" "$output_dir/winerror.h"
# The other headers get no MessageId blocks (no name starts with a tab).
for header in lmerr.h bugcodes.h wininet.h winhttp.h; do
  if [ -r "$source_dir/$header" ]; then
    convert "$(printf '\t')" "$header" <"$source_dir/$header" >"$output_dir/$header.tmp"
    mv "$output_dir/$header.tmp" "$output_dir/$header"
  fi
done
