#!/bin/sh
# tools/picture/compare.sh BEFORE_DIR AFTER_DIR -- the number of differing
# pixels (ImageMagick's compare -metric AE) of every shot found in both; exits
# 1 when any differs or a shot is missing from AFTER_DIR.
status=0
for a in "$1"/*.bmp; do
    name=$(basename "$a")
    b="$2/$name"
    if [ ! -f "$b" ]; then echo "$name missing"; status=1; continue; fi
    ae=$(compare -metric AE "$a" "$b" null: 2>&1)
    echo "$name $ae"
    [ "$ae" = "0" ] || status=1
done
exit $status
