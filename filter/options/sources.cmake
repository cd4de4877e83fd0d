target_sources(kelfilter PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ValueManaged.cpp
  ${CMAKE_CURRENT_LIST_DIR}/option_record.cpp
  ${CMAKE_CURRENT_LIST_DIR}/catalogue.cpp
  ${CMAKE_CURRENT_LIST_DIR}/name_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/module_count.cpp
  ${CMAKE_CURRENT_LIST_DIR}/option_scalar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/option_enum.cpp
  ${CMAKE_CURRENT_LIST_DIR}/option_rect.cpp
  ${CMAKE_CURRENT_LIST_DIR}/create_property.cpp
)
