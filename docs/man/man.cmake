# The manual pages, gzipped as Debian installs them: quillet.1 written by hand,
# quillet-batch.1 made by help2man from the built tool's --help, so that the two never
# disagree. Both carry the release date, not the day of the build.

set(quillet_man ${PROJECT_BINARY_DIR}/man)
execute_process(COMMAND date -u -d "${QUILLET_RELEASE_DATE}" +%s
                OUTPUT_VARIABLE quillet_release_epoch OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND env LC_ALL=C date -u -d "${QUILLET_RELEASE_DATE}" "+%B %Y"
                OUTPUT_VARIABLE QUILLET_MAN_DATE OUTPUT_STRIP_TRAILING_WHITESPACE)

set(quillet_pages)
if(QUILLET_GUI)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/quillet.1.in ${quillet_man}/quillet.1 @ONLY)
  list(APPEND quillet_pages ${quillet_man}/quillet.1)
endif()

find_program(QUILLET_HELP2MAN help2man)
if(QUILLET_HELP2MAN)
  set(h2m ${CMAKE_CURRENT_LIST_DIR}/quillet-batch.h2m)
  add_custom_command(OUTPUT ${quillet_man}/quillet-batch.1
                     COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${quillet_release_epoch}
                             LC_ALL=C.UTF-8 ${QUILLET_HELP2MAN} --no-info
                             --version-string=${PROJECT_VERSION} --include=${h2m}
                             --output=${quillet_man}/quillet-batch.1 $<TARGET_FILE:quillet-batch>
                     DEPENDS quillet-batch ${h2m} VERBATIM)
  list(APPEND quillet_pages ${quillet_man}/quillet-batch.1)
else()
  message(WARNING "help2man is missing: no manual page for quillet-batch (tools/install-deps.sh installs it)")
endif()

set(quillet_gzipped_pages)
foreach(page IN LISTS quillet_pages)
  add_custom_command(OUTPUT ${page}.gz COMMAND gzip -9nkf ${page} DEPENDS ${page} VERBATIM)
  list(APPEND quillet_gzipped_pages ${page}.gz)
endforeach()
add_custom_target(quillet_manual_pages ALL DEPENDS ${quillet_gzipped_pages})
install(FILES ${quillet_gzipped_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
