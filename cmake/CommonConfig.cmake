# Settings every target of the project shares: language level, warnings and
# the Qt defines that keep string handling explicit.
add_library(rivav_common INTERFACE)
target_compile_features(rivav_common INTERFACE cxx_std_20)
target_compile_options(rivav_common INTERFACE
  -Wall -Wextra -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual -Wformat=2 -Wshadow)
target_compile_definitions(rivav_common INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_CAST_TO_ASCII
  QT_NO_CONTEXTLESS_CONNECT
  QT_NO_KEYWORDS
  QT_NO_FOREACH)

if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()
