#!/bin/sh
# count-sample-entries.sh NTSTATUS_HEADER WIN32_HEADER OUTPUT_HEADER
#
# Counts, independently of Kelvane's own scanner, how many distinct values the accepted
# #define lines of the two headers define, and writes them as C macros for the tests:
#   ntstatus.h: #define STATUS_<name> ((NTSTATUS)0x<hex digits>L)
#   winerror.h: #define ERROR_<name> <decimal digits>L
# CR, LF and CR LF all end lines; tokens are runs of the bytes 0x21..0x7F, all others separate.
# Hex values keep their low 32 bits, decimal values wrap modulo 2^32, as the program reads them.
set -e

if [ $# -ne 3 ]; then
  echo "usage: $0 NTSTATUS_HEADER WIN32_HEADER OUTPUT_HEADER" >&2
  exit 2
fi

count_ntstatus() {
  tr '\r' '\n' <"$1" | LC_ALL=C awk '
    {
      gsub(/[^!-~\177]+/, " ")
      $0 = $0
      if ($1 != "#define" || index($2, "STATUS_") != 1) next
      if ($3 !~ /^\(\(NTSTATUS\)0x[0-9A-Fa-f]*L\)$/) next
      digits = toupper(substr($3, 14, length($3) - 15))
      if (length(digits) > 8) digits = substr(digits, length(digits) - 7)
      while (length(digits) < 8) digits = "0" digits
      seen[digits] = 1
    }
    END { n = 0; for (v in seen) n++; print n }
  '
}

count_win32() {
  tr '\r' '\n' <"$1" | LC_ALL=C awk '
    {
      gsub(/[^!-~\177]+/, " ")
      $0 = $0
      if ($1 != "#define" || index($2, "ERROR_") != 1) next
      if ($3 !~ /^[0-9]*L$/) next
      value = 0
      for (i = 1; i < length($3); i++)
        value = (value * 10 + substr($3, i, 1)) % 4294967296
      seen[sprintf("%.0f", value)] = 1
    }
    END { n = 0; for (v in seen) n++; print n }
  '
}

ntstatus=$(count_ntstatus "$1")
win32=$(count_win32 "$2")
{
  echo "// Generated at build time by tools/count-sample-entries.sh: the number of distinct values"
  echo "// among the accepted #define lines of the sample headers, counted with awk."
  echo "#pragma once"
  echo "#define SAMPLE_NTSTATUS_DISTINCT_VALUES $ntstatus"
  echo "#define SAMPLE_WIN32_DISTINCT_VALUES $win32"
} >"$3.tmp"
mv "$3.tmp" "$3"
