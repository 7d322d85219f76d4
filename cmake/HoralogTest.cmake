# horalog_add_test(NAME name SOURCES ... LIBS ... [GUI] [XSERVER])
#
# Every test program is hermetic: its own config and data folders, a fixed language, and the
# offscreen platform, so that the tests can run in parallel and never touch the user's
# settings. GUI tests get a QApplication from the shared test main; XSERVER tests start an
# Xvfb of their own through tests/support/with-xvfb.
function(horalog_add_test)
  cmake_parse_arguments(T "GUI;XSERVER" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  if(T_GUI)
    target_link_libraries(${T_NAME} PRIVATE horalog_test_main_gui)
  else()
    target_link_libraries(${T_NAME} PRIVATE horalog_test_main)
  endif()
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} horalog_common GTest::gtest GTest::gmock)
  set(home ${CMAKE_BINARY_DIR}/test-home/${T_NAME})
  file(MAKE_DIRECTORY ${home}/config ${home}/data ${home}/runtime)
  file(CHMOD ${home}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  if(T_XSERVER)
    add_test(NAME ${T_NAME}
      COMMAND ${CMAKE_SOURCE_DIR}/tests/support/with-xvfb $<TARGET_FILE:${T_NAME}>)
    set(platform xcb)
  else()
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set(platform offscreen)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES
    ENVIRONMENT "XDG_CONFIG_HOME=${home}/config;XDG_DATA_HOME=${home}/data;XDG_RUNTIME_DIR=${home}/runtime;HOME=${home};LANG=C.UTF-8;LC_ALL=C.UTF-8;QT_QPA_PLATFORM=${platform};HORALOG_TEST_SOURCE=${CMAKE_SOURCE_DIR}/tests;HORALOG_BIN=${CMAKE_BINARY_DIR}/bin"
    TIMEOUT 600)
  if(HORALOG_SANITIZE)
    set_property(TEST ${T_NAME} APPEND PROPERTY ENVIRONMENT
      "LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/support/lsan.supp;UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1")
  endif()
endfunction()
