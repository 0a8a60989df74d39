# wms_warnings: the warnings and Qt defines every target of this repository
# compiles with, linked PRIVATE (never part of an installed interface). Under
# CI (the environment variable CI set) warnings are errors.
add_library(wms_warnings INTERFACE)
target_compile_options(wms_warnings INTERFACE
  -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual)
if(DEFINED ENV{CI} OR WMS_WARNINGS_AS_ERRORS)
  target_compile_options(wms_warnings INTERFACE -Werror)
endif()
target_compile_definitions(wms_warnings INTERFACE
  QT_NO_KEYWORDS QT_NO_CAST_TO_ASCII QT_USE_QSTRINGBUILDER)
