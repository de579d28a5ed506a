#!/usr/bin/env python3
"""Lists what a Windows module imports from each DLL, one DLL a paragraph, C++ names by their
qualified name (llvm-objdump and llvm-undname; see library_symbols.py).

usage: runtime_imports.py MODULE.dll
"""
import os
import re
import sys
import textwrap

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import library_symbols  # noqa: E402


def short_name(declaration):
    """"std::_Locinfo::_Getcvt" of "public: struct _Cvtvec __cdecl std::_Locinfo::_Getcvt(void) const"."""
    name = re.sub(r"\(.*$", "", declaration).strip()
    for convention in ("__cdecl ", "__stdcall "):
        if convention in name:
            return name.split(convention, 1)[1]
    return re.sub(r"^.*(?:public|private|protected): (?:static )?(?:\S+ )*", "", name)


def main():
    imports, _ = library_symbols.pe_tables(sys.argv[1], "llvm-objdump-19")
    for module in sorted(imports):
        names = sorted({short_name(d) for d in library_symbols.demangled(imports[module])})
        print(f"{module} ({len(imports[module])}):")
        print(textwrap.fill(", ".join(names), width=98, initial_indent="  ",
                            subsequent_indent="  ", break_on_hyphens=False))
    return 0


if __name__ == "__main__":
    sys.exit(main())
