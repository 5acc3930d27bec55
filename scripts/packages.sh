# The Debian packages each command needs; sourced by ./run, ./test and scripts/make-package.
# corvane-scenes import reads CSV with libcsv (RFC 4180).
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config ccache qt6-base-dev qt6-serialport-dev libgl-dev libcsv-dev)
# corvane-scenes picture letters its pictures in DejaVu Sans; the tests draw and read them back.
# ser2net is the device server the network port tests start in front of the simulator.
TEST_PACKAGES=(googletest libgtest-dev appstream desktop-file-utils file man-db bash-completion fonts-dejavu-core
               ser2net)
# CPack's Debian packages need dpkg-shlibdeps (dpkg-dev) and file; ./test checks them with lintian,
# and the backup's units with systemd-analyze (systemd).
PACKAGE_PACKAGES=(dpkg-dev file)
PACKAGE_CHECK_PACKAGES=(lintian systemd)
# libFuzzer and its sanitizer runtimes come with clang.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
# The static analysers ./test runs over the code.
ANALYSIS_PACKAGES=(clang-tidy cppcheck clang-format)
# The Windows build: MinGW-w64 cross compiler, Wine to run and test it, NSIS for the installer;
# Qt's own source (apt-get source) needs dpkg-dev; GoogleTest is built from Debian's source of it
# (googletest); the window is shown on Xvfb.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools wine wine64 nsis dpkg-dev
                  googletest zip unzip xvfb xauth xdotool imagemagick)
