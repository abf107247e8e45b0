#!/bin/sh
# strip as Debian's packaging strips a program (dh_strip): the symbols, and
# the compilers' .comment and .note sections with them. scripts/package.sh
# gives it to CMake as CMAKE_STRIP.
exec strip --remove-section=.comment --remove-section=.note "$@"
