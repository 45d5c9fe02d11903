#!/usr/bin/env bash
# The about window on its own under Wine (layout, modality, links), via abouttest.exe.
# Usage: test_about.sh <Zelvio dist folder> <testbin folder>
exec bash "$(dirname "${BASH_SOURCE[0]}")/abouttest/run.sh" "$2"
