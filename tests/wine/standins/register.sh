#!/usr/bin/env bash
# Registers the test-only stand-in filters of ZelvioTestFilters.dll in a Wine prefix, with
# plain registry keys (category instances and InprocServer32), for Wine tests only.
# Usage: register.sh <WINEPREFIX> <path/to/ZelvioTestFilters.dll>
set -euo pipefail
if [ $# -lt 2 ]; then
  echo "usage: $0 <WINEPREFIX> <ZelvioTestFilters.dll>" >&2
  exit 2
fi
export WINEPREFIX="$1"
dll="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"
export WINEARCH=win64 WINEDEBUG=-all
[ -f "$dll" ] || { echo "register.sh: no such DLL: $dll" >&2; exit 1; }

win_dll="$(winepath -w "$dll" 2>/dev/null)"
reg_dll="${win_dll//\\/\\\\}"

codec_cat='{33D9A760-90C8-11D0-BD43-00A0C911CE86}'
audio_cat='{33D9A762-90C8-11D0-BD43-00A0C911CE86}'
filters_cat='{083863F1-70DE-11D0-BD40-00A0C911CE86}'
inf_tee='{F8388A40-D5BB-11D0-BE5A-0080C706568E}'
file_writer='{8596E5F0-0DA5-11D0-BD21-00A0C911CE86}'
avi_mux='{E2510970-F137-11CE-8B67-00AA00A3F1A6}'
codec_dialog='{8AC28C84-80EC-49BA-B4B9-DBB27B5BFA00}'
codec_plain='{12A265F3-9422-4B8A-9EC5-7C30588A336B}'
audio='{7E433E61-65DD-41D5-AD7E-AA78084D5082}'
audio_plain='{A8B7B6F0-2A49-4934-A69C-2EFB6BF0A8CF}'

server() {
  cat <<REG
[HKEY_CLASSES_ROOT\\CLSID\\$1]
@="$2"

[HKEY_CLASSES_ROOT\\CLSID\\$1\\InprocServer32]
@="$reg_dll"
"ThreadingModel"="Both"

REG
}

# instance CATEGORY CLSID KEY-NAME [FRIENDLY-NAME]
instance() {
  cat <<REG
[HKEY_CLASSES_ROOT\\CLSID\\$1\\Instance\\$3]
"FriendlyName"="${4:-$3}"
"CLSID"="$2"

REG
}

reg_file="$(mktemp --suffix=.reg)"
trap 'rm -f "$reg_file"' EXIT
{
  echo "REGEDIT4"
  echo
  server "$inf_tee" "Infinite Pin Tee Filter"
  server "$file_writer" "File writer"
  server "$avi_mux" "AVI Mux"
  server "$codec_dialog" "Zelvio Test Codec (dialog)"
  server "$codec_plain" "Zelvio Test Codec (plain)"
  server "$audio" "Zelvio Test Audio"
  server "$audio_plain" "Zelvio Test Audio (no mixer)"
  # The program binds its fixed filters through monikers of the DirectShow filters
  # category, named by the class identifier, as Windows lists its own tee and writer there.
  instance "$filters_cat" "$inf_tee" "$inf_tee" "Infinite Pin Tee Filter"
  instance "$filters_cat" "$file_writer" "$file_writer" "File writer"
  instance "$filters_cat" "$avi_mux" "$avi_mux" "AVI Mux"
  instance "$codec_cat" "$codec_dialog" "Zelvio Test Codec (dialog)"
  instance "$codec_cat" "$codec_plain" "Zelvio Test Codec (plain)"
  instance "$audio_cat" "$audio" "Zelvio Test Audio"
  instance "$audio_cat" "$audio_plain" "Zelvio Test Audio (no mixer)"
} >"$reg_file"

log="$WINEPREFIX/zelvio-register.log"
wine regedit /S "$(winepath -w "$reg_file")" >"$log" 2>&1
echo "registered test filters from $win_dll"
