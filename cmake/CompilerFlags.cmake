# Flags shared by every target. Single precision must stay single precision
# and no multiply-add may be fused, so every build computes the same samples.
option(VT_WERROR "Treat compiler warnings as errors" ON)

add_library(vt_flags INTERFACE)
target_compile_features(vt_flags INTERFACE cxx_std_20)
target_compile_options(vt_flags INTERFACE -Wall -Wextra -ffp-contract=off -fno-fast-math)
if(VT_WERROR)
  target_compile_options(vt_flags INTERFACE -Werror)
endif()

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  # x87 would keep intermediates in extended precision; hosts may also call us
  # with a 4-byte aligned stack, which SSE spills cannot tolerate.
  target_compile_options(vt_flags INTERFACE -msse2 -mfpmath=sse -mstackrealign)
endif()

if(WIN32)
  # The DLLs and executables must need nothing beyond the system DLLs.
  target_link_options(vt_flags INTERFACE -static -static-libgcc -static-libstdc++)
endif()

# Sanitizer builds: "address" (with undefined-behaviour checks) or "thread".
set(VT_SANITIZE "" CACHE STRING "Sanitizer to build with: address or thread")
if(VT_SANITIZE STREQUAL "address")
  set(vt_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
elseif(VT_SANITIZE STREQUAL "thread")
  set(vt_sanitize_flags -fsanitize=thread -fno-omit-frame-pointer)
elseif(NOT VT_SANITIZE STREQUAL "")
  message(FATAL_ERROR "VT_SANITIZE must be address, thread or empty")
endif()
if(vt_sanitize_flags)
  target_compile_options(vt_flags INTERFACE ${vt_sanitize_flags})
  target_link_options(vt_flags INTERFACE ${vt_sanitize_flags})
endif()

set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
