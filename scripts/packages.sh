# The Debian packages each command needs (sourced by run.sh and test.sh).
build_packages=(cmake ninja-build g++ make)
windows_packages=(g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine wine64 xvfb xauth
                  fonts-noto-cjk locales)
test_packages=(googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev python3)
# The web page: Emscripten (its optimizer needs Debian's acorn) and
# rsvg-convert, which draws the PNG icons from the SVG ones; for its tests
# Debian's Chromium, driven from Node.js.
web_packages=(emscripten node-acorn librsvg2-bin)
web_test_packages=(chromium libreoffice-calc-nogui)
