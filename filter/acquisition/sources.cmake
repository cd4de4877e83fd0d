target_sources(kelfilter PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/global_frame_lock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_records.cpp
  ${CMAKE_CURRENT_LIST_DIR}/System.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DmaContext.cpp
  ${CMAKE_CURRENT_LIST_DIR}/controller_slots.cpp
)
include(${CMAKE_CURRENT_LIST_DIR}/converter.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/sources_streams.cmake)
