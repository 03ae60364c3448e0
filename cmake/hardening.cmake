# Hardening and reproducible builds, for every target of the project.
#
# Optimised Linux builds get what Debian's dpkg-buildflags gives with
# hardening=+all (stack protector, PIE, read-only relocations and immediate
# binding), fortified functions at level 3, and the two flags newer Debian
# releases add by default: stack clash protection and control-flow
# protection (-fcf-protection on amd64, branch protection on arm64).
#
# Every build leaves out the paths it was built in, and a Windows executable
# carries no link time, so that two builds of one commit are the same bits.

option(LULING_HARDENING "Build optimised Linux binaries with Debian's hardening flags" ON)

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(
    "-ffile-prefix-map=${PROJECT_SOURCE_DIR}=."
    "-ffile-prefix-map=${PROJECT_BINARY_DIR}=build")
endif()
if(MINGW)
  add_link_options(-Wl,--no-insert-timestamp)
endif()

if(LULING_HARDENING AND CMAKE_SYSTEM_NAME STREQUAL "Linux" AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug"
   AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  include(CheckPIESupported)
  check_pie_supported(LANGUAGES CXX)
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  add_compile_options(-fstack-protector-strong -fstack-clash-protection -U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=3)
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64)$")
    add_compile_options(-fcf-protection)
  elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(aarch64|arm64)$")
    add_compile_options(-mbranch-protection=standard)
  endif()
  add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()
