# Build strictness: the warning set for every target, and for product code also the
# Qt defines that forbid implicit text conversions (tests may write plain literals).
add_library(stolvar_warnings INTERFACE)
target_compile_options(stolvar_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
  -Wunused -Woverloaded-virtual -Wformat=2)
add_library(stolvar_strict INTERFACE)
target_link_libraries(stolvar_strict INTERFACE stolvar_warnings)
target_compile_definitions(stolvar_strict INTERFACE
  QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_CONTEXTLESS_CONNECT
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT QT_NO_URL_CAST_FROM_STRING)
if(STOLVAR_WERROR)
  target_compile_options(stolvar_warnings INTERFACE -Werror)
endif()

if(STOLVAR_ASAN AND STOLVAR_TSAN)
  message(FATAL_ERROR "ASan and TSan cannot be combined; use two build folders")
endif()
if(STOLVAR_ASAN)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(STOLVAR_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
