# The stream sources of set-up and input mode, their base and the frame
# transfer they share.
target_sources(kelfilter PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/StOrvoSource.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StSetupSource.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StRecordSource.cpp
  ${CMAKE_CURRENT_LIST_DIR}/stream_source_header.cpp
  ${CMAKE_CURRENT_LIST_DIR}/stream_source_notify.cpp
  ${CMAKE_CURRENT_LIST_DIR}/stream_source_parts.cpp
)
