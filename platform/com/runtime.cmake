# The COM runtime: class registry file, CoCreateInstance, running object
# table, class factories and registration.
target_sources(kelplatform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/registry_tree.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registry_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registry_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/class_registry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/co_create.cpp
  ${CMAKE_CURRENT_LIST_DIR}/co_create_builtin.cpp
  ${CMAKE_CURRENT_LIST_DIR}/co_create_modules.cpp
  ${CMAKE_CURRENT_LIST_DIR}/factory.cpp
  ${CMAKE_CURRENT_LIST_DIR}/running_object_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/running_object_table_moniker.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registration.cpp
  ${CMAKE_CURRENT_LIST_DIR}/standard_classes.cpp
)
