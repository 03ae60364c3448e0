# Installation and packages. On Linux: the program under bin/, its manual
# pages (English and Chinese) under share/man, and its copyright file and
# changelog under share/doc, packed by CPack as a .deb. For Windows: the
# .exe, a short text on how to run it and the licence, packed as a .zip.

set(luling_maintainer "The luling-calc developers <luling-calc@users.noreply.invalid>")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/LICENSE")

if(WIN32)
  configure_file(doc/windows-readme.txt.in README.txt @ONLY NEWLINE_STYLE CRLF)
  configure_file(LICENSE LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
  install(TARGETS luling-calc RUNTIME DESTINATION .)
  install(FILES "${CMAKE_CURRENT_BINARY_DIR}/README.txt" "${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt" DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "luling-calc-${PROJECT_VERSION}-win64")
  # Files stamped with the last commit's time, for a reproducible .zip.
  set(CPACK_PRE_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/cmake/stamp_files.cmake")
else()
  include(GNUInstallDirs)
  find_program(GZIP_PROGRAM gzip REQUIRED)
  install(TARGETS luling-calc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # A stripped program keeps no compiler notes either, as Debian strips it.
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/luling-calc\" COMMAND_ERROR_IS_FATAL ANY)
    endif()")

  # Manual pages and the changelog, compressed as Debian installs them.
  include(changelog)
  luling_debian_changelog("${PROJECT_SOURCE_DIR}/CHANGELOG.md" "${CMAKE_CURRENT_BINARY_DIR}/doc/changelog"
    luling-calc "${PROJECT_VERSION}" "${luling_maintainer}")
  set(luling_compressed "${CMAKE_CURRENT_BINARY_DIR}/doc/changelog")
  set(luling_doc_dir "${CMAKE_INSTALL_DATAROOTDIR}/doc/luling-calc")
  foreach(language IN ITEMS en zh_CN)
    if(language STREQUAL "en")
      set(source doc/luling-calc.1.in)
      set(section man1)
    else()
      set(source doc/luling-calc.${language}.1.in)
      set(section ${language}/man1)
    endif()
    set(page "${CMAKE_CURRENT_BINARY_DIR}/man/${section}/luling-calc.1")
    configure_file(${source} "${page}" @ONLY)
    list(APPEND luling_compressed "${page}")
    install(FILES "${page}.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/${section})
  endforeach()
  set(luling_compressed_files)
  foreach(file IN LISTS luling_compressed)
    add_custom_command(OUTPUT "${file}.gz"
      COMMAND "${GZIP_PROGRAM}" -9nkf "${file}"
      DEPENDS "${file}"
      COMMENT "Compressing ${file}")
    list(APPEND luling_compressed_files "${file}.gz")
  endforeach()
  add_custom_target(compressed_docs ALL DEPENDS ${luling_compressed_files})

  # The licence in Debian's machine-readable copyright format.
  file(READ LICENSE licence)
  string(REGEX REPLACE "^.*(Permission is hereby granted)" "\\1" licence "${licence}")
  string(REGEX REPLACE "\n+$" "" licence "${licence}")
  string(REPLACE "\n\n" "\n.\n" licence "${licence}")
  string(REPLACE "\n" "\n " licence " ${licence}")
  file(WRITE "${CMAKE_CURRENT_BINARY_DIR}/doc/copyright"
    "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
    "Upstream-Name: luling-calc\n"
    "Upstream-Contact: ${luling_maintainer}\n"
    "\n"
    "Files: *\n"
    "Copyright: 2026 The luling-calc developers\n"
    "License: Expat\n"
    "${licence}\n")
  install(FILES "${CMAKE_CURRENT_BINARY_DIR}/doc/copyright" "${CMAKE_CURRENT_BINARY_DIR}/doc/changelog.gz"
    DESTINATION "${luling_doc_dir}")
  install(FILES resources/luling-calc.lintian-overrides
    DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides" RENAME luling-calc)

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION math)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_STRIP_FILES ON)  # the .exe is stripped when it is linked
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${luling_maintainer}")
  if(CMAKE_CROSSCOMPILING)
    # dpkg-shlibdeps knows only the host's libraries: the C library version
    # is read off the program when it is packed.
    if(CMAKE_SYSTEM_PROCESSOR STREQUAL "aarch64")
      set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
    endif()
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
    file(GENERATE OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/cpack_project.cmake" CONTENT
      "set(LULING_PACKED_PROGRAM \"$<TARGET_FILE:luling-calc>\")\ninclude(\"${PROJECT_SOURCE_DIR}/cmake/libc_depends.cmake\")\n")
    set(CPACK_PROJECT_CONFIG_FILE "${CMAKE_CURRENT_BINARY_DIR}/cpack_project.cmake")
  else()
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  endif()
endif()

set(CPACK_PACKAGE_NAME luling-calc)
set(CPACK_PACKAGE_VENDOR "The luling-calc developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "interactive integer calculator with Simplified Chinese screens")
set(CPACK_PACKAGE_DESCRIPTION "A four-function calculator for the text console, with screens in Simplified
Chinese. Choose an operation by its code, type two whole numbers and read
the result. Arithmetic is 32-bit and wraps as the machine does; division
shows the quotient and the remainder. Bad input is answered and asked for
again. On a terminal the texts are shown in the locale's encoding; through
pipes the program reads numbers and writes GBK text without waiting.")
include(CPack)
