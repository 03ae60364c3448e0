# Cross-building for Linux arm64 with Debian's g++-aarch64-linux-gnu. What
# is built for arm64 runs here under qemu-user, with the cross toolchain's
# libraries as its root.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(luling_arm64_root /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH ${luling_arm64_root})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L ${luling_arm64_root})
