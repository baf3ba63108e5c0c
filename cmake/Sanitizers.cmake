# Sanitized builds for the hardening runs (scripts/test-sanitizers.sh, presets asan and tsan):
#   address  AddressSanitizer with LeakSanitizer, UndefinedBehaviorSanitizer (float-to-integer
#            overflow too) and the standard library's own bounds checks; any report ends the process.
#   thread   ThreadSanitizer.
# Only the project's own code is instrumented; the system's libraries run as they are.
set(GLIMMERSET_SANITIZE "" CACHE STRING "Sanitizers to build with: address, thread, or empty for none")
set_property(CACHE GLIMMERSET_SANITIZE PROPERTY STRINGS "" address thread)

if(GLIMMERSET_SANITIZE STREQUAL "address")
  set(glimmerset_sanitize_flags -fsanitize=address,undefined,float-cast-overflow -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined,float-cast-overflow)
  add_compile_definitions(_GLIBCXX_ASSERTIONS)
  # Every program keeps what it loads at run time (see keep_libraries_loaded.c). The object goes into
  # each program itself, so that its dlclose comes before the sanitizer runtime's.
  add_library(glimmerset_keep_libraries_loaded OBJECT ${PROJECT_SOURCE_DIR}/tools/sanitizers/keep_libraries_loaded.c)
  link_libraries(glimmerset_keep_libraries_loaded)
elseif(GLIMMERSET_SANITIZE STREQUAL "thread")
  set(glimmerset_sanitize_flags -fsanitize=thread -fno-omit-frame-pointer)
  # The audio layer's sequence lock orders atomic accesses with fences, which ThreadSanitizer does
  # not model. It then sees less ordering than there is, never more, so the warning saying so is off.
  add_compile_options(-Wno-tsan)
elseif(NOT GLIMMERSET_SANITIZE STREQUAL "")
  message(FATAL_ERROR "GLIMMERSET_SANITIZE is \"${GLIMMERSET_SANITIZE}\": use address, thread or nothing")
endif()
add_compile_options(${glimmerset_sanitize_flags})
add_link_options(${glimmerset_sanitize_flags})
