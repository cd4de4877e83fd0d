target_sources(kelfilter PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/lib3_error.cpp
  ${CMAKE_CURRENT_LIST_DIR}/error_data.cpp
)
