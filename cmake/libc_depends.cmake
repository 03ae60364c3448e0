# Run by CPack when it packs a cross-built program (LULING_PACKED_PROGRAM):
# the package depends on the C library from the newest symbol version the
# program needs, as dpkg-shlibdeps would find it on the target.
execute_process(COMMAND readelf --version-info --wide "${LULING_PACKED_PROGRAM}"
  OUTPUT_VARIABLE versions COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "GLIBC_[0-9]+(\\.[0-9]+)*" needed "${versions}")
set(newest 0)
foreach(version IN LISTS needed)
  string(REPLACE "GLIBC_" "" version "${version}")
  if(version VERSION_GREATER newest)
    set(newest "${version}")
  endif()
endforeach()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= ${newest})")
