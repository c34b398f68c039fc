#!/bin/sh
# make-icon.sh OUTPUT.ico: draws Kelvane's icon (a white "K" on a blue rounded square, with a
# small red status dot) at 16x16 and 32x32 in 32-bit colour and writes it as a Windows .ico.
# Needs only a POSIX shell and awk; every pixel is computed here, nothing is taken from elsewhere.
set -e
out=${1:?usage: make-icon.sh OUTPUT.ico}
tmp="$out.tmp.$$"
trap 'rm -f "$tmp"' EXIT
LC_ALL=C awk '
function byte(v) { printf "%c", v % 256 }
function u16(v) { byte(v % 256); byte(int(v / 256)) }
function u32(v) { u16(v % 65536); u16(int(v / 65536)) }
function clamp(v) { return v < 0 ? 0 : (v > 1 ? 1 : v) }
# Distance of point (px, py) from the segment (ax, ay)-(bx, by).
function segdist(px, py, ax, ay, bx, by,    dx, dy, t, qx, qy) {
  dx = bx - ax; dy = by - ay
  t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
  t = clamp(t)
  qx = ax + t * dx - px; qy = ay + t * dy - py
  return sqrt(qx * qx + qy * qy)
}
# Colour of the point (u, v) of the unit square, v downwards: sets R, G, B, A (0..1).
function shade(u, v,    r, cx, cy, dx, dy, inside, glyph, dot) {
  r = 0.22
  cx = u < r ? r : (u > 1 - r ? 1 - r : u)
  cy = v < r ? r : (v > 1 - r ? 1 - r : v)
  dx = u - cx; dy = v - cy
  inside = (dx * dx + dy * dy <= r * r)
  if (!inside) { R = 0; G = 0; B = 0; A = 0; return }
  # Background: blue, lighter at the top.
  R = 0.10 + 0.10 * (1 - v); G = 0.32 + 0.18 * (1 - v); B = 0.70 + 0.20 * (1 - v); A = 1
  glyph = (u >= 0.24 && u <= 0.39 && v >= 0.18 && v <= 0.82)
  if (!glyph && segdist(u, v, 0.37, 0.56, 0.74, 0.18) <= 0.075) glyph = 1
  if (!glyph && segdist(u, v, 0.47, 0.47, 0.76, 0.82) <= 0.075) glyph = 1
  if (glyph) { R = 1; G = 1; B = 1 }
  dot = ((u - 0.80) * (u - 0.80) + (v - 0.80) * (v - 0.80) <= 0.016)
  if (dot) { R = 0.90; G = 0.20; B = 0.15 }
}
# Writes the DIB of one image: header, pixels bottom-up in BGRA, then the AND mask.
function image(n,    x, y, sx, sy, s, r, g, b, a, maskrow, bits, k) {
  u32(40); u32(n); u32(2 * n); u16(1); u16(32); u32(0); u32(imagesize(n) - 40)
  u32(0); u32(0); u32(0); u32(0)
  s = 4
  for (y = n - 1; y >= 0; y--) {
    for (x = 0; x < n; x++) {
      r = 0; g = 0; b = 0; a = 0
      for (sy = 0; sy < s; sy++) for (sx = 0; sx < s; sx++) {
        shade((x + (sx + 0.5) / s) / n, (y + (sy + 0.5) / s) / n)
        r += R * A; g += G * A; b += B * A; a += A
      }
      if (a > 0) { r /= a; g /= a; b /= a }
      a /= s * s
      byte(int(b * 255 + 0.5)); byte(int(g * 255 + 0.5)); byte(int(r * 255 + 0.5)); byte(int(a * 255 + 0.5))
      alpha[x, y] = a
    }
  }
  maskrow = int((n + 31) / 32) * 4
  for (y = n - 1; y >= 0; y--) {
    for (k = 0; k < maskrow; k++) {
      bits = 0
      for (x = k * 8; x < k * 8 + 8; x++)
        bits = bits * 2 + ((x >= n || alpha[x, y] == 0) ? 1 : 0)
      byte(bits)
    }
  }
}
function imagesize(n) { return 40 + n * n * 4 + int((n + 31) / 32) * 4 * n }
BEGIN {
  count = 2; size[1] = 16; size[2] = 32
  u16(0); u16(1); u16(count)
  offset = 6 + 16 * count
  for (i = 1; i <= count; i++) {
    byte(size[i]); byte(size[i]); byte(0); byte(0); u16(1); u16(32)
    u32(imagesize(size[i])); u32(offset)
    offset += imagesize(size[i])
  }
  for (i = 1; i <= count; i++) image(size[i])
}' > "$tmp"
mv "$tmp" "$out"
trap - EXIT
