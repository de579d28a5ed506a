#!/bin/sh
# Makes the import libraries a module built for the MSVC ABI links against, from .def files
# derived from what is installed here (nothing comes from Visual Studio or the Windows SDK):
#  - the UCRT's API sets (api-ms-win-crt-*-l1-1-0.dll, what a /MD build imports the C library
#    from): names and grouping read from mingw-w64's libucrt.a, whose members name their DLL;
#  - msvcp140.dll and its satellites: the export lists in the C++ library's own sources;
#  - vcruntime140.dll and the system DLLs: the export tables of Wine's builtin DLLs.
# usage: import_libraries.sh OUT_DIR CXX_LIBRARY_DIR SYSTEM_DLL...
# Needs llvm-nm-19, llvm-objdump-19 and llvm-dlltool-19 (llvm-19), mingw-w64-x86-64-dev, wine64.
set -eu
out=$1
stl=$2
shift 2
ucrt=/usr/x86_64-w64-mingw32/lib/libucrt.a
wine=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
for needed in "$ucrt" "$wine/vcruntime140.dll" "$stl/stl/msbuild/stl_base/amd64.exports"; do
  [ -e "$needed" ] || { echo "import_libraries.sh: $needed is missing" >&2; exit 1; }
done
mkdir -p "$out/def"

# The names a DLL exports, one a line.
pe_exports() {
  llvm-objdump-19 -p "$1" | awk '
    /^Export Table:/ { on = 1; next }
    on && /^ +[0-9]+ / { print ($2 ~ /^0x/ ? $3 : $2) }'
}

# One line per UCRT function: its API set and its name. (mingw-w64 marks a few math functions
# DATA because its own library replaces them; in the UCRT they are ordinary functions.)
llvm-nm-19 "$ucrt" 2>/dev/null | awk '
  function flush() { if (imp != "" && head != "") print head, imp }
  /:$/ { flush(); imp = ""; head = ""; next }
  / [DI] __imp_/ { imp = substr($3, 7) }
  / U _head_lib64_libapi_ms_win_crt_/ { head = $2 }
  END { flush() }
' | sed 's/^_head_lib64_lib//; s/_a / /' > "$out/def/ucrt-functions.txt"
# UCRT functions libucrt.a leaves out because mingw-w64's own library replaces them (its long
# double is not the UCRT's, which is double).
cat >> "$out/def/ucrt-functions.txt" <<'MORE'
api_ms_win_crt_convert_l1_1_0 strtold
api_ms_win_crt_convert_l1_1_0 wcstold
MORE
sort -u -o "$out/def/ucrt-functions.txt" "$out/def/ucrt-functions.txt"
# libucrt.a also gives the old POSIX names (dup), which the UCRT does not export: Visual Studio's
# oldnames.lib maps them to the UCRT's own (_dup). A name ucrtbase does not export is imported
# under its underscored name when ucrtbase has that one, and left out otherwise.
pe_exports "$wine/ucrtbase.dll" > "$out/def/ucrtbase-exports.txt"
for set in $(cut -d' ' -f1 "$out/def/ucrt-functions.txt" | sort -u); do
  case $set in *private*) continue ;; esac
  dll=$(echo "$set" | tr _ -)
  { echo "LIBRARY $dll.dll"; echo EXPORTS
    awk -v s="$set" '
      FNR == NR { exported[$1] = 1; next }
      $1 != s { next }
      exported[$2] { print "    " $2; next }
      exported["_" $2] { print "    " $2 " == _" $2 }
    ' "$out/def/ucrtbase-exports.txt" "$out/def/ucrt-functions.txt"
  } > "$out/def/$dll.def"
done

for pair in msvcp140:stl_base msvcp140_1:stl_1 msvcp140_2:stl_2 \
            msvcp140_codecvt_ids:stl_codecvt_ids; do
  dll=${pair%%:*}
  { echo "LIBRARY $dll.dll"; echo EXPORTS
    tr -d '\r' < "$stl/stl/msbuild/${pair#*:}/amd64.exports" | awk 'NF { print "    " $1 }'
  } > "$out/def/$dll.def"
done

for dll in vcruntime140 "$@"; do
  { echo "LIBRARY $dll.dll"; echo EXPORTS
    pe_exports "$wine/$dll.dll" | sed 's/^/    /'
  } > "$out/def/$dll.def"
done

for def in "$out"/def/*.def; do
  llvm-dlltool-19 -m i386:x86-64 -d "$def" -l "$out/$(basename "$def" .def).lib"
done
