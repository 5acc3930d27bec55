# The Debian packages each command needs; sourced by ./run and ./test.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev libgl-dev)
TEST_PACKAGES=(googletest libgtest-dev libgmock-dev appstream desktop-file-utils file)
# libFuzzer and its sanitizer runtimes come with clang.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
# The static analysers ./test runs over the code.
ANALYSIS_PACKAGES=(clang-tidy cppcheck)
