#!/usr/bin/env bash
# Makes the small PNG resources of the UI tests in $1: state strips with one plain colour per frame,
# a half-transparent square, and plain stand-ins for the message box's background and buttons.
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
# Four 10 x 10 frames: red, green, blue, yellow.
convert -size 10x10 xc:'#FF0000' xc:'#00FF00' xc:'#0000FF' xc:'#FFFF00' +append PNG32:strip4.png
# Red at half alpha.
convert -size 20x20 xc:'rgba(255,0,0,0.5)' PNG32:half.png
# The message box: a dark title band over a white body; button strips of three frames (normal, hot, pressed).
convert -size 542x255 xc:'#FFFFFF' -fill '#23406B' -draw 'rectangle 0,0 541,49' PNG32:box-background.png
convert -size 106x40 xc:'#2F7DE1' xc:'#4B93EE' xc:'#1F63BD' +append PNG32:box-primary.png
convert -size 106x40 xc:'#F0F0F0' xc:'#E4E4E4' xc:'#D0D0D0' +append PNG32:box-secondary.png
convert -size 18x18 xc:'#8FA3C0' xc:'#C0D0E8' xc:'#607090' +append PNG32:box-close.png
