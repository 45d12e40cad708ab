# Compiler settings shared by every target of the project.
function(quantix_target_defaults target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -pedantic -Wnon-virtual-dtor -Woverloaded-virtual -Werror=return-type)
  target_compile_definitions(${target} PRIVATE QT_NO_CONTEXTLESS_CONNECT QT_USE_QSTRINGBUILDER)
  if(QUANTIX_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
      -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# One QtTest executable registered with CTest: offscreen platform, its own
# settings folder (never the user's profile) and a timeout so that a
# forgotten modal box fails the test instead of hanging it.
function(quantix_add_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  quantix_target_defaults(${name})
  find_package(Qt6 REQUIRED COMPONENTS Test)
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  set(home ${CMAKE_BINARY_DIR}/test-home/${name})
  file(MAKE_DIRECTORY ${home}/config ${home}/runtime)
  file(CHMOD ${home}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${home}/config;XDG_RUNTIME_DIR=${home}/runtime;LC_ALL=C.UTF-8;LANG=C.UTF-8")
endfunction()
