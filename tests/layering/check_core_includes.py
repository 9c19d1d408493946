#!/usr/bin/env python3
"""Fails when a core folder includes a header of a layer it may not use, any
header that is not the C++ standard library's, or tests for Windows.

    check_core_includes.py SOURCE_ROOT
"""
import pathlib
import re
import sys

# Each layer and the folders its files may include (itself included).
ALLOWED = {
    "platform": {"platform"},
    "profile": {"platform", "profile"},
    "identities": {"platform", "profile", "identities"},
    "folders": {"platform", "profile", "folders"},
    "page": {"platform", "profile", "identities", "folders", "page"},
}

STANDARD_HEADERS = set("""
algorithm any array atomic bit bitset cassert cctype cerrno charconv chrono cinttypes climits
cmath compare concepts cstddef cstdint cstdio cstdlib cstring cwchar cwctype deque exception
expected filesystem format functional initializer_list iomanip ios iosfwd iostream istream
iterator limits list locale map memory mutex new numeric optional ostream queue random ranges
ratio regex set shared_mutex source_location span sstream stack stdexcept string string_view
system_error thread tuple type_traits typeinfo unordered_map unordered_set utility variant vector
""".split())

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
PLATFORM_TEST = re.compile(r'\b_?WIN(32|64)\b|__linux__|__APPLE__|_MSC_VER|__MINGW')


def problems(root: pathlib.Path):
    for layer, allowed in ALLOWED.items():
        for path in sorted((root / layer).glob("*")):
            if path.suffix not in {".h", ".cpp", ".inc"}:
                continue
            name = path.relative_to(root)
            for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
                where = f"{name}:{number}"
                match = INCLUDE.match(line)
                if match:
                    bracket, header = match.groups()
                    if bracket == "<" and header not in STANDARD_HEADERS:
                        yield f"{where}: <{header}> is not a standard library header"
                    if bracket == '"':
                        folder = header.split("/")[0] if "/" in header else layer
                        if folder not in allowed:
                            yield f'{where}: {layer}/ may not include "{header}"'
                elif PLATFORM_TEST.search(line):
                    yield f"{where}: platform test in portable code: {line.strip()}"


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
    found = list(problems(root))
    for problem in found:
        print(problem)
    print(f"{len(found)} layering problem(s) in {', '.join(ALLOWED)}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
