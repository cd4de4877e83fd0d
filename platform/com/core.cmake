# Types, IUnknown, BSTR/VARIANT/SAFEARRAY, HRESULT texts.
target_sources(kelplatform PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/guid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hresult_message.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cunknown.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bstr.cpp
  ${CMAKE_CURRENT_LIST_DIR}/bstr_holder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/vartype.cpp
  ${CMAKE_CURRENT_LIST_DIR}/variant.cpp
  ${CMAKE_CURRENT_LIST_DIR}/variant_holder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/safearray.cpp
  ${CMAKE_CURRENT_LIST_DIR}/name_table.cpp
)
