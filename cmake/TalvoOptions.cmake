# Compiler flags shared by every Talvo target.
add_library(talvo_flags INTERFACE)
target_compile_options(talvo_flags INTERFACE -Wall -Wextra -Wpedantic)
if(TALVO_WERROR)
  target_compile_options(talvo_flags INTERFACE -Werror)
endif()

if(WIN32)
  # Only the system libraries each target names: CMake's default list brings
  # libuuid, whose one object holds every GUID of the SDK (40 KB).
  set(CMAKE_C_STANDARD_LIBRARIES "-lkernel32" CACHE STRING "" FORCE)
  set(CMAKE_CXX_STANDARD_LIBRARIES "-lkernel32" CACHE STRING "" FORCE)
  target_compile_definitions(talvo_flags INTERFACE
    UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0A00 WINVER=0x0A00)
  # Static, stripped, dead code removed: the launcher ships as one small file.
  target_compile_options(talvo_flags INTERFACE -ffunction-sections -fdata-sections)
  target_link_options(talvo_flags INTERFACE -static -static-libgcc -static-libstdc++
    -Wl,--gc-sections $<$<CONFIG:Release,MinSizeRel>:-s>)
endif()

# Sanitizer and coverage flags for the fuzzing build of the core.
set(TALVO_SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer -g)
