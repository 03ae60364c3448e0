# Installation and packages. On Linux: the program under bin/ and its manual
# pages (English and Chinese) under share/man, packed by CPack as a .deb. For
# Windows: the .exe and a short text on how to run it, packed as a .zip.

if(WIN32)
  configure_file(doc/windows-readme.txt.in README.txt @ONLY NEWLINE_STYLE CRLF)
  install(TARGETS luling-calc RUNTIME DESTINATION .)
  install(FILES "${CMAKE_CURRENT_BINARY_DIR}/README.txt" DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "luling-calc-${PROJECT_VERSION}-win64")
else()
  include(GNUInstallDirs)
  install(TARGETS luling-calc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # Manual pages, compressed as Debian installs them.
  find_program(GZIP_PROGRAM gzip REQUIRED)
  set(luling_man_pages)
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
    add_custom_command(OUTPUT "${page}.gz"
      COMMAND "${GZIP_PROGRAM}" -9nkf "${page}"
      DEPENDS "${page}"
      COMMENT "Compressing the manual page ${section}/luling-calc.1")
    list(APPEND luling_man_pages "${page}.gz")
    install(FILES "${page}.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/${section})
  endforeach()
  add_custom_target(man_pages ALL DEPENDS ${luling_man_pages})

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION math)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_STRIP_FILES ON)  # the .exe is stripped when it is linked
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "luling-calc developers <luling-calc@users.noreply.invalid>")
endif()

set(CPACK_PACKAGE_NAME luling-calc)
set(CPACK_PACKAGE_VENDOR "luling-calc developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "interactive integer calculator with Simplified Chinese screens")
set(CPACK_PACKAGE_DESCRIPTION "A four-function calculator for the text console, with screens in Simplified
Chinese. Choose an operation by its code, type two whole numbers and read
the result. Arithmetic is 32-bit and wraps as the machine does; division
shows the quotient and the remainder. Bad input is answered and asked for
again. On a terminal the texts are shown in the locale's encoding; through
pipes the program reads numbers and writes GBK text without waiting.")
include(CPack)
