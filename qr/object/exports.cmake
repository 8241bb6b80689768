# Vector and text exports and the payload builders: portable, in both trees.
# The metafile formats, the ANSI lead bytes and the file replacement use the
# platform in the Windows tree.
add_library(varnelo_qr_export STATIC
  ${CMAKE_CURRENT_LIST_DIR}/exports_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/exports_vector.cpp
  ${CMAKE_CURRENT_LIST_DIR}/payload.cpp
  ${CMAKE_CURRENT_LIST_DIR}/payload_datetime.cpp)
target_include_directories(varnelo_qr_export PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(varnelo_qr_export PUBLIC varnelo_qr_encode)
if(WIN32)
  target_sources(varnelo_qr_export PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/metafile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/exports_file_win32.cpp
    ${CMAKE_CURRENT_LIST_DIR}/payload_codepage_win32.cpp)
  target_link_libraries(varnelo_qr_export PUBLIC gdi32)
else()
  target_sources(varnelo_qr_export PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/metafile_unsupported.cpp
    ${CMAKE_CURRENT_LIST_DIR}/exports_file_posix.cpp
    ${CMAKE_CURRENT_LIST_DIR}/payload_codepage_posix.cpp)
endif()

# The QR object's export and payload operations, defined beside the exports.
if(WIN32 AND TARGET varnelo_qr_object)
  target_sources(varnelo_qr_object PRIVATE ${CMAKE_CURRENT_LIST_DIR}/qr_code_exports.cpp)
endif()
