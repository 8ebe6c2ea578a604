# add_unit_test(NAME name SOURCES files... LIBS libs... [GUI] [XVFB])
# One QtTest executable per unit, registered with CTest. GUI tests run on the
# offscreen platform; the browser engine may not use its sandbox as root.
# XVFB tests (GUI ones too) run on an X11 display of their own, through xvfb-run.
# A test that links neither the GUI library nor asks for GUI gets the label
# "core" and is built by the target rivav_core_tests; the others get "gui".
if(NOT TARGET rivav_core_tests)
  add_custom_target(rivav_core_tests)
endif()

function(add_unit_test)
  cmake_parse_arguments(T "GUI;XVFB" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE Qt6::Test ${T_LIBS})
  target_include_directories(${T_NAME} PRIVATE "${CMAKE_CURRENT_SOURCE_DIR}")
  if(T_XVFB)
    find_program(XVFB_RUN xvfb-run)
    if(NOT XVFB_RUN)
      message(WARNING "xvfb-run not found (scripts/deps installs it): ${T_NAME} will skip")
    endif()
    set(T_GUI ON)
  endif()
  if(T_XVFB AND XVFB_RUN)
    add_test(NAME ${T_NAME} COMMAND ${XVFB_RUN} -a -s "-screen 0 1024x768x24 -nolisten tcp" $<TARGET_FILE:${T_NAME}>)
    set(env "QT_QPA_PLATFORM=xcb")
  else()
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set(env "QT_QPA_PLATFORM=offscreen")
  endif()
  if(T_GUI)
    list(APPEND env "QTWEBENGINE_CHROMIUM_FLAGS=--no-sandbox --disable-gpu"
                    "QTWEBENGINE_DISABLE_SANDBOX=1")
  endif()
  if(RIVAV_SANITIZE OR RIVAV_FUZZ)
    set(sanitizer_env ${RIVAV_SANITIZER_ENV})
    if(T_GUI)
      # Chromium inside the browser engine frees some objects through a base
      # type of another size. ASan cannot suppress that report by library, so
      # these tests alone skip this one check.
      list(TRANSFORM sanitizer_env REPLACE "^ASAN_OPTIONS=(.*)" "ASAN_OPTIONS=\\1:new_delete_type_mismatch=0")
    endif()
    list(APPEND env ${sanitizer_env})
  endif()
  if(T_GUI OR "rivav_app" IN_LIST T_LIBS)
    set(label gui)
  else()
    set(label core)
    add_dependencies(rivav_core_tests ${T_NAME})
  endif()
  set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300 LABELS ${label})
endfunction()
