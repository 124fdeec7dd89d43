# One interface target carries the warning and hardening flags; every target of the
# project links it, so a flag is changed in one place.
add_library(vaultbase_options INTERFACE)
target_compile_options(vaultbase_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align -Wformat=2
  -Wno-unused-parameter
  -fstack-protector-strong)
target_compile_definitions(vaultbase_options INTERFACE
  QT_NO_URL_CAST_FROM_STRING
  $<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
target_link_options(vaultbase_options INTERFACE -Wl,-z,relro,-z,now)

if(VAULTBASE_SANITIZE)
  target_compile_options(vaultbase_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(vaultbase_options INTERFACE -fsanitize=address,undefined)
endif()

if(VAULTBASE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VAULTBASE_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  target_compile_options(vaultbase_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(vaultbase_options INTERFACE -fsanitize=address,undefined)
endif()
