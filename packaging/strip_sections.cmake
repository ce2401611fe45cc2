# Run by cpack after the installation into its staging folder, before the
# package is made: removes the compiler's notes (.comment, .note) from the
# programs, as Debian's own packaging does, so they carry code and the
# sections the loader needs only.
file(GLOB programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/*")
foreach(program ${programs})
  execute_process(
    COMMAND objcopy --remove-section=.comment --remove-section=.note "${program}"
    RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "objcopy failed on ${program}")
  endif()
endforeach()
