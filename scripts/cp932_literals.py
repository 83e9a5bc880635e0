#!/usr/bin/env python3
"""Copies a UTF-8 C++ source, writing the non-ASCII characters of its string
and character literals as octal escapes of their CP932 bytes.

clang has no CP932 execution character set; this gives it the same literal
bytes that g++ produces with -fexec-charset=CP932. Comments stay as they are.
Usage: cp932_literals.py SOURCE OUTPUT
"""
import sys


def escape(text: str) -> str:
    return ''.join(''.join('\\%03o' % b for b in ch.encode('cp932')) if ord(ch) > 0x7F else ch
                   for ch in text)


def convert(source: str) -> str:
    out, i, n = [], 0, len(source)
    while i < n:
        c = source[i]
        if source.startswith('//', i):
            end = source.find('\n', i)
            end = n if end < 0 else end
        elif source.startswith('/*', i):
            end = source.find('*/', i + 2)
            end = n if end < 0 else end + 2
        elif c in '"\'':
            end = i + 1
            while end < n and source[end] != c:
                end += 2 if source[end] == '\\' else 1
            end += 1
            out.append(escape(source[i:end]))
            i = end
            continue
        else:
            end = i + 1
        out.append(source[i:end])
        i = end
    return ''.join(out)


if __name__ == '__main__':
    with open(sys.argv[1], encoding='utf-8') as f:
        text = f.read()
    with open(sys.argv[2], 'w', encoding='utf-8') as f:
        f.write(convert(text))
