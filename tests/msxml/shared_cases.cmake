# The DOM behaviour cases that run on the stand-in DOM (tests/msxml) and on
# MSXML 6 (tests/windows/pe), with the platform-neutral part of their fixture.
set(PTBRIDGE_SHARED_DOM_CASES
  ${CMAKE_CURRENT_LIST_DIR}/documented_behaviour_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dom_test_support.cpp
  ${CMAKE_CURRENT_LIST_DIR}/load_save_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/namespace_manager_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/node_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/search_tests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tree_edit_tests.cpp)
