#!/bin/sh
# make-sdk-size-headers.sh SAMPLE_DIR OUTPUT_DIR
#
# Writes OUTPUT_DIR/ntstatus.h and OUTPUT_DIR/winerror.h as large as a current Windows SDK's
# (about 2,700 distinct values each; about 665 KB and 1.55 MB) from the sample headers in
# SAMPLE_DIR (tools/make-sample-headers.sh), for the benchmarks when no SDK is at hand.
# Every line of a sample is kept; each accepted code gets a MessageId block with a message text
# of several lines, as the SDK writes them, and new codes are added beside the sample's own,
# named after them and given values that no code of the file has yet. Same line shapes, CR LF
# line ends, and the same bytes on every run. POSIX sh and awk only.
set -e

if [ $# -ne 2 ]; then
  echo "usage: $0 SAMPLE_DIR OUTPUT_DIR" >&2
  exit 2
fi
sample_dir=$1
output_dir=$2

for header in ntstatus.h winerror.h; do
  if [ ! -r "$sample_dir/$header" ]; then
    echo "$0: $sample_dir/$header is missing (made by tools/make-sample-headers.sh)" >&2
    exit 1
  fi
done
mkdir -p "$output_dir"

# widen KIND RADIX VALUES BYTES: KIND is the name prefix of the file's codes, RADIX 16 for
# ((NTSTATUS)0x...L) values or 10 for ...L values.
widen() {
  LC_ALL=C awk -v kind="$1" -v radix="$2" -v wanted_values="$3" -v wanted_bytes="$4" '
    function accepted(line,    f, n) {
      n = split(line, f, /[ \t]+/)
      if (f[1] == "") { f[1] = f[2]; f[2] = f[3]; f[3] = f[4] }
      if (f[1] != "#define" || index(f[2], kind) != 1) return 0
      if (radix == 16 && f[3] !~ /^\(\(NTSTATUS\)0x[0-9A-Fa-f]+L\)$/) return 0
      if (radix == 10 && f[3] !~ /^[0-9]+L$/) return 0
      entry_name = f[2]
      entry_value = radix == 16 ? parse(substr(f[3], 14, length(f[3]) - 15)) : parse(substr(f[3], 1, length(f[3]) - 1))
      return 1
    }
    function parse(digits,    v, i) {
      v = 0
      for (i = 1; i <= length(digits); i++)
        v = (v * radix + index("0123456789ABCDEF", toupper(substr(digits, i, 1))) - 1) % 4294967296
      return v
    }
    function literal(v,    high) {
      if (radix == 10) return sprintf("%.0fL", v)
      high = int(v / 65536)
      return sprintf("((NTSTATUS)0x%04X%04XL)", high, v - high * 65536)
    }
    function key(v) { return sprintf("%.0f", v) }

    # A message text from the words of the name and a fixed stock of sentences, wrapped at 76
    # columns. Each block is as long as keeps the blocks so far at `budget` bytes on average.
    function block(name, v,    words, n, i, title, text, out, line, w, count, sentence, define, goal) {
      n = split(tolower(substr(name, length(kind) + 1)), words, "_")
      title = ""
      for (i = 1; i <= n; i++)
        title = title (i > 1 ? " " : "") toupper(substr(words[i], 1, 1)) substr(words[i], 2)
      out = "// MessageId: " name "\r\n//\r\n// MessageText:\r\n//\r\n// {" title "}\r\n"
      define = sprintf("//\r\n#define %-48s %s\r\n", name, literal(v))
      goal = budget * (blocks + 1) - written - length(out) - length(define)
      text = ""
      sentence = blocks % stock_size
      while (length(text) * 1.07 < goal - 40) {
        text = text (text == "" ? "" : " ") stock[sentence % stock_size + 1]
        sentence++
      }
      count = split(text, w, " ")
      line = "//"
      for (i = 1; i <= count; i++) {
        if (length(line) + 1 + length(w[i]) > 76) { out = out line "\r\n"; line = "//" }
        line = line " " w[i]
      }
      if (line != "//") out = out line "\r\n"
      blocks++
      written += length(out) + length(define)
      return out define
    }
    function new_name(base,    n, candidate) {
      candidate = base "_" suffix[blocks % 6 + 1]
      for (n = 2; candidate in names; n++) candidate = base "_" suffix[blocks % 6 + 1] "_" n
      names[candidate] = 1
      return candidate
    }
    function new_value(v) {
      do v = (v + 1) % 4294967296; while (key(v) in values)
      values[key(v)] = 1
      return v
    }

    BEGIN {
      split("EX LIMIT TIMEOUT PENDING MISMATCH UNAVAILABLE", suffix, " ")
      stock_size = split("The operation could not be completed because the object is in a state that does not allow it.|" \
        "Retry the request after the previous request has completed.|" \
        "The system cannot find the resource that the caller named, or the caller may not see it.|" \
        "A required component was not found or is of a version that this system does not support.|" \
        "The data passed to the service is not valid for the requested class of information.|" \
        "The caller does not hold the privilege or access right that the operation requires.|" \
        "The limit that an administrator set for this kind of object has been reached.|" \
        "Contact the vendor of the component if the condition persists.", stock, "|")
    }
    { sub(/\r$/, ""); lines[++count] = $0 }
    END {
      # First pass: the codes the sample has, and the bytes that are kept as they stand.
      kept = 0
      for (i = 1; i <= count; i++) {
        if (accepted(lines[i])) {
          codes++
          names[entry_name] = 1
          if (!(key(entry_value) in values)) distinct++
          values[key(entry_value)] = 1
        } else if (lines[i] !~ /^\/\//) {
          kept += length(lines[i]) + 2
        }
      }
      extra = wanted_values - distinct
      if (extra < 0) extra = 0
      budget = (wanted_bytes - kept) / (codes + extra) - 4
      # Second pass: comment lines are held until the next line shows whether they end in the
      # MessageId block of an accepted code, which is written anew, or are kept as they stand.
      held = ""
      seen = 0
      for (i = 1; i <= count; i++) {
        if (lines[i] ~ /^\/\//) { held = held lines[i] "\r\n"; continue }
        if (!accepted(lines[i])) { printf "%s%s\r\n", held, lines[i]; held = ""; continue }
        start = index(held, "//\r\n// MessageId: ")
        if (start > 0) held = substr(held, 1, start - 1)
        printf "%s//\r\n%s", held, block(entry_name, entry_value)
        held = ""
        seen++
        # The new codes are spread evenly over the sample codes.
        for (n = int((seen - 1) * extra / codes); n < int(seen * extra / codes); n++)
          printf "\r\n//\r\n%s", block(new_name(entry_name), new_value(entry_value))
      }
      printf "%s", held
    }
  '
}

widen STATUS_ 16 2700 665000 <"$sample_dir/ntstatus.h" >"$output_dir/ntstatus.h.tmp"
widen ERROR_ 10 2700 1550000 <"$sample_dir/winerror.h" >"$output_dir/winerror.h.tmp"
mv "$output_dir/ntstatus.h.tmp" "$output_dir/ntstatus.h"
mv "$output_dir/winerror.h.tmp" "$output_dir/winerror.h"
# The headers that only the console reads come as the samples have them.
for header in lmerr.h bugcodes.h wininet.h winhttp.h; do
  if [ -r "$sample_dir/$header" ]; then
    cp "$sample_dir/$header" "$output_dir/$header"
  fi
done
