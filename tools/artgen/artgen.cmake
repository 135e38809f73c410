# The artwork generator: a build-time tool that repaints the interface
# bitmaps, the program icon and the samples. Run it from the repository root:
#   QT_QPA_PLATFORM=offscreen build/artgen .
add_executable(artgen ${CMAKE_CURRENT_LIST_DIR}/artgen.cpp)
target_link_libraries(artgen PRIVATE Qt6::Gui)

enable_testing()
add_test(NAME artgen_outputs_are_current
  COMMAND ${CMAKE_COMMAND} -DARTGEN=$<TARGET_FILE:artgen> -DROOT=${CMAKE_SOURCE_DIR}
          -DWORK=${CMAKE_BINARY_DIR}/artgen-check -P ${CMAKE_CURRENT_LIST_DIR}/check_outputs.cmake)
set_tests_properties(artgen_outputs_are_current PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
