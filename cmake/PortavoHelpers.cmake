# portavo_glob_library(<target> [DIRS dir...] [LIBS lib...] [PRIVATE_LIBS lib...] [EXCLUDE regex...])
# A static library made of every .cpp/.h/.ui/.qrc file in the given folders. The folders are its
# public include directories; LIBS are the libraries its headers need (linked PUBLIC),
# PRIVATE_LIBS those only its sources need.
function(portavo_glob_library target)
  cmake_parse_arguments(A "" "" "DIRS;LIBS;PRIVATE_LIBS;EXCLUDE" ${ARGN})
  set(files)
  foreach(d IN LISTS A_DIRS)
    file(GLOB f CONFIGURE_DEPENDS ${d}/*.cpp ${d}/*.c ${d}/*.h ${d}/*.ui ${d}/*.qrc)
    list(APPEND files ${f})
  endforeach()
  foreach(x IN LISTS A_EXCLUDE)
    list(FILTER files EXCLUDE REGEX "${x}")
  endforeach()
  if(NOT files)
    # Keep the target valid while its folder is still empty.
    set(stub ${CMAKE_CURRENT_BINARY_DIR}/${target}_empty.cpp)
    file(WRITE ${stub} "namespace { [[maybe_unused]] int ${target}_empty = 0; }\n")
    list(APPEND files ${stub})
  endif()
  add_library(${target} STATIC ${files})
  target_include_directories(${target} PUBLIC ${A_DIRS})
  target_link_libraries(${target} PUBLIC ${A_LIBS} PRIVATE ${A_PRIVATE_LIBS})
endfunction()

# portavo_add_test(<name> SOURCES src... [LIBS lib...] [TIMEOUT s] [LABELS l...])
# One Qt Test executable, registered with CTest and run offscreen.
function(portavo_add_test name)
  cmake_parse_arguments(A "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${A_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  # Every test is labelled with its folder, so a run can pick areas (ctest -L data).
  get_filename_component(area ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  list(APPEND A_LABELS ${area})
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${A_TIMEOUT}
    LABELS "${A_LABELS}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0")
endfunction()
