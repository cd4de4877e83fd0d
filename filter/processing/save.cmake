# Frame processing and film output: background subtraction and the film file
# source of save mode with its shooting-parameter file.
target_sources(kelfilter PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/StOrvoTransform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StClearImageTransform.cpp
  ${CMAKE_CURRENT_LIST_DIR}/background_subtract.cpp
  ${CMAKE_CURRENT_LIST_DIR}/background_capture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/background_settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/background_procedure.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StFileSource.cpp
  ${CMAKE_CURRENT_LIST_DIR}/info_file_format.cpp
  ${CMAKE_CURRENT_LIST_DIR}/info_file_read.cpp
  ${CMAKE_CURRENT_LIST_DIR}/info_file_write.cpp
)
