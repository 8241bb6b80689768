# Tests of the vector and text exports, the metafiles and the payload
# builders: one executable per tree (the metafile tests only in the Windows
# tree), plus, natively, rendering the SVG, PostScript and EPS documents and
# reading them back with zbarimg.
set(_export_tests
  ${CMAKE_CURRENT_LIST_DIR}/exports_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/exports_file_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/payload_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/payload_datetime_test.cpp)
set(_export_libs varnelo_qr_export)
if(WIN32)
  list(APPEND _export_tests ${CMAKE_CURRENT_LIST_DIR}/metafile_test.cpp
                            ${CMAKE_CURRENT_LIST_DIR}/exports_qr_code_test.cpp)
  list(APPEND _export_libs varnelo_qr_object)
endif()
varnelo_test(qr_export_tests SOURCES ${_export_tests} LIBS ${_export_libs})

if(NOT WIN32)
  add_executable(qr_export_render_writer ${CMAKE_CURRENT_LIST_DIR}/exports_render_test.cpp)
  target_link_libraries(qr_export_render_writer PRIVATE varnelo_qr_export)
  add_test(NAME qr_export_render
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/exports_render_test.sh
                   $<TARGET_FILE:qr_export_render_writer> ${CMAKE_CURRENT_BINARY_DIR}/export_render)
  set_tests_properties(qr_export_render PROPERTIES TIMEOUT 300)
endif()
