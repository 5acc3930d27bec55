# The Debian packages each command needs; sourced by ./run, ./test and scripts/make-package.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config ccache qt6-base-dev qt6-serialport-dev libgl-dev)
# corvane-scenes picture letters its pictures in DejaVu Sans; the tests draw and read them back.
# ser2net is the device server the network port tests start in front of the simulator.
TEST_PACKAGES=(googletest libgtest-dev appstream desktop-file-utils file man-db bash-completion fonts-dejavu-core
               ser2net)
# CPack's Debian packages need dpkg-shlibdeps (dpkg-dev) and file; ./test checks them with lintian.
PACKAGE_PACKAGES=(dpkg-dev file)
PACKAGE_CHECK_PACKAGES=(lintian)
# libFuzzer and its sanitizer runtimes come with clang.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
# The static analysers ./test runs over the code.
ANALYSIS_PACKAGES=(clang-tidy cppcheck clang-format)
