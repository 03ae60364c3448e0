# Run by CPack before it packs: stamps every staged file and folder with the
# time in SOURCE_DATE_EPOCH (the last commit's, as tools/release.sh sets it),
# so that the archive's bytes do not depend on when it was built.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND find "${CPACK_TEMPORARY_DIRECTORY}" -exec touch -h -d "@$ENV{SOURCE_DATE_EPOCH}" {} +
    COMMAND_ERROR_IS_FATAL ANY)
endif()
