# The Debian packages each command needs (sourced by run.sh and test.sh).
build_packages=(cmake ninja-build g++ make)
windows_packages=(g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine wine64 xvfb xauth
                  fonts-noto-cjk locales)
test_packages=(googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev python3)
