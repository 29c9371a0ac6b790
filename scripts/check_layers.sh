#!/usr/bin/env bash
# Fails, naming file and line, on an include edge the layer rules forbid
# (docs/ARCHITECTURE.md). Optional arguments: the tree to check and a
# compile_commands.json of its native build.
exec /usr/bin/python3 "$(dirname "$0")/check_layers.py" "$@"
